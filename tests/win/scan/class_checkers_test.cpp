#include "scan/class_checkers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scan/issue_text.h"
#include "support/registry_sandbox.h"
#include "support/scan_recorder.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

namespace {

constexpr std::uint32_t kKey = 0xFFFFFFFFu;
constexpr const char* kClasses = "Software\\Classes";
constexpr const char* kGuid = "{0A1B2C3D-1111-2222-3333-444455556666}";
constexpr const char* kOtherGuid = "{99999999-8888-7777-6666-555544443333}";

std::string ComText(const std::string& file) { return "Missing COM object file: " + file; }
std::string AssocText(const std::string& command) {
  return "File association with a missing program: " + command;
}

class ClassCheckers : public CheckerHarness {
 protected:
  // As the COM area walks one CLSID tree.
  int WalkClasses(RootKey root, const std::string& key, const TypeFilter& filter = {REG_SZ}) {
    return WalkKey(root, key, 1, CheckComServerValue, &context, ReportKeyAndCheckCancel, &context,
                   filter, {"Wow6432Node"});
  }

  // As the start-menu area enumerates the machine's classes.
  void EnumerateMachineClasses() {
    EnumSubkeys(kLocalMachine, kClasses, CheckFileAssociation, &context, 0, 0xFFFFFFFF, 0);
  }

  // An extension (or program identifier) with its open command.
  void SetCommand(const std::string& key, const std::string& command, DWORD type = REG_SZ) {
    SetString(kLocalMachine, std::string(kClasses) + "\\" + key + "\\Shell\\Open\\Command", "",
              command, type);
  }
  void SetIdentifier(const std::string& extension, const std::string& identifier) {
    SetString(kLocalMachine, std::string(kClasses) + "\\" + extension, "", identifier);
  }
  static std::string ClassesKey(const std::string& name) {
    return std::string(kClasses) + "\\" + name;
  }

