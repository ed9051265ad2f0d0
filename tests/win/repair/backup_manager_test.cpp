#include "repair/backup_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "backup_test_fixture.h"
#include "foundation/file_checks.h"
#include "foundation/language_table.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/time_stamp.h"
#include "support/test_paths.h"

namespace {

std::vector<FullBackupRow> SortedFullList(const std::string& programFolder) {
  std::vector<FullBackupRow> rows = ListFullBackups(programFolder);
  std::sort(rows.begin(), rows.end(),
            [](const FullBackupRow& a, const FullBackupRow& b) { return a.folder < b.folder; });
  return rows;
}

std::vector<PartialBackupRow> SortedPartialList(const std::string& programFolder) {
  std::vector<PartialBackupRow> rows = ListPartialBackups(programFolder);
  std::sort(rows.begin(), rows.end(),
            [](const PartialBackupRow& a, const PartialBackupRow& b) { return a.path < b.path; });
  return rows;
}

// Points the language table at another file for one test.
class LanguageOverride {
 public:
  explicit LanguageOverride(const std::string& file) { Language().Open(file, file); }
  ~LanguageOverride() { UseRepositoryLanguage(); }
};

}  // namespace

TEST_F(BackupTest, FullBackupListShowsStampedFoldersWithTheirSize) {
  program.WriteFile("Backup\\2009-03-14-08-05-09\\allbak.reg", std::string(1536, 'x'));
  program.MakeFolder("Backup\\2010-11-02-23-04-05");  // no allbak.reg
  program.WriteFile("Backup\\2011-01-01-00-00-00\\allbak.reg", std::string(1023, 'x'));
  program.WriteFile("Backup\\2011-01-01-00-00-00\\other.reg", std::string(5000, 'x'));
  program.WriteFile("Backup\\old\\allbak.reg");
  program.WriteFile("Backup\\2009-13-14-08-05-09\\allbak.reg");
  program.WriteFile("Backup\\2012-01-01-00-00-00");  // a file, not a folder

  const std::vector<FullBackupRow> rows = SortedFullList(program.path());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].date, "2009-03-14");
  EXPECT_EQ(rows[0].time, "08:05:09");
  EXPECT_EQ(rows[0].size, "1.50KB");
  EXPECT_EQ(rows[0].folder, program / "Backup\\2009-03-14-08-05-09");
  EXPECT_EQ(rows[1].date, "2010-11-02");
  EXPECT_EQ(rows[1].time, "23:04:05");
  EXPECT_EQ(rows[1].size, "0B");
  EXPECT_EQ(rows[2].size, "1023B");  // only allbak.reg counts
  EXPECT_EQ(rows[2].folder, program / "Backup\\2011-01-01-00-00-00");

  EXPECT_TRUE(ListFullBackups(program / "nowhere").empty());
}

TEST_F(BackupTest, PartialBackupListFillsTheLanguageText) {
  UseRepositoryLanguage();
  program.WriteFile("PartialBackup\\2009-03-14_08-05-09.reg");
  program.WriteFile("PartialBackup\\2024-12-01_17-30-00.reg");
  program.WriteFile("PartialBackup\\notes.txt");
  program.WriteFile("PartialBackup\\2009-02-30_08-05-09.reg");
  program.MakeFolder("PartialBackup\\2009-03-15_08-05-09.reg");  // a folder

  const std::vector<PartialBackupRow> rows = SortedPartialList(program.path());
  ASSERT_EQ(rows.size(), 2u);
  // English.txt: "Backup of %02d/%02d/%04d %02d:%02d:%02d", month first.
  EXPECT_EQ(rows[0].text, "Backup of 03/14/2009 08:05:09");
  EXPECT_EQ(rows[0].path, program / "PartialBackup\\2009-03-14_08-05-09.reg");
  EXPECT_EQ(rows[1].text, "Backup of 12/01/2024 17:30:00");

  EXPECT_TRUE(ListPartialBackups(program / "nowhere").empty());
}

