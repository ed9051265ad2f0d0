// The fix against entries built to make it reach what it must not: registry links and loops,
// a value of type 0xFFFFFFFF, the containers themselves, a typo in the backup switch, and
// retention right after the fix.
#include <gtest/gtest.h>

#include "foundation/local_time.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "repair/backup_names.h"
#include "repair/backup_retention.h"
#include "scan/cannot_remove_list.h"
#include "repair/issue_fixer.h"
#include "repair_test_support.h"
#include "scan/registry_walker.h"
#include "scan/value_checkers.h"
#include "support/registry_sandbox.h"

using namespace kelvane;

namespace {

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

ScanIssue KeyIssue(RootKey root, const std::string& key) {
  return {root, key, "", "", "", kWholeKeyType, true};
}
ScanIssue ValueIssue(RootKey root, const std::string& key, const std::string& name) {
  return {root, key, name, "", "", REG_SZ, false};
}

class HostileFix : public ProgramFolderTest {
 protected:
  RegistrySandbox sandbox;
  std::string CannotRemoveFile() const { return ReadWholeFile(program / "tmp_rccantremove.lst"); }
};

}  // namespace

TEST_F(HostileFix, LinksAreNeverFollowedBackedUpOrDeleted) {
  SetString(kLocalMachine, "Software\\Healthy", "Keep", "1");
  SetString(kLocalMachine, "Software\\Healthy\\Inner", "Keep", "2");
  SetString(kLocalMachine, "Software\\Healthy2", "UninstallString", "C:\\Gone\\u.exe");
  // A dead entry holding a link to a healthy key; one holding a link to itself; a link as the
  // entry; a value read through that link.
  SetString(kLocalMachine, kUninstall + "\\Dead", "UninstallString", "C:\\Gone\\a.exe");
  CreateLink(kLocalMachine, kUninstall + "\\Dead\\Link",
             sandbox.KernelPath(kLocalMachine, "Software\\Healthy"));
  SetString(kLocalMachine, kUninstall + "\\Loop", "UninstallString", "C:\\Gone\\b.exe");
  CreateLink(kLocalMachine, kUninstall + "\\Loop\\Again",
             sandbox.KernelPath(kLocalMachine, kUninstall + "\\Loop"));
  CreateLink(kLocalMachine, kUninstall + "\\IsLink",
             sandbox.KernelPath(kLocalMachine, "Software\\Healthy2"));
  const std::vector<ScanIssue> issues = {
      KeyIssue(kLocalMachine, kUninstall + "\\Dead"),
      KeyIssue(kLocalMachine, kUninstall + "\\Loop"),
      KeyIssue(kLocalMachine, kUninstall + "\\IsLink"),
      ValueIssue(kLocalMachine, kUninstall + "\\IsLink", "UninstallString")};
  for (int backup : {1, 0}) {
    WriteSettingInt(kKeyBackupWhenClean, backup);
    const FixResult result = FixIssues(issues, program.path());
    EXPECT_EQ(result.deleted, 0u) << "backup " << backup;
    EXPECT_EQ(result.notDeleted, issues.size());
    EXPECT_TRUE(ValueExists(kLocalMachine, "Software\\Healthy\\Inner", "Keep"));
    EXPECT_TRUE(ValueExists(kLocalMachine, "Software\\Healthy2", "UninstallString"));
    for (const char* entry : {"\\Dead\\Link", "\\Loop\\Again", "\\IsLink"})
      EXPECT_TRUE(KeyExists(kLocalMachine, kUninstall + entry)) << entry;
    if (backup != 0) {
      EXPECT_EQ(ReadWholeFile(result.backupPath), "") << "nothing backed up";
    }
  }
  const std::string line = "HKEY_LOCAL_MACHINE\\" + kUninstall;
  EXPECT_EQ(CannotRemoveFile(), [&] {
    std::string once = line + "\\Dead\r\n" + line + "\\Loop\r\n" + line + "\\IsLink\r\n" + line +
                       "\\IsLink\\UninstallString\r\n";
    return once + once;
  }());
}

