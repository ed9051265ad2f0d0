#include "repair/issue_fixer.h"

#include <gtest/gtest.h>

#include "foundation/file_checks.h"
#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "repair/cannot_remove_list.h"
#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

namespace {

ScanIssue ValueIssue(const std::string& key, const std::string& name) {
  ScanIssue issue;
  issue.root = kCurrentUser;
  issue.key = key;
  issue.valueName = name;
  issue.type = REG_SZ;
  return issue;
}

ScanIssue KeyIssue(const std::string& key) {
  ScanIssue issue;
  issue.root = kCurrentUser;
  issue.key = key;
  issue.type = kWholeKeyType;
  return issue;
}

std::vector<std::string> PartialBackups(const std::string& programFolder) {
  std::vector<std::string> files;
  SearchFiles(programFolder + "\\PartialBackup", {{"*", ""}},
              [](const std::string& path, const std::string&, WIN32_FIND_DATAA, void* data) {
                static_cast<std::vector<std::string>*>(data)->push_back(path);
                return 1;
              },
              &files, {});
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

class IssueFixer : public ::testing::Test {
 protected:
  RegistrySandbox sandbox;
  ScratchFolder folder;
  std::string program = folder.path();

  void SetUp() override {
    UseRepositoryLanguage();
    SetSettingsPaths(folder / "Settings.ini", folder / "Settings.xml");
    SetString(kCurrentUser, "Software\\Demo", "Name", "C:\\Demo\\demo.exe");
    SetString(kCurrentUser, "Software\\Demo", "Kept", "keep me");
    SetString(kCurrentUser, "Software\\Demo", "", "default");
    SetDword(kCurrentUser, "Software\\Dead\\Sub", "Count", 42);
    CreateKey(kCurrentUser, "Software\\Dead\\Empty");
  }
  void TearDown() override {
    SetCannotRemoveList({});
    SetSettingsPaths("", "");
  }

  std::string CannotRemoveFile() const { return ReadWholeFile(CannotRemoveListPath(program)); }
};

TEST_F(IssueFixer, BacksUpEverythingThenDeletes) {
  const FixResult result =
      FixIssues({ValueIssue("Software\\Demo", "Name"), KeyIssue("Software\\Dead")}, program);
  EXPECT_FALSE(result.backupFailed);
  EXPECT_EQ(result.deleted, 2u);
  EXPECT_EQ(result.notDeleted, 0u);
  EXPECT_FALSE(ValueExists(kCurrentUser, "Software\\Demo", "Name"));
  EXPECT_TRUE(ValueExists(kCurrentUser, "Software\\Demo", "Kept"));
  EXPECT_FALSE(KeyExists(kCurrentUser, "Software\\Dead"));

  const std::vector<std::string> backups = PartialBackups(program);
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0], result.backupPath);
  const std::string content = ReadWholeFile(backups[0]);
  EXPECT_EQ(content.rfind("REGEDIT4\r\n", 0), 0u) << content;
  EXPECT_NE(content.find("\"Name\"=\"C:\\\\Demo\\\\demo.exe\""), std::string::npos) << content;
  EXPECT_NE(content.find("[HKEY_CURRENT_USER\\Software\\Dead\\Sub]\r\n\"Count\"=dword:0000002a"),
            std::string::npos)
      << content;
  EXPECT_NE(content.find("[HKEY_CURRENT_USER\\Software\\Dead\\Empty]"), std::string::npos);
  EXPECT_EQ(content.find("Kept"), std::string::npos);
  EXPECT_TRUE(CannotRemoveFile().empty());
}

TEST_F(IssueFixer, WithoutBackupNothingIsWrittenButIssuesAreDeleted) {
  WriteSettingInt(kKeyBackupWhenClean, 0);
  const FixResult result = FixIssues({KeyIssue("Software\\Dead")}, program);
  EXPECT_EQ(result.deleted, 1u);
  EXPECT_TRUE(result.backupPath.empty());
  EXPECT_FALSE(FolderExists(program + "\\PartialBackup"));
  EXPECT_FALSE(KeyExists(kCurrentUser, "Software\\Dead"));
}

TEST_F(IssueFixer, FailedDeletionsAreRecordedAndLeftOutOfLaterScans) {
  const FixResult result = FixIssues({ValueIssue("Software\\Demo", "Missing"),
                                      KeyIssue("Software\\Gone"), ValueIssue("Software\\Demo", ""),
                                      ValueIssue("Software\\Gone", "")},
                                     program);
  EXPECT_EQ(result.deleted, 1u);  // the default value
  EXPECT_EQ(result.notDeleted, 3u);
  EXPECT_FALSE(ValueExists(kCurrentUser, "Software\\Demo", ""));
  EXPECT_EQ(CannotRemoveFile(),
            "HKEY_CURRENT_USER\\Software\\Demo\\Missing\r\n"
            "HKEY_CURRENT_USER\\Software\\Gone\r\n"
            "HKEY_CURRENT_USER\\Software\\Gone\\\r\n");

  LoadCannotRemoveList(program);
  EXPECT_TRUE(IsKnownUnremovable(ValueIssue("software\\demo", "MISSING")));
  EXPECT_TRUE(IsKnownUnremovable(KeyIssue("Software\\Gone")));
  EXPECT_FALSE(IsKnownUnremovable(ValueIssue("Software\\Demo", "Kept")));
}

