// Every checker as the scan drives it, on the sandboxed registry and real
// files on C: (a scratch folder) and the CD-ROM drive E:.
#include <algorithm>
#include <cctype>
#include <map>

#include "foundation/file_checks.h"
#include "scan/class_checkers.h"
#include "scan/key_checkers.h"
#include "scan/software_path_checker.h"
#include "scan/value_checkers.h"
#include "support/checker_harness.h"

namespace {

using Texts = std::vector<std::string>;
constexpr std::uint32_t kKey = kWholeKeyType;
const std::string kCv = "Software\\Microsoft\\Windows\\CurrentVersion";
const std::string kClasses = "Software\\Classes";

std::string Issue(RootKey root, const std::string& key, const std::string& value,
                  const std::string& data, const std::string& description, std::uint32_t type) {
  return DescribeIssue(ExpectedIssue(root, key, value, data, description, type));
}

Texts Sorted(Texts texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

std::string Narrow(const WCHAR* text) {
  char buffer[512] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

class Checkers : public CheckerHarness {
 protected:
  const std::string here = folder.WriteFile("Here\\app.exe");
  const std::string gone = folder / "Gone\\app.exe";

  void Walk(RootKey root, const std::string& key, ValueVisitor checker,
            const TypeFilter& filter = {REG_SZ}, int recurse = 1) {
    EXPECT_EQ(WalkKey(root, key, recurse, checker, &context, ReportKeyAndCheckCancel, &context,
                      filter, {"Wow6432Node"}),
              1);
  }
  void Enumerate(RootKey root, const std::string& key, KeyVisitor checker, void* data = nullptr) {
    EnumSubkeys(root, key, checker, data != nullptr ? data : &context, 0, 0xFFFFFFFFu, 0);
  }
  // The issues found, each of them announced; sorted where the registry's order decides.
  Texts Found(bool sorted = false) {
    ExpectAnnounced();
    return sorted ? Sorted(DescribeIssues(context.issues)) : DescribeIssues(context.issues);
  }
};

TEST_F(Checkers, SoftwarePathReportsTheMissingPathOfTheNameElseOfTheData) {
  const std::string app = "Software\\App", old = folder / "Old\\tool.exe";
  const std::string quoted = "\"" + gone + "\" /run", data = folder / "Gone\\data.exe";
  const std::string longTail = gone + " /" + std::string(700, 'x');
  SetString(kCurrentUser, app, "", quoted);
  SetString(kCurrentUser, app, old, data);   // both gone: the name is reported
  SetString(kCurrentUser, app, here, data);  // the name exists: the data is judged
  SetString(kCurrentUser, app, "Long", longTail);
  SetString(kCurrentUser, app + "\\Deeper", "Folder", folder / "GoneFolder\\");
  // Left alone: other types, even when the walk hands them over...
  const std::string z = gone + std::string(2, '\0');
  for (DWORD type : {REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY, REG_NONE})
    SetValue(kCurrentUser, "Software\\Typed", gone + std::to_string(type), type, z.data(),
             DWORD(z.size()));
  SetDword(kCurrentUser, "Software\\Typed", gone, 1);
  // ...and text (as data or as name) naming nothing local that is gone.
  const std::string dir = folder.MakeFolder("Program Files\\My App");
  const Texts healthy = {"",
                         "some text",
                         here,
                         "\"" + here + "\" \"%1\"",
                         dir,
                         dir + "\\",
                         "C:\\Windows\\System32\\gone-for-good.dll",
                         "E:\\Gone\\setup.exe",
                         "Q:\\Gone\\setup.exe",
                         gone + ",-101",
                         gone + " -silent",
                         "rundll32.exe " + gone,
                         "\\\\server\\share\\gone.exe",
                         "Gone\\rel.exe",
                         "%ProgramFiles%\\Gone\\app.exe",
                         folder / "%USERNAME%\\Gone\\app.exe"};  // its reader may expand it
  for (std::size_t i = 0; i < healthy.size(); ++i) {
    SetString(kCurrentUser, "Software\\Healthy", "data" + std::to_string(i), healthy[i]);
    SetString(kCurrentUser, "Software\\Names", healthy[i], "plain");
  }
  const std::string twoTexts = here + std::string(1, '\0') + gone;  // text ends at its first zero
  SetValue(kCurrentUser, "Software\\Healthy", "Two", REG_SZ, twoTexts.data(),
           DWORD(twoTexts.size()));

  Walk(kCurrentUser, "Software", CheckSoftwareValue, {});

  const auto missing = [&](const std::string& key, const std::string& name, const std::string& text,
                           const std::string& path) {
    return Issue(kCurrentUser, key, name, text, "Missing file or folder: " + path, REG_SZ);
  };
  EXPECT_EQ(Found(true),
            Sorted({missing(app, "", quoted, gone), missing(app, old, data, old),
                    missing(app, here, data, data), missing(app, "Long", longTail, gone),
                    missing(app + "\\Deeper", "Folder", folder / "GoneFolder\\",
                            folder / "GoneFolder\\")}));
}

TEST_F(Checkers, ComReportsTheClassKeyOfAMissingServerOrIcon) {
  const std::string cls = "CLSID\\{0A1B2C3D-1111-2222-3333-444455556666}";
  const std::string other = "CLSID\\{99999999-8888-7777-6666-555544443333}";
  const std::string lower = kClasses + "\\CLSID\\{a-b-c-d-e}";
  SetString(kClassesRoot, cls + "\\InprocServer32", "", folder / "Gone\\x.dll");
  SetString(kClassesRoot, cls + "\\InprocServer32", "ThreadingModel", "Apartment");
  SetString(kClassesRoot, cls + "\\LocalServer32", "",
            "\"" + folder / "Gone\\srv.exe\" /automation");
  SetString(kClassesRoot, cls + "\\DefaultIcon", "", folder / "Gone\\icon.ico");
  SetString(kLocalMachine, lower + "\\LocalServer32", "", folder / "Gone\\Srv.EXE");
  // Left alone: healthy files, values that name no server, keys that are no class's.
  SetString(kClassesRoot, other + "\\InprocServer32", "", here);
  SetString(kClassesRoot, other + "\\InprocServer32", "CodeBase", gone);
  SetString(kClassesRoot, other, "", gone);
  SetString(kClassesRoot, "CLSID", "", gone);
  SetString(kClassesRoot, other + "\\Sub\\Deeper", "", gone);
  SetString(kClassesRoot, "CLSID\\NotAnIdentifier\\InprocServer32", "", gone);
  SetString(kClassesRoot, "CLSID\\{no-dashes}\\InprocServer32", "", gone);
  SetString(kClassesRoot, other + "\\DefaultIcon", "", gone + ",-101");
  SetString(kClassesRoot, other + "\\InprocHandler32", "", "ole32.dll");
  SetString(kClassesRoot, other + "\\LocalServer32", "", "E:\\Gone\\srv.exe");
  SetString(kClassesRoot, other + "\\TreatAs", "", folder / "%APPDIR%\\x.dll");
  SetString(kClassesRoot, other + "\\LocalServer", "", gone, REG_EXPAND_SZ);

  Walk(kClassesRoot, "CLSID", CheckComServerValue, {});
  Walk(kLocalMachine, kClasses + "\\CLSID", CheckComServerValue, {});

  const auto com = [](RootKey root, const std::string& key, const std::string& file) {
    return Issue(root, key, "", "", "Missing COM object file: " + file, kKey);
  };
  EXPECT_EQ(Found(true),
            Sorted({com(kClassesRoot, cls, "x.dll"), com(kClassesRoot, cls, "srv.exe"),
                    com(kClassesRoot, cls, "icon.ico"), com(kLocalMachine, lower, "Srv.EXE")}));
}

TEST_F(Checkers, FileAssociationReportsTheExtensionAndProgramOfAMissingCommand) {
  const auto key = [](const std::string& name) { return kClasses + "\\" + name; };
  const auto command = [&](const std::string& name, const std::string& text, DWORD type = REG_SZ) {
    SetString(kLocalMachine, key(name) + "\\Shell\\Open\\Command", "", text, type);
  };
  const auto identifier = [&](const std::string& extension, const std::string& name) {
    SetString(kLocalMachine, key(extension), "", name);
  };
  const std::string quoted = "\"" + gone + "\" \"%1\"", plain = gone + " %1";
  const std::string fits = gone + " /" + std::string(497 - gone.size(), 'x');  // 499 + terminator
  identifier(".abc", "abcfile"), command("abcfile", quoted);
  identifier(".def", "deffile"), command(".def", plain);  // no such key: its own command
  identifier(".ghi", ".GHI"), command(".ghi", gone);      // itself: one key
  identifier(".htm", "htmlfile"), identifier(".html", "htmlfile"), command("htmlfile", gone);
  command(".fits", fits);
  SetValue(kLocalMachine, key(".raw\\Shell\\Open\\Command"), "", REG_SZ, gone.data(),
           DWORD(gone.size()));
  // Left alone: working, unjudgeable and too long commands, no open command, no extension.
  command(".long", fits + "y");
  identifier(".ok", "okfile"), command("okfile", "\"" + here + "\" \"%1\"");
  command(".sys", "%SystemRoot%\\system32\\NOTEPAD.EXE %1", REG_EXPAND_SZ);
  command(".cd", "E:\\Gone\\player.exe \"%1\"");
  command(".env", folder / "%APPDIR%\\app.exe \"%1\"", REG_EXPAND_SZ);
  command(".dll", "rundll32.exe " + gone + ",Open %1");
  identifier(".empty", "");
  identifier(".verb", "verbfile"), command(".verb", gone);
  SetString(kLocalMachine, key("verbfile\\Shell\\Edit\\Command"), "", gone);
  SetString(kLocalMachine, key(".novalue\\Shell\\Open\\Command"), "Named", gone);
  command("lonefile", gone);
  // An identifier is one key name: with a backslash it would lead to other keys.
  SetString(kLocalMachine, key("Shell\\Open\\Command"), "", gone);
  command("Vendor", gone), command("Vendor\\progfile", gone);
  identifier(".root", "\\"), identifier(".up", "Vendor\\progfile"),
      identifier(".trail", "Vendor\\");

  Enumerate(kLocalMachine, kClasses, CheckFileAssociation);

  const auto assoc = [&](const std::string& name, const std::string& text) {
    return Issue(kLocalMachine, key(name), "", "",
                 "File association with a missing program: " + text, kKey);
  };
  EXPECT_EQ(Found(true),
            Sorted({assoc(".abc", quoted), assoc("abcfile", quoted), assoc(".def", plain),
                    assoc(".ghi", gone), assoc(".htm", gone), assoc(".html", gone),
                    assoc("htmlfile", gone), assoc("htmlfile", gone), assoc(".fits", fits),
                    assoc(".raw", gone)}));
  EXPECT_EQ(recorder.currentKeys.size(), 26u);  // every subkey is shown as it is judged
}

TEST_F(Checkers, UninstallReportsEntriesWithoutValuesOrWithAMissingUninstaller) {
  const std::string list = kCv + "\\Uninstall";
  const auto entry = [&](const std::string& name, const std::string& text, DWORD type = REG_SZ) {
    SetString(kLocalMachine, list + "\\" + name, "UninstallString", text, type);
  };
  CreateKey(kLocalMachine, list + "\\A Empty");
  entry("B Quoted", "\"" + gone + "\" /S");
  entry("C Expand", gone, REG_EXPAND_SZ);
  SetValue(kLocalMachine, list + "\\D Bare", "UninstallString", REG_SZ, gone.data(),
           DWORD(gone.size()));
  entry("E Present", "\"" + here + "\" /S");
  entry("F Folder", folder.path());
  entry("G Msi", "MsiExec.exe /X{12345678-1234}");
  entry("H CdRom", "E:\\setup.exe");
  entry("I Percent", folder / "%APPDIR%\\u.exe", REG_EXPAND_SZ);
  entry("J TooLong", "\"" + gone + "\" /S" + std::string(500, ' '));
  SetString(kLocalMachine, list + "\\K NameOnly", "DisplayName", "Some App");
  SetString(kLocalMachine, list + "\\L DefaultOnly", "", gone);

  Enumerate(kLocalMachine, list, CheckUninstallEntry);

  Texts expected;
  for (const std::string name : {"A Empty", "B Quoted", "C Expand", "D Bare"})
    expected.push_back(
        Issue(kLocalMachine, list + "\\" + name, "", "", "Invalid uninstall entry: " + name, kKey));
  EXPECT_EQ(Found(), expected);
  EXPECT_EQ(recorder.currentKeys.size(), 12u);
}

TEST_F(Checkers, StartMenuOrderReportsEntriesNamedAfterNoProgramFolder) {
  folder.MakeFolder("User\\Accessories");
  folder.WriteFile("User\\Old Tools.lnk");
  folder.MakeFolder("Common\\Zubeh\xF6r");
  std::map<std::string, std::string> folders, none;
  ListSubfolders(folder / "User", folders, true, 0);
  ListSubfolders(folder / "Common", folders, false, 0);
  const std::string menu = kCv + "\\Explorer\\MenuOrder\\Start Menu\\Programs";
  for (const char* name : {"accessories", "ZUBEH\xD6R", "Access", "Old Tools"})
    CreateKey(kCurrentUser, menu + "\\" + name);
  SetString(kCurrentUser, menu, "Order", "x");

  // Without a folder list no entry can be judged.
  for (const auto* map : {&none, static_cast<decltype(&none)>(nullptr), &folders}) {
    StartMenuContext start{&context, map};
    Enumerate(kCurrentUser, menu, CheckStartMenuOrder, &start);
  }

  Texts expected;
  for (const std::string name : {"Access", "Old Tools"})
    expected.push_back(Issue(kCurrentUser, menu + "\\" + name, "", "",
                             "Start menu order entry for a missing folder: " + name, kKey));
  EXPECT_EQ(Found(true), Sorted(expected));
  EXPECT_EQ(recorder.currentKeys.size(), 12u);
}

TEST_F(Checkers, EmptySoftwareKeyReportsKeysWithNeitherValuesNorSubkeys) {
  CreateKey(kCurrentUser, "Software\\Vendor\\App");  // not a direct subkey
  CreateKey(kCurrentUser, "Software\\Empty");
  SetString(kCurrentUser, "Software\\DefaultOnly", "", "");
  SetValue(kCurrentUser, "Software\\NoData", "Flag", REG_BINARY, nullptr, 0);
  CreateKey(kLocalMachine, "Software\\Empty");
  Enumerate(kCurrentUser, "Software", CheckEmptySoftwareKey);
  Enumerate(kLocalMachine, "Software", CheckEmptySoftwareKey);
  EXPECT_EQ(
      Found(),
      (Texts{Issue(kCurrentUser, "Software\\Empty", "", "", "Empty software key: Empty", kKey),
             Issue(kLocalMachine, "Software\\Empty", "", "", "Empty software key: Empty", kKey)}));
  EXPECT_EQ(recorder.currentKeys.size(), 5u);
}

TEST_F(Checkers, HistoryReportsEveryValueByItsFormattedData) {
  const std::string mru = kCv + "\\Explorer\\RunMRU",
                    urls = "Software\\Microsoft\\Internet Explorer\\TypedUrls";
  const unsigned char pidl[] = {0x14, 0x00, 0x1f, 0x50};
  SetString(kCurrentUser, mru, "a", "notepad\\1");
  SetValue(kCurrentUser, mru + "\\txt", "0", REG_BINARY, pidl, sizeof pidl);
  SetDword(kCurrentUser, mru + "\\txt", "Count", 2);
  SetString(kCurrentUser, urls, "url1", "http://example.invalid/%s%d");
  Walk(kCurrentUser, mru, CheckHistoryValue, {});
  Walk(kCurrentUser, urls, CheckHistoryValue);
  const auto entry = [](const std::string& key, const char* name, const std::string& text,
                        DWORD type) {
    return Issue(kCurrentUser, key, name, text, "History list entry: " + text, type);
  };
  EXPECT_EQ(Found(), (Texts{entry(mru, "a", "notepad\\1", REG_SZ),
                            entry(mru + "\\txt", "0", "14 00 1f 50", REG_BINARY),
                            entry(mru + "\\txt", "Count", "0x00000002 (2)", REG_DWORD),
                            entry(urls, "url1", "http://example.invalid/%s%d", REG_SZ)}));
}

TEST_F(Checkers, SharedDllStartupAndLocaleReportOnlyWhatIsGoneOrEmpty) {
  const std::string dlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
  const std::string run = kCv + "\\Run", locale = "System\\CurrentControlSet\\Control\\Nls\\Locale";
  const std::string text = folder / "Gone\\text.dll", quoted = "\"" + gone + "\" /min";
  const std::string trailing = gone + std::string(1, '\0') + "junk";
  SetDword(kLocalMachine, dlls, gone, 1);
  SetString(kLocalMachine, dlls, text, "2");  // whatever the counter's type
  SetString(kLocalMachine, run, "Quoted", quoted);
  SetValue(kLocalMachine, run, "Trailing", REG_SZ, trailing.data(), DWORD(trailing.size()));
  for (const std::string& kept : {here, folder.path(), std::string("E:\\gone.exe"),
                                  folder / "%APPDIR%\\x.exe", gone + ",1"}) {
    SetDword(kLocalMachine, dlls, kept, 1);
    SetString(kLocalMachine, run, "Kept " + kept, kept);
  }
  SetString(kLocalMachine, locale, "00000409", "1");
  SetString(kLocalMachine, locale, "00000c1a", "");
  SetValue(kLocalMachine, locale, "00000c1b", REG_SZ, "", 0);
  SetString(kLocalMachine, locale, "00000c1c", std::string(1, '\0') + "1");

  Walk(kLocalMachine, dlls, CheckSharedDllValue, {}, 0);
  Walk(kLocalMachine, run, CheckStartupValue, {REG_SZ}, 0);
  Walk(kLocalMachine, locale, CheckLocaleValue, {REG_SZ}, 0);

  const auto empty = [&](const std::string& name) {
    return Issue(kLocalMachine, locale, name, "", "Locale entry without data: " + name, REG_SZ);
  };
  EXPECT_EQ(
      Found(),
      (Texts{
          Issue(kLocalMachine, dlls, gone, "0x00000001 (1)", "Missing shared DLL: " + gone,
                REG_DWORD),
          Issue(kLocalMachine, dlls, text, "2", "Missing shared DLL: " + text, REG_SZ),
          Issue(kLocalMachine, run, "Quoted", quoted, "Missing start-up program: " + gone, REG_SZ),
          Issue(kLocalMachine, run, "Trailing", gone, "Missing start-up program: " + gone, REG_SZ),
          empty("00000c1a"), empty("00000c1b"), empty("00000c1c")}));
}

TEST_F(Checkers, TimeZoneReportsEveryZoneButTheOneInEffect) {
  TIME_ZONE_INFORMATION info = {};
  DYNAMIC_TIME_ZONE_INFORMATION dynamic = {};
  ASSERT_NE(GetTimeZoneInformation(&info), TIME_ZONE_ID_INVALID);
  ASSERT_NE(GetDynamicTimeZoneInformation(&dynamic), TIME_ZONE_ID_INVALID);
  const std::string current = Narrow(info.StandardName), keyName = Narrow(dynamic.TimeZoneKeyName);
  ASSERT_FALSE(current.empty() || keyName.empty());
  std::string otherCase = current;
  for (char& c : otherCase)
    c = static_cast<char>(c ^ (isalpha(static_cast<unsigned char>(c)) ? 0x20 : 0));
  ASSERT_NE(otherCase, current);
  const std::string zones = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\";
  SetString(kLocalMachine, zones + "Test A Current", "Std", current);
  // Its "Std" follows the install's language, the current name the user's.
  SetString(kLocalMachine, zones + keyName, "Std", "Name In Another Language");
  SetString(kLocalMachine, zones + "Test B Other Case", "Std", otherCase);
  SetString(kLocalMachine, zones + "Test C Spaced", "Std", current + " ");
  SetString(kLocalMachine, zones + "Test D No Std", "Dlt", current);
  SetString(kLocalMachine, zones + "Test E Long", "Std", std::string(600, 'x'));
  SetString(kLocalMachine, zones + "Test F Lower", "std", "Lower Standard Time");
  SetValue(kLocalMachine, zones + "Test G Bare", "Std", REG_SZ, "Bare Time", 9);

  Enumerate(kLocalMachine, zones, CheckTimeZone);

  const auto zone = [&](const std::string& name, const std::string& std) {
    return Issue(kLocalMachine, zones + name, "", std, "Unused time zone: " + std, kKey);
  };
  EXPECT_EQ(
      Found(true),
      Sorted({zone("Test B Other Case", otherCase), zone("Test C Spaced", current + " "),
              zone("Test F Lower", "Lower Standard Time"), zone("Test G Bare", "Bare Time")}));
  EXPECT_EQ(recorder.currentKeys.size(), 8u);
}

TEST_F(Checkers, EachCheckerReadsDataUpToItsLengthAndStopsAfterTheEntryInHand) {
  cancel = 1;
  const std::string bytes = gone + "\\more.exe";  // no terminator after `gone`
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::string server = "CLSID\\{a-b-c-d-e}\\InprocServer32";
  for (ValueVisitor checker : {CheckSoftwareValue, CheckComServerValue, CheckHistoryValue,
                               CheckSharedDllValue, CheckStartupValue, CheckLocaleValue})
    EXPECT_EQ(checker(kClassesRoot, server, "", 0, REG_SZ, data, DWORD(gone.size()), &context), 0);
  CreateKey(kLocalMachine, "Software\\P\\.a");
  CreateKey(kLocalMachine, "Software\\P\\.b");
  const std::map<std::string, std::string> none;
  StartMenuContext menu{&context, &none};
  for (KeyVisitor checker : {CheckFileAssociation, CheckUninstallEntry, CheckStartMenuOrder,
                             CheckEmptySoftwareKey, CheckTimeZone})
    Enumerate(kLocalMachine, "Software\\P", checker,
              checker == CheckStartMenuOrder ? &menu : nullptr);

  EXPECT_EQ(recorder.currentKeys, Texts(5, "Software\\P\\.a"));
  EXPECT_EQ(
      Found(),
      (Texts{Issue(kClassesRoot, server, "", gone, "Missing file or folder: " + gone, REG_SZ),
             Issue(kClassesRoot, "CLSID\\{a-b-c-d-e}", "", "", "Missing COM object file: app.exe",
                   kKey),
             Issue(kClassesRoot, server, "", gone, "History list entry: " + gone, REG_SZ),
             Issue(kClassesRoot, server, "", gone, "Missing start-up program: " + gone, REG_SZ),
             Issue(kLocalMachine, "Software\\P\\.a", "", "", "Invalid uninstall entry: .a", kKey),
             Issue(kLocalMachine, "Software\\P\\.a", "", "", "Empty software key: .a", kKey)}));
}

}  // namespace