TEST_F(HostileFix, AValueOfTypeFFFFFFFFIsDeletedAloneAndBackedUpExactly) {
  const std::string dlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
  const unsigned char count[] = {1, 0, 0, 0};
  SetValue(kLocalMachine, dlls, "C:\\Gone\\typeless.dll", 0xFFFFFFFFu, count, sizeof count);
  SetDword(kLocalMachine, dlls, "C:\\Windows\\system32\\kernel32.dll", 3);
  ScanContext context;
  WalkKey(kLocalMachine, dlls, 0, CheckSharedDllValue, &context, nullptr, nullptr, {}, {});
  ASSERT_EQ(context.issues.size(), 1u);
  EXPECT_FALSE(context.issues[0].wholeKey) << "a value, whatever its type number";
  const FixResult result = FixIssues(context.issues, program.path());
  EXPECT_EQ(result.deleted, 1u);
  EXPECT_FALSE(ValueExists(kLocalMachine, dlls, "C:\\Gone\\typeless.dll"));
  EXPECT_TRUE(ValueExists(kLocalMachine, dlls, "C:\\Windows\\system32\\kernel32.dll"));
  EXPECT_EQ(ReadWholeFile(result.backupPath),
            "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\" + dlls +
                "]\r\n\"C:\\\\Gone\\\\typeless.dll\"=hex(ffffffff):01,00,00,00\r\n");
}

TEST_F(HostileFix, ContainersAndRootsAreNeverDeletedWhole) {
  SetString(kLocalMachine, kUninstall + "\\App", "UninstallString", "C:\\Gone\\u.exe");
  SetString(kClassesRoot, "CLSID\\{1-2-3-4-5}", "", "x");
  SetString(kUsers, "S-1-5-21-1\\Software\\Vendor", "v", "1");
  const std::vector<ScanIssue> issues = {
      KeyIssue(kLocalMachine, kUninstall), KeyIssue(kLocalMachine, "Software\\"),
      KeyIssue(kClassesRoot, "CLSID"), KeyIssue(kUsers, "S-1-5-21-1"), KeyIssue(kCurrentUser, "")};
  const FixResult result = FixIssues(issues, program.path());
  EXPECT_EQ(result.deleted, 0u);
  EXPECT_TRUE(KeyExists(kLocalMachine, kUninstall + "\\App"));
  EXPECT_TRUE(KeyExists(kClassesRoot, "CLSID\\{1-2-3-4-5}"));
  EXPECT_TRUE(KeyExists(kUsers, "S-1-5-21-1\\Software\\Vendor"));
  EXPECT_EQ(CannotRemoveFile(), "HKEY_LOCAL_MACHINE\\" + kUninstall +
                                    "\r\nHKEY_LOCAL_MACHINE\\Software\\\r\n"
                                    "HKEY_CLASSES_ROOT\\CLSID\r\nHKEY_USERS\\S-1-5-21-1\r\n"
                                    "HKEY_CURRENT_USER\\\r\n");
}

TEST_F(HostileFix, ATypoInTheBackupSwitchKeepsTheBackupAndRetentionSparesThisRunsBackups) {
  SetString(kCurrentUser, "Software\\Demo", "Dead", "C:\\Gone\\d.exe");
  WriteSetting(kKeyBackupWhenClean, "yes");
  WriteSetting(kKeyAutoDelBackupDays, "0");
  // An old backup of an earlier run goes; one this process wrote stays whatever its stamp.
  LocalDateTime old = NowLocal();
  old.year -= 1;
  const std::string earlier =
      program.WriteFile("PartialBackup\\" + PartialBackupName(old) + ".reg", "REGEDIT4\r\n");
  old.day = old.day == 1 ? 2 : 1;
  const std::string ownOld =
      program.WriteFile("PartialBackup\\" + PartialBackupName(old) + ".reg", "REGEDIT4\r\n");
  NoteBackupOfThisRun(ownOld);
  const FixResult result =
      FixIssues({ValueIssue(kCurrentUser, "Software\\Demo", "Dead")}, program.path());
  EXPECT_EQ(result.deleted, 1u);
  EXPECT_NE(ReadWholeFile(result.backupPath).find("\"Dead\"="), std::string::npos);
  PrunePartialBackups(program.path());
  EXPECT_TRUE(PathExists(result.backupPath)) << "0 days reads as 60: the new backup stays";
  EXPECT_TRUE(PathExists(ownOld));
  EXPECT_FALSE(PathExists(earlier));
}

TEST_F(HostileFix, ANameWithALineBreakIsOneLineOfTheCannotRemoveListAndMatchesAgain) {
  const ScanIssue issue = KeyIssue(kCurrentUser, "Software\\line\r\nbreak");
  RecordCannotRemove(program.path(), IssueFullPath(issue));
  RecordCannotRemove(program.path(), "HKEY_CURRENT_USER\\Software\\Next");
  EXPECT_EQ(CannotRemoveFile(),
            "HKEY_CURRENT_USER\\Software\\line\x1d\x1c"
            "break\r\nHKEY_CURRENT_USER\\Software\\Next\r\n");
  LoadCannotRemoveList(program.path());
  EXPECT_TRUE(IsKnownUnremovable(issue));
  EXPECT_TRUE(IsKnownUnremovable(KeyIssue(kCurrentUser, "Software\\Next")));
  SetCannotRemoveList({});
}