TEST_F(BackupTest, PartialBackupListSurvivesAnUnsafeLanguageText) {
  const std::string language = program.WriteFile(
      "Language\\Odd.txt", "[String]\r\nL0090=Sicherung %s vom %02d.%02d.%04d\r\n");
  LanguageOverride use(language);
  program.WriteFile("PartialBackup\\2009-03-14_08-05-09.reg");
  const std::vector<PartialBackupRow> rows = ListPartialBackups(program.path());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].text, "03/14/2009 08:05:09");
}

TEST_F(BackupTest, DeleteFullBackupRemovesTheStampedFolderOnly) {
  const std::string folder = program.MakeFolder("Backup\\2009-03-14-08-05-09");
  program.WriteFile("Backup\\2009-03-14-08-05-09\\allbak.reg");
  program.WriteFile("Backup\\2009-03-14-08-05-09\\deeper\\more.txt");
  const std::string sibling = program.WriteFile("Backup\\2009-03-15-08-05-09\\allbak.reg");
  const std::string foreign = program.WriteFile("Backup\\old\\allbak.reg");

  EXPECT_TRUE(DeleteFullBackup(folder));
  EXPECT_FALSE(PathExists(folder));
  EXPECT_TRUE(FileExists(sibling));
  EXPECT_FALSE(DeleteFullBackup(folder));  // already gone

  // Nothing but a stamped backup folder is ever deleted this way.
  EXPECT_FALSE(DeleteFullBackup(program / "Backup\\old"));
  EXPECT_FALSE(DeleteFullBackup(program / "Backup"));
  EXPECT_FALSE(DeleteFullBackup(program.path()));
  EXPECT_FALSE(DeleteFullBackup(""));
  EXPECT_TRUE(FileExists(foreign));
  EXPECT_TRUE(FileExists(sibling));

  // A trailing backslash names the same folder.
  EXPECT_TRUE(DeleteFullBackup(program / "Backup\\2009-03-15-08-05-09\\"));
  EXPECT_FALSE(PathExists(sibling));
}

TEST_F(BackupTest, DeletePartialBackupRemovesReadOnlyFiles) {
  const std::string file = program.WriteFile("PartialBackup\\2009-03-14_08-05-09.reg");
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(DeletePartialBackup(file));
  EXPECT_FALSE(PathExists(file));
  EXPECT_FALSE(DeletePartialBackup(file));
}

// The registry editor is another process: these imports and exports change
// the real registry of the test prefix, in a scratch key of their own.

TEST_F(BackupTest, RestorePartialBackupImportsAndConsumesTheFile) {
  RealScratchKey key;
  const std::string file = program.WriteFile("PartialBackup\\2009-03-14_08-05-09.reg",
                                             RegFileSetting(key.fullPath(), "Restored", "yes"));
  ASSERT_EQ(ListPartialBackups(program.path()).size(), 1u);

  EXPECT_TRUE(RestorePartialBackup(file));
  // Waited for: the value is there as soon as the call returns.
  EXPECT_EQ(key.ReadString("Restored"), "yes");
  EXPECT_FALSE(PathExists(file));
  EXPECT_TRUE(ListPartialBackups(program.path()).empty());
}

TEST_F(BackupTest, RestorePartialBackupKeepsTheFileWhenTheImportFailed) {
  RealScratchKey key;
  const std::string content = RegFileSetting(key.fullPath(), "Restored", "yes");
  const std::string file = program.WriteFile("PartialBackup\\2009-03-14_08-05-09.reg", content);
  // reg.exe knows no "/s" and ends with exit code 1: nothing was imported.
  EXPECT_FALSE(RestorePartialBackup(file, "reg.exe"));
  EXPECT_EQ(key.ReadString("Restored"), "<missing>");
  EXPECT_EQ(ReadWholeFile(file), content);

  EXPECT_FALSE(RestorePartialBackup(program / "PartialBackup\\2000-01-01_00-00-00.reg"));
}

