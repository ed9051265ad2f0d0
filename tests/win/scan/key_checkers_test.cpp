#include "scan/key_checkers.h"

#include <map>
#include <string>
#include <vector>

#include "foundation/file_checks.h"
#include "scan/registry_walker.h"
#include "support/checker_harness.h"

namespace {

const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kMenuOrder[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder";
const std::string kStartMenu = std::string(kMenuOrder) + "\\Start Menu\\Programs";
const std::string kStartMenu2 = std::string(kMenuOrder) + "\\Start Menu2\\Programs";

// As the scan drives them: direct subkeys only.
void Enumerate(RootKey root, const std::string& key, KeyVisitor checker, void* context) {
  EnumSubkeys(root, key, checker, context, 0, 0xFFFFFFFFu, 0);
}

std::string Entry(const std::string& name) { return std::string(kUninstall) + "\\" + name; }

ScanIssue UninstallIssue(const std::string& name) {
  return ExpectedIssue(kLocalMachine, Entry(name), "", "", "Invalid uninstall entry: " + name,
                       kWholeKeyType);
}

}  // namespace

class UninstallEntryChecker : public CheckerHarness {
 protected:
  void Scan() { Enumerate(kLocalMachine, kUninstall, CheckUninstallEntry, &context); }
};

TEST_F(UninstallEntryChecker, ReportsEntriesWithoutValuesOrWithAGoneUninstaller) {
  const std::string uninstaller = folder.WriteFile("App\\uninst.exe");
  const std::string gone = folder / "Gone\\uninst.exe";
  const std::string longText = "\"" + gone + "\" /S" + std::string(500, ' ');

  CreateKey(kLocalMachine, Entry("A Empty"));
  SetString(kLocalMachine, Entry("B Gone Quoted"), "UninstallString", "\"" + gone + "\" /S");
  SetString(kLocalMachine, Entry("C Gone Plain"), "UninstallString", gone);
  SetString(kLocalMachine, Entry("D Present"), "UninstallString", "\"" + uninstaller + "\" /S");
  SetString(kLocalMachine, Entry("E Folder"), "UninstallString", folder / "App");
  SetString(kLocalMachine, Entry("F Msi"), "UninstallString", "MsiExec.exe /X{12345678-1234}");
  SetString(kLocalMachine, Entry("G Dash"), "UninstallString", gone + " -silent");
  SetString(kLocalMachine, Entry("H CdRom"), "UninstallString", "E:\\setup.exe");
  SetString(kLocalMachine, Entry("I System"), "UninstallString", "C:\\WINDOWS\\system32\\gone.exe");
  SetString(kLocalMachine, Entry("J Expand"), "UninstallString", "%ProgramFiles%\\Gone\\u.exe",
            REG_EXPAND_SZ);
  SetString(kLocalMachine, Entry("K NameOnly"), "DisplayName", "Some App");
  SetString(kLocalMachine, Entry("L DefaultOnly"), "", gone);
  SetString(kLocalMachine, Entry("M TooLong"), "UninstallString", longText);
  // Text stored without its terminator still ends at its own length.
  SetValue(kLocalMachine, Entry("N Unterminated"), "UninstallString", REG_SZ, gone.data(),
           static_cast<DWORD>(gone.size()));
  SetString(kLocalMachine, Entry("O Gone Expand"), "UninstallString", gone, REG_EXPAND_SZ);
  ASSERT_TRUE(FileExists(uninstaller));
  ASSERT_FALSE(PathExists(gone));

  Scan();

  EXPECT_EQ(DescribeIssues(context.issues),
            DescribeIssues({UninstallIssue("A Empty"), UninstallIssue("B Gone Quoted"),
                            UninstallIssue("C Gone Plain"), UninstallIssue("N Unterminated"),
                            UninstallIssue("O Gone Expand")}));
  ExpectAnnounced();
  // Every entry is shown as it is judged, reported or not.
  ASSERT_EQ(recorder.currentKeys.size(), 15u);
  EXPECT_EQ(recorder.currentKeys.front(), Entry("A Empty"));
  EXPECT_EQ(recorder.currentKeys.back(), Entry("O Gone Expand"));
}

TEST_F(UninstallEntryChecker, StopsAfterTheEntryInHandWhenCancelled) {
  CreateKey(kLocalMachine, Entry("One"));
  CreateKey(kLocalMachine, Entry("Two"));
  cancel = 1;
  Scan();
  EXPECT_EQ(DescribeIssues(context.issues), DescribeIssues({UninstallIssue("One")}));
  EXPECT_EQ(recorder.currentKeys, std::vector<std::string>{Entry("One")});
}

TEST_F(UninstallEntryChecker, WorksWithoutWindowsAndHonoursTheCannotRemoveList) {
  CreateKey(kLocalMachine, Entry("Stuck"));
  CreateKey(kLocalMachine, Entry("Other"));
  SetCannotRemoveList({"HKEY_LOCAL_MACHINE\\" + Entry("STUCK")});
  ScanContext unattended;
  Enumerate(kLocalMachine, kUninstall, CheckUninstallEntry, &unattended);
  EXPECT_EQ(DescribeIssues(unattended.issues), DescribeIssues({UninstallIssue("Other")}));
  EXPECT_TRUE(recorder.currentKeys.empty());
}

class StartMenuOrderChecker : public CheckerHarness {
 protected:
  void Scan(const std::map<std::string, std::string>* folders) {
    StartMenuContext menu{&context, folders};
    Enumerate(kCurrentUser, kStartMenu, CheckStartMenuOrder, &menu);
    Enumerate(kCurrentUser, kStartMenu2, CheckStartMenuOrder, &menu);
  }
};

TEST_F(StartMenuOrderChecker, ReportsEntriesNamedAfterNoProgramFolder) {
  // The map as the scan builds it: the user's folders, then the common ones.
  folder.MakeFolder("User\\Accessories");
  folder.WriteFile("User\\Old Tools.lnk");
  folder.MakeFolder("Common\\Games");
  std::map<std::string, std::string> folders;
  ListSubfolders(folder / "User", folders, true, 0);
  ListSubfolders(folder / "Common", folders, false, 0);
  ASSERT_EQ(folders.size(), 2u);

  for (const std::string& key : {kStartMenu, kStartMenu2}) {
    CreateKey(kCurrentUser, key + "\\accessories");
    CreateKey(kCurrentUser, key + "\\GAMES");
    CreateKey(kCurrentUser, key + "\\Game");
    CreateKey(kCurrentUser, key + "\\Old Tools");
  }
  SetString(kCurrentUser, kStartMenu, "Order", "x");

  Scan(&folders);

  std::vector<ScanIssue> expected;
  for (const std::string& key : {kStartMenu, kStartMenu2})
    for (const char* name : {"Game", "Old Tools"})
      expected.push_back(ExpectedIssue(
          kCurrentUser, key + "\\" + name, "", "",
          std::string("Start menu order entry for a missing folder: ") + name, kWholeKeyType));
  EXPECT_EQ(DescribeIssues(context.issues), DescribeIssues(expected));
  ExpectAnnounced();
  EXPECT_EQ(recorder.currentKeys.size(), 8u);
  EXPECT_EQ(recorder.currentKeys.front(), kStartMenu + "\\accessories");
}

TEST_F(StartMenuOrderChecker, IgnoresLetterCaseBeyondAscii) {
  const std::map<std::string, std::string> folders = {{"Zubeh\xF6r", "C:\\x\\Zubeh\xF6r"}};
  CreateKey(kCurrentUser, kStartMenu + "\\ZUBEH\xD6R");
  Scan(&folders);
  EXPECT_TRUE(context.issues.empty()) << DescribeIssue(context.issues.front());
}

TEST_F(StartMenuOrderChecker, JudgesNothingWithoutAFolderList) {
  CreateKey(kCurrentUser, kStartMenu + "\\Accessories");
  CreateKey(kCurrentUser, kStartMenu2 + "\\Games");
  const std::map<std::string, std::string> none;
  Scan(&none);
  Scan(nullptr);
  EXPECT_TRUE(context.issues.empty());
  EXPECT_EQ(recorder.currentKeys.size(), 4u);
}

class EmptySoftwareKeyChecker : public CheckerHarness {
 protected:
  void Scan() {
    Enumerate(kCurrentUser, "Software", CheckEmptySoftwareKey, &context);
    Enumerate(kLocalMachine, "Software", CheckEmptySoftwareKey, &context);
  }
};

TEST_F(EmptySoftwareKeyChecker, ReportsKeysWithNeitherValuesNorSubkeys) {
  CreateKey(kCurrentUser, "Software\\Vendor\\App");  // the empty App is not examined
  CreateKey(kCurrentUser, "Software\\Empty");
  SetString(kCurrentUser, "Software\\Named", "Version", "1");
  SetString(kCurrentUser, "Software\\DefaultOnly", "", "");
  SetValue(kCurrentUser, "Software\\NoData", "Flag", REG_BINARY, nullptr, 0);
  CreateKey(kLocalMachine, "Software\\Empty");
  CreateKey(kLocalMachine, "Software\\Full\\Sub");

  Scan();

  EXPECT_EQ(DescribeIssues(context.issues),
            DescribeIssues({ExpectedIssue(kCurrentUser, "Software\\Empty", "", "",
                                          "Empty software key: Empty", kWholeKeyType),
                            ExpectedIssue(kLocalMachine, "Software\\Empty", "", "",
                                          "Empty software key: Empty", kWholeKeyType)}));
  ExpectAnnounced();
  EXPECT_EQ(recorder.currentKeys,
            (std::vector<std::string>{"Software\\DefaultOnly", "Software\\Empty", "Software\\Named",
                                      "Software\\NoData", "Software\\Vendor", "Software\\Empty",
                                      "Software\\Full"}));
}