  // The issues of the context, after checking that each one was announced.
  std::vector<std::string> Found() {
    ExpectAnnounced();
    return SortedIssueTexts(context.issues);
  }
};

TEST_F(ClassCheckers, ReportsTheClassKeyOncePerBrokenSubkey) {
  const std::string clsid = std::string("CLSID\\") + kGuid;
  SetString(kClassesRoot, clsid + "\\InprocServer32", "", folder / "Gone\\x.dll");
  SetString(kClassesRoot, clsid + "\\InprocServer32", "ThreadingModel", "Apartment");
  SetString(kClassesRoot, clsid + "\\LocalServer32", "",
            "\"" + folder / "Gone\\srv.exe" + "\" /automation");
  SetString(kClassesRoot, clsid + "\\DefaultIcon", "", folder / "Gone\\icon.ico");
  SetString(kClassesRoot, clsid + "\\ToolboxBitmap32", "", folder / "Gone\\x.dll,1");

  EXPECT_EQ(WalkClasses(kClassesRoot, "CLSID"), 1);

  EXPECT_EQ(Found(), Sorted({
                         ExpectedIssueText(kClassesRoot, clsid, "", "", ComText("x.dll"), kKey),
                         ExpectedIssueText(kClassesRoot, clsid, "", "", ComText("srv.exe"), kKey),
                         ExpectedIssueText(kClassesRoot, clsid, "", "", ComText("icon.ico"), kKey),
                     }));
}

TEST_F(ClassCheckers, LeavesHealthyAndUnrelatedClassValuesAlone) {
  const std::string here = folder.WriteFile("Here\\server.dll");
  const std::string gone = folder / "Gone\\x.dll";
  const std::string clsid = std::string("CLSID\\") + kGuid;
  const std::string other = std::string("CLSID\\") + kOtherGuid;
  SetString(kClassesRoot, clsid + "\\InprocServer32", "", here);
  SetString(kClassesRoot, clsid + "\\InprocServer32", "CodeBase", gone);  // named value
  SetString(kClassesRoot, clsid + "\\LocalServer32", "", "\"" + here + "\" -Embedding");
  SetString(kClassesRoot, clsid + "\\InprocHandler32", "", "ole32.dll");
  SetString(kClassesRoot, clsid + "\\DefaultIcon", "", gone + ",-101");
  SetString(kClassesRoot, clsid, "", gone);  // the class key's own default
  SetString(kClassesRoot, "CLSID", "", gone);
  SetString(kClassesRoot, clsid + "\\Sub\\Deeper", "", gone);  // parent is not a class key
  SetString(kClassesRoot, "CLSID\\NotAnIdentifier\\InprocServer32", "", gone);
  SetString(kClassesRoot, "CLSID\\{no-dashes}\\InprocServer32", "", gone);
  SetString(kClassesRoot, other + "\\InprocServer32", "", "C:\\Windows\\System32\\gone.dll");
  SetString(kClassesRoot, other + "\\LocalServer32", "", "E:\\Gone\\srv.exe");
  SetString(kClassesRoot, other + "\\InprocServer", "", "%SystemRoot%\\gone.dll");
  SetString(kClassesRoot, other + "\\InprocServer32", "Expanded", gone, REG_EXPAND_SZ);
  SetString(kClassesRoot, other + "\\LocalServer", "", gone, REG_EXPAND_SZ);
  SetString(kClassesRoot, other + "\\TreatAs", "", folder / "%APPDIR%\\x.dll");

  EXPECT_EQ(WalkClasses(kClassesRoot, "CLSID", {}), 1);
  EXPECT_EQ(Found(), std::vector<std::string>{});
}

TEST_F(ClassCheckers, ExaminesEachRootOfAClassSeparately) {
  const std::string gone = folder / "Gone\\x.dll";
  SetString(kClassesRoot, std::string("CLSID\\") + kGuid + "\\InprocServer32", "", gone);
  SetString(kLocalMachine, std::string("Software\\Classes\\CLSID\\") + kGuid + "\\InprocServer32",
            "", gone);
  // A lower-case identifier counts as well; the file name keeps its case.
  SetString(kLocalMachine, "Software\\Classes\\CLSID\\{a-b-c-d-e}\\LocalServer32", "",
            folder / "Gone\\Srv.EXE");

  EXPECT_EQ(WalkClasses(kClassesRoot, "CLSID"), 1);
  EXPECT_EQ(WalkClasses(kLocalMachine, "Software\\Classes\\CLSID"), 1);

  EXPECT_EQ(Found(),
            Sorted({
                ExpectedIssueText(kClassesRoot, std::string("CLSID\\") + kGuid, "", "",
                              ComText("x.dll"), kKey),
                ExpectedIssueText(kLocalMachine, std::string("Software\\Classes\\CLSID\\") + kGuid, "",
                              "", ComText("x.dll"), kKey),
                ExpectedIssueText(kLocalMachine, "Software\\Classes\\CLSID\\{a-b-c-d-e}", "", "",
                              ComText("Srv.EXE"), kKey),
            }));
}

TEST_F(ClassCheckers, ComCheckerReadsDataOnlyUpToItsLength) {
  const std::string gone = folder / "Gone\\x.dll";
  const std::string bytes = gone + "\\more.dll";
  const std::string key = std::string("CLSID\\") + kGuid + "\\InprocServer32";
  EXPECT_EQ(CheckComServerValue(kClassesRoot, key, "", 0, REG_SZ,
                                reinterpret_cast<const unsigned char*>(bytes.data()),
                                std::uint32_t(gone.size()), &context),
            1);
  EXPECT_EQ(Found(),
            std::vector<std::string>{ExpectedIssueText(kClassesRoot, std::string("CLSID\\") + kGuid, "",
                                                   "", ComText("x.dll"), kKey)});
}

TEST_F(ClassCheckers, ComCheckerFinishesTheValueInHandWhenCancelled) {
  const std::string gone = folder / "Gone\\x.dll";
  const std::string key = std::string("CLSID\\") + kGuid + "\\InprocServer32";
  const auto* data = reinterpret_cast<const unsigned char*>(gone.c_str());
  const auto length = std::uint32_t(gone.size() + 1);
  volatile LONG stop = 1;
  context.cancelFlag = &stop;

  EXPECT_EQ(CheckComServerValue(kClassesRoot, key, "", 0, REG_SZ, data, length, &context), 0);
  EXPECT_EQ(context.issues.size(), 1u);
  EXPECT_EQ(CheckComServerValue(kClassesRoot, key, "Named", 5, REG_SZ, data, length, &context), 0);
  stop = 0;
  EXPECT_EQ(CheckComServerValue(kClassesRoot, key, "Named", 5, REG_SZ, data, length, &context), 1);
  EXPECT_EQ(recorder.issues.size(), 1u);
}

TEST_F(ClassCheckers, ReportsExtensionAndProgramKeysOfAMissingProgram) {
  const std::string command = "\"" + folder / "Gone\\abc.exe" + "\" \"%1\"";
  SetIdentifier(".abc", "abcfile");
  SetCommand("abcfile", command);
  // No identifier key: the extension stands for its own program.
  SetIdentifier(".def", "deffile");
  SetCommand(".def", folder / "Gone\\def.exe %1");
  // The identifier names the extension itself in another case: one key.
  SetIdentifier(".ghi", ".GHI");
  SetCommand(".ghi", folder / "Gone\\ghi.exe /dde");
  // Two extensions of one program: the program key comes twice.
  SetIdentifier(".htm", "htmlfile");
  SetIdentifier(".html", "htmlfile");
  SetCommand("htmlfile", folder / "Gone\\browser.exe");

  EnumerateMachineClasses();

  const auto issue = [](const std::string& key, const std::string& text) {
    return ExpectedIssueText(kLocalMachine, ClassesKey(key), "", "", AssocText(text), kKey);
  };
  EXPECT_EQ(Found(), Sorted({
                         issue(".abc", command),
                         issue("abcfile", command),
                         issue(".def", folder / "Gone\\def.exe %1"),
                         issue(".ghi", folder / "Gone\\ghi.exe /dde"),
                         issue(".htm", folder / "Gone\\browser.exe"),
                         issue(".html", folder / "Gone\\browser.exe"),
                         issue("htmlfile", folder / "Gone\\browser.exe"),
                         issue("htmlfile", folder / "Gone\\browser.exe"),
                     }));
  // Every subkey is shown, unthrottled, program identifiers included.
  EXPECT_EQ(Sorted(recorder.currentKeys),
            Sorted({ClassesKey(".abc"), ClassesKey(".def"), ClassesKey(".ghi"), ClassesKey(".htm"),
                    ClassesKey(".html"), ClassesKey("abcfile"), ClassesKey("htmlfile")}));
  for (WPARAM wParam : recorder.wParams) EXPECT_EQ(wParam, 0u);
}

TEST_F(ClassCheckers, LeavesWorkingAndUnjudgeableAssociationsAlone) {
  const std::string here = folder.WriteFile("Here\\app.exe");
  const std::string gone = folder / "Gone\\app.exe";
  SetIdentifier(".ok", "okfile");
  SetCommand("okfile", "\"" + here + "\" \"%1\"");
  SetCommand(".bare", here + " %1");
  SetCommand(".sys", "%SystemRoot%\\system32\\NOTEPAD.EXE %1", REG_EXPAND_SZ);
  SetCommand(".s32", "C:\\Windows\\System32\\gone.exe \"%1\"");
  SetCommand(".cd", "E:\\Gone\\player.exe \"%1\"");
  SetCommand(".opt", gone + " -open \"%1\"");
  SetCommand(".env", folder / "%APPDIR%\\app.exe \"%1\"", REG_EXPAND_SZ);
  SetCommand(".dll", "rundll32.exe " + gone + ",Open %1");
  SetIdentifier(".empty", "");  // no command below it either
  CreateKey(kLocalMachine, ClassesKey(".nothing"));
  // The identifier key exists but has no open command: nothing, even though
  // the extension's own command is broken.
  SetIdentifier(".verb", "verbfile");
  SetString(kLocalMachine, ClassesKey("verbfile\\Shell\\Edit\\Command"), "", gone);
  SetCommand(".verb", gone);
  // Without a default value the command key has nothing to judge.
  SetString(kLocalMachine, ClassesKey(".novalue\\Shell\\Open\\Command"), "Named", gone);
  // Not extensions: only shown.
  SetCommand("lonefile", gone);
  SetCommand("CLSID", gone);

  EnumerateMachineClasses();

  EXPECT_EQ(Found(), std::vector<std::string>{});
  EXPECT_EQ(recorder.currentKeys.size(), 16u);
}

TEST_F(ClassCheckers, IdentifierIsOneKeyNameBesideTheExtension) {
  const std::string gone = folder / "Gone\\app.exe";
  // A command right below the classes key and one in a nested key.
  SetString(kLocalMachine, ClassesKey("Shell\\Open\\Command"), "", gone);
  SetCommand("Vendor\\progfile", gone);
  SetIdentifier(".root", "\\");
  SetIdentifier(".up", "Vendor\\progfile");
  SetIdentifier(".trail", "Vendor\\");
  SetCommand("Vendor", gone);

  EnumerateMachineClasses();

  EXPECT_EQ(Found(), std::vector<std::string>{});
}

TEST_F(ClassCheckers, CommandIsReadUpToFiveHundredBytes) {
  // 499 characters and the terminator fit; one more does not.
  const std::string program = folder / "Gone\\app.exe";
  const std::string fits = program + " /" + std::string(499 - program.size() - 2, 'x');
  ASSERT_EQ(fits.size(), 499u);
  SetCommand(".fits", fits);
  SetCommand(".long", fits + "y");
  // A command stored without its terminator ends at its length.
  const std::string raw = program;
  SetValue(kLocalMachine, ClassesKey(".raw\\Shell\\Open\\Command"), "", REG_SZ, raw.data(),
           DWORD(raw.size()));

  EnumerateMachineClasses();

  EXPECT_EQ(Found(),
            Sorted({
                ExpectedIssueText(kLocalMachine, ClassesKey(".fits"), "", "", AssocText(fits), kKey),
                ExpectedIssueText(kLocalMachine, ClassesKey(".raw"), "", "", AssocText(program), kKey),
            }));
}

TEST_F(ClassCheckers, EnumeratesAnyClassesKeyIncludingARoot) {
  const std::string gone = folder / "Gone\\app.exe";
  SetString(kClassesRoot, ".xyz", "", "xyzfile");
  SetString(kClassesRoot, "xyzfile\\Shell\\Open\\Command", "", gone);

  EnumSubkeys(kClassesRoot, "", CheckFileAssociation, &context, 0, 0xFFFFFFFF, 0);

  EXPECT_EQ(Found(), Sorted({
                         ExpectedIssueText(kClassesRoot, ".xyz", "", "", AssocText(gone), kKey),
                         ExpectedIssueText(kClassesRoot, "xyzfile", "", "", AssocText(gone), kKey),
                     }));
  EXPECT_EQ(Sorted(recorder.currentKeys), Sorted({".xyz", "xyzfile"}));
}

TEST_F(ClassCheckers, AssociationCheckerStopsAfterTheKeyInHandWhenCancelled) {
  const std::string gone = folder / "Gone\\app.exe";
  SetCommand(".a", gone);
  SetCommand(".b", gone);
  SetCommand(".c", gone);
  volatile LONG stop = 1;
  context.cancelFlag = &stop;

  EnumerateMachineClasses();

  ASSERT_EQ(recorder.currentKeys.size(), 1u);
  EXPECT_EQ(Found(), std::vector<std::string>{ExpectedIssueText(kLocalMachine, recorder.currentKeys[0],
                                                            "", "", AssocText(gone), kKey)});
}

}  // namespace