TEST_F(IssueFixer, AnEntryAnEarlierDeletionRemovedIsNotRecorded) {
  // The key reported whole first, then a value inside it, then the key again.
  const FixResult result = FixIssues({KeyIssue("Software\\Dead"),
                                      ValueIssue("Software\\Dead\\Sub", "Count"),
                                      KeyIssue("Software\\Dead")},
                                     program);
  EXPECT_EQ(result.deleted, 3u);
  EXPECT_EQ(result.notDeleted, 0u);
  EXPECT_FALSE(KeyExists(kCurrentUser, "Software\\Dead"));
  EXPECT_TRUE(CannotRemoveFile().empty());
}

TEST_F(IssueFixer, CannotRemoveLinesAreTrimmedAndEmptyLinesIgnored) {
  folder.WriteFile("tmp_rccantremove.lst",
                   "  HKEY_CURRENT_USER\\Software\\A  \r\n\r\n   \r\nHKEY_CURRENT_USER\\Software\\B\r\r\n"
                   "HKEY_CURRENT_USER\\Software\\A\r\n");
  LoadCannotRemoveList(program);
  EXPECT_EQ(CannotRemoveList(),
            (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\A",
                                      "HKEY_CURRENT_USER\\Software\\B",
                                      "HKEY_CURRENT_USER\\Software\\A"}));
  DeleteFileForced(CannotRemoveListPath(program));
  LoadCannotRemoveList(program);
  EXPECT_TRUE(CannotRemoveList().empty());
}

TEST_F(IssueFixer, ABackupThatCannotBeWrittenDeletesNothing) {
  // A file where the backup folder should be: the backup cannot be created.
  folder.WriteFile("PartialBackup", "in the way");
  const FixResult result =
      FixIssues({ValueIssue("Software\\Demo", "Name"), KeyIssue("Software\\Dead")}, program);
  EXPECT_TRUE(result.backupFailed);
  EXPECT_EQ(result.deleted, 0u);
  EXPECT_TRUE(ValueExists(kCurrentUser, "Software\\Demo", "Name"));
  EXPECT_TRUE(KeyExists(kCurrentUser, "Software\\Dead\\Sub"));
  EXPECT_TRUE(CannotRemoveFile().empty());
}

TEST_F(IssueFixer, SecondFixInTheSameSecondKeepsTheFirstBackup) {
  FixIssues({ValueIssue("Software\\Demo", "Name")}, program);
  FixIssues({ValueIssue("Software\\Demo", "Kept")}, program);
  const std::vector<std::string> backups = PartialBackups(program);
  ASSERT_GE(backups.size(), 2u);
  std::string all;
  for (const std::string& file : backups) all += ReadWholeFile(file);
  EXPECT_NE(all.find("\"Name\"="), std::string::npos);
  EXPECT_NE(all.find("\"Kept\"="), std::string::npos);
}

TEST_F(IssueFixer, EntriesTheBackupCannotGiveBackExactlyAreNotDeleted) {
  // A value name outside the ANSI code page would come back as '?'.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wide", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t data[] = L"C:\\gone.exe";
  RegSetValueExW(key, L"\x0416\x0443\x043a", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                 sizeof data);
  RegCloseKey(key);

  const FixResult result = FixIssues({KeyIssue("Software\\Wide")}, program);
  EXPECT_EQ(result.deleted, 0u);
  EXPECT_EQ(result.notDeleted, 1u);
  EXPECT_TRUE(KeyExists(kCurrentUser, "Software\\Wide"));
  EXPECT_EQ(CannotRemoveFile(), "HKEY_CURRENT_USER\\Software\\Wide\r\n");
}

TEST_F(IssueFixer, EntriesTheBackupCannotGiveBackExactlyStayOutOfTheBackup) {
  // Restoring the backup must not overwrite the entry that stayed with '?'.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wide", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t data[] = L"C:\\\x0416.exe";
  RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
  RegCloseKey(key);

  const FixResult result =
      FixIssues({ValueIssue("Software\\Wide", "Path"), ValueIssue("Software\\Demo", "Name")},
                program);
  EXPECT_EQ(result.deleted, 1u);
  EXPECT_TRUE(ValueExists(kCurrentUser, "Software\\Wide", "Path"));
  const std::vector<std::string> backups = PartialBackups(program);
  ASSERT_EQ(backups.size(), 1u);
  const std::string backup = ReadWholeFile(backups[0]);
  EXPECT_NE(backup.find("\"Name\"="), std::string::npos);
  EXPECT_EQ(backup.find("Wide"), std::string::npos);
  EXPECT_EQ(CannotRemoveFile(), "HKEY_CURRENT_USER\\Software\\Wide\\Path\r\n");
}

TEST_F(IssueFixer, AWholeKeyIssueWithoutAKeyNeverDeletesTheRoot) {
  WriteSettingInt(kKeyBackupWhenClean, 0);
  const FixResult result = FixIssues({KeyIssue("")}, program);
  EXPECT_EQ(result.deleted, 0u);
  EXPECT_TRUE(KeyExists(kCurrentUser, "Software\\Demo"));
}