TEST_F(BackupTest, RestoreFullBackupImportsAllbakAndKeepsIt) {
  RealScratchKey key;
  const std::string empty = program.MakeFolder("Backup\\2009-03-14-08-05-09");
  EXPECT_FALSE(RestoreFullBackup(empty));

  const std::string folder = program.MakeFolder("Backup\\2009-03-15-08-05-09");
  const std::string file = program.WriteFile("Backup\\2009-03-15-08-05-09\\allbak.reg",
                                             RegFileSetting(key.fullPath(), "Full", "back"));
  EXPECT_TRUE(RestoreFullBackup(folder));
  EXPECT_EQ(key.ReadString("Full"), "back");
  EXPECT_TRUE(FileExists(file));
}

TEST_F(BackupTest, ExportRegistryOfOneKey) {
  RealScratchKey key;
  const std::string in = program.WriteFile("in.reg", RegFileSetting(key.fullPath(), "Name", "Data"));
  ASSERT_TRUE(ImportRegistry(in, kRegistryEditor, 1, 1));
  const std::string out = program / "out.reg";
  EXPECT_TRUE(ExportRegistry(key.fullPath(), out, kRegistryEditor, 1));
  const std::string content = ReadWholeFile(out);
  EXPECT_TRUE(Utf16Contains(content, "Windows Registry Editor Version 5.00"));
  EXPECT_TRUE(Utf16Contains(content, "[" + key.fullPath() + "]"));
  EXPECT_TRUE(Utf16Contains(content, "\"Name\"=\"Data\""));
  // Only that key: nothing from elsewhere in the registry.
  EXPECT_FALSE(Utf16Contains(content, "[HKEY_LOCAL_MACHINE"));
}

TEST_F(BackupTest, MakeFullBackupExportsTheWholeRegistry) {
  RealScratchKey key;
  const std::string in = program.WriteFile("in.reg", RegFileSetting(key.fullPath(), "Mark", "1"));
  ASSERT_TRUE(ImportRegistry(in, kRegistryEditor, 1, 1));
  ASSERT_EQ(ReadSetting(kKeyLastBackup), "");

  EXPECT_TRUE(MakeFullBackup(program.path()));

  const std::vector<FullBackupRow> rows = ListFullBackups(program.path());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_NE(rows[0].size, "0B");
  const std::string content = ReadWholeFile(rows[0].folder + "\\allbak.reg");
  ASSERT_GE(content.size(), 2u);
  EXPECT_EQ(content.substr(0, 2), "\xFF\xFE");
  EXPECT_TRUE(Utf16Contains(content, "Windows Registry Editor Version 5.00"));
  EXPECT_TRUE(Utf16Contains(content, "[HKEY_LOCAL_MACHINE\\"));
  // The current user's keys, wherever the editor writes them (Wine only
  // below HKEY_USERS\<sid>).
  EXPECT_TRUE(Utf16Contains(content, "\\" + key.path() + "]"));

  // "LastBackup" is a settings stamp taken after the folder's stamp.
  LocalDateTime last, folder;
  ASSERT_TRUE(ParseStamp(ReadSetting(kKeyLastBackup), kSettingsStampFormat, last));
  ASSERT_TRUE(ParseStamp(rows[0].date + "-" + rows[0].time, "%04d-%02d-%02d-%02d:%02d:%02d",
                         folder));
  EXPECT_GE(ToTicks(last), ToTicks(folder));
}

TEST_F(BackupTest, FailedFullBackupIsNotRecordedAsTheLastOne) {
  // A file where the Backup folder belongs: no export can be written.
  program.WriteFile("Backup", "in the way");
  WriteSetting(kKeyLastBackup, "2009-03-14 08:05:09");
  EXPECT_FALSE(MakeFullBackup(program.path()));
  EXPECT_EQ(ReadSetting(kKeyLastBackup), "2009-03-14 08:05:09");
}
