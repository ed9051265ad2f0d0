// Entries built to mislead the scan: names the ANSI API misspells, registry links and loops,
// paths the ANSI file functions cannot see, working classes with a dead icon, uninstall
// entries that hold only subkeys, and the user's exclusions in the areas that enumerate.
#include <algorithm>

#include "foundation/ansi_text.h"
#include "foundation/com_ptr.h"
#include "foundation/scoped_handle.h"
#include "scan/class_checkers.h"
#include "scan/key_checkers.h"
#include "scan/scan_orchestrator.h"
#include "scan/software_path_checker.h"
#include "support/checker_harness.h"

using namespace kelvane;

namespace {

using Texts = std::vector<std::string>;
const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

void SetWide(RootKey root, const std::wstring& key, const std::wstring& name,
             const std::wstring& text) {
  EXPECT_EQ(RegSetKeyValueW(ToHkey(root), key.c_str(), name.c_str(), REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

// A file and its folders created through the wide API ("\\?\" form), as no ANSI call could.
bool CreateWideFile(const std::wstring& path) {
  for (std::size_t cut = path.find(L'\\', 7); cut != std::wstring::npos;
       cut = path.find(L'\\', cut + 1))
    CreateDirectoryW((L"\\\\?\\" + path.substr(0, cut)).c_str(), nullptr);
  const ScopedFileHandle file(CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.IsValid();
}

void RemoveWideTree(const std::wstring& file) {
  DeleteFileW((L"\\\\?\\" + file).c_str());
  for (std::wstring folder = file.substr(0, file.rfind(L'\\')); folder.size() > 3;
       folder = folder.substr(0, folder.rfind(L'\\')))
    RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
}

class HostileEntries : public CheckerHarness {
 protected:
  const std::string here = folder.WriteFile("Here\\app.exe");
  const std::string gone = folder / "Gone\\app.exe";

  void Walk(RootKey root, const std::string& key, ValueVisitor checker) {
    WalkKey(root, key, 1, checker, &context, ReportKeyAndCheckCancel, &context, {}, {});
  }
  void Enumerate(RootKey root, const std::string& key, KeyVisitor checker) {
    EnumSubkeys(root, key, checker, &context, 0, 0xFFFFFFFFu, 0);
  }
  Texts Found() const {
    Texts keys;
    for (const ScanIssue& issue : context.issues)
      keys.push_back(issue.key + (issue.wholeKey ? "" : "|" + issue.valueName));
    return keys;
  }
};

}  // namespace

TEST_F(HostileEntries, NamesTheCodePageCannotSpellAreNeverReportedOrWalkedUnderAnotherName) {
  const std::wstring uninstall = AnsiToWide(kUninstall);
  // Best fit spells U+FF3C as '\': the odd entry would pass for the healthy App\Components.
  SetWide(kLocalMachine,
          uninstall +
              L"\\App\xFF3C"
              L"Components",
          L"UninstallString", AnsiToWide(gone));
  SetString(kLocalMachine, kUninstall + "\\App\\Components", "UninstallString", here);
  // U+0100 becomes 'A': the dead value would be taken for the healthy "AAB".
  SetWide(kCurrentUser, L"Software\\Odd",
          L"\x0100"
          L"AB",
          AnsiToWide(gone));
  SetString(kCurrentUser, "Software\\Odd", "AAB", here);
  // Nothing below an odd key is reached under its misspelt name either.
  SetWide(kCurrentUser, L"Software\\Odd\\\x0100\\Sub", L"Dead", AnsiToWide(gone));
  // An existing file in a folder whose name the code page lacks: its path reads as "?".
  const std::wstring foreign = AnsiToWide(folder.path()) + L"\\\x0120ood\\app.exe";
  ASSERT_TRUE(CreateWideFile(foreign));
  SetWide(kCurrentUser, L"Software\\Odd", L"Foreign", foreign);
  Enumerate(kLocalMachine, kUninstall, CheckUninstallEntry);
  Walk(kCurrentUser, "Software", CheckSoftwareValue);
  EXPECT_EQ(Found(), Texts{}) << "every entry here is healthy or cannot be named";
  // A plainly named dead value beside them is still found.
  SetString(kCurrentUser, "Software\\Odd", "Dead", gone);
  Walk(kCurrentUser, "Software", CheckSoftwareValue);
  EXPECT_EQ(Found(), Texts{"Software\\Odd|Dead"});
  RemoveWideTree(foreign);
}

TEST_F(HostileEntries, WalksNeverFollowALinkNorGoRoundALoop) {
  SetString(kCurrentUser, "Software\\Target", "DeadInTarget", gone);
  CreateLink(kCurrentUser, "Software\\Vendor\\ToTarget",
             sandbox.KernelPath(kCurrentUser, "Software\\Target"));
  SetString(kCurrentUser, "Software\\Loop", "DeadInLoop", gone);
  CreateLink(kCurrentUser, "Software\\Loop\\Again",
             sandbox.KernelPath(kCurrentUser, "Software\\Loop"));
  Walk(kCurrentUser, "Software", CheckSoftwareValue);
  // Each dead value once, under its own path; the links themselves hold no value to report.
  EXPECT_EQ(Found(), (Texts{"Software\\Loop|DeadInLoop", "Software\\Target|DeadInTarget"}));
}

TEST_F(HostileEntries, PathsTooLongForTheAnsiFunctionsAreLookedUpThroughTheWideOnes) {
  std::string longFolder = folder.path();
  while (longFolder.size() < 300) longFolder += "\\a-rather-long-folder-name";
  const std::string present = longFolder + "\\app.exe";
  ASSERT_TRUE(CreateWideFile(AnsiToWide(present)));
  SetString(kCurrentUser, "Software\\Long", "Present", present);
  SetString(kCurrentUser, "Software\\Long", "Missing", longFolder + "\\gone.exe");
  SetString(kCurrentUser, "Software\\Long", "Dotted", longFolder + "\\..\\x\\gone.exe");
  Walk(kCurrentUser, "Software", CheckSoftwareValue);
  // A plain long path is judged either way; one the wide form would read differently is not.
  EXPECT_EQ(Found(), Texts{"Software\\Long|Missing"});
  RemoveWideTree(AnsiToWide(present));
}

TEST_F(HostileEntries, AClassWithAWorkingServerStaysWhateverElseItNames) {
  const std::string clsid = "Software\\Classes\\CLSID\\";
  SetString(kLocalMachine, clsid + "{1-1-1-1-1}\\InprocServer32", "", here);
  SetString(kLocalMachine, clsid + "{1-1-1-1-1}\\DefaultIcon", "", gone + ",0");
  SetString(kLocalMachine, clsid + "{2-2-2-2-2}\\LocalServer32", "", "server.exe /automation");
  SetString(kLocalMachine, clsid + "{2-2-2-2-2}\\DefaultIcon", "", gone);
  SetString(kLocalMachine, clsid + "{3-3-3-3-3}\\InprocServer32", "", gone);
  SetString(kLocalMachine, clsid + "{3-3-3-3-3}\\DefaultIcon", "", here);
  Walk(kLocalMachine, clsid, CheckComServerValue);
  EXPECT_EQ(Found(), Texts{clsid + "{3-3-3-3-3}"}) << "only the class whose server is gone";
}

TEST_F(HostileEntries, AnUninstallEntryIsEmptyOnlyWithNeitherValuesNorSubkeys) {
  SetString(kLocalMachine, kUninstall + "\\Suite\\Component", "UninstallString", here);
  CreateKey(kLocalMachine, kUninstall + "\\Empty");
  // A subkey name of the longest length allowed does not end the enumeration: the entry after
  // it is still judged (the long one itself is beyond what Wine's ANSI calls can open).
  CreateKey(kLocalMachine, kUninstall + "\\Zed");
  HKEY longest = nullptr;
  const std::wstring longestName = AnsiToWide(kUninstall + "\\" + std::string(255, 'L'));
  ASSERT_EQ(RegCreateKeyExW(ToHkey(kLocalMachine), longestName.c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &longest, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(longest);
  Enumerate(kLocalMachine, kUninstall, CheckUninstallEntry);
  Texts sorted = Found();
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (Texts{kUninstall + "\\Empty", kUninstall + "\\Zed"}));
}

TEST_F(HostileEntries, UserExclusionsKeepOutWhatEveryAreaFinds) {
  ComApartment com;
  context.configPath = folder.WriteFile(
      "Settings.xml",
      "<Config><Areas><Uninstall custom=\"1\"/><StartMenu custom=\"1\"/></Areas><Exclude>"
      "<custom><item value=\"HKEY_LOCAL_MACHINE\\Software\\KeepEmpty\"/>"
      "<item value=\"*\\uninstall\\keep*\"/><item value=\"kelvanetest.keep\"/></custom>"
      "</Exclude></Config>");
  CreateKey(kLocalMachine, "Software\\KeepEmpty");
  CreateKey(kLocalMachine, "Software\\DropEmpty");
  CreateKey(kLocalMachine, kUninstall + "\\KeepGone");
  CreateKey(kLocalMachine, kUninstall + "\\DropGone");
  SetString(kLocalMachine, "Software\\Classes\\.kvkeep", "", "KelvaneTest.Keep");
  SetString(kLocalMachine, "Software\\Classes\\KelvaneTest.Keep\\Shell\\Open\\Command", "", gone);
  RunScan(context);
  Texts sorted = Found();
  std::sort(sorted.begin(), sorted.end());
  // The extension is reported, its excluded program identifier is not.
  EXPECT_EQ(sorted, (Texts{"Software\\Classes\\.kvkeep", "Software\\DropEmpty",
                           kUninstall + "\\DropGone"}));
}
