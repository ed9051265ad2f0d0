#include "defrag/hive_compactor.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "defrag/process_privileges.h"
#include "foundation/file_checks.h"
#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/time_stamp.h"
#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"

namespace {

constexpr const char* kUserHive = "\\REGISTRY\\USER\\S-1-5-21-7-7-7-1001";
constexpr const char* kMachineHive = "\\REGISTRY\\MACHINE\\SOFTWARE";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Records every progress report and answers stop at one chosen report.
struct ProgressLog {
  std::vector<std::pair<int, std::size_t>> reports;
  std::vector<const HiveEntry*> entries;
  int stopCode = -1;
  std::size_t stopIndex = 0;

  static int Callback(int code, const HiveEntry* entry, std::size_t index, void* context) {
    auto* log = static_cast<ProgressLog*>(context);
    log->reports.emplace_back(code, index);
    log->entries.push_back(entry);
    return code == log->stopCode && index == log->stopIndex ? 0 : 1;
  }
};

using Reports = std::vector<std::pair<int, std::size_t>>;

}  // namespace

class HiveCompactor : public ::testing::Test {
 protected:
  RegistrySandbox sandbox;
  ScratchFolder folder;

  void SetUp() override {
    // Saving a hive needs the backup privilege (wine checks it as well).
    ASSERT_TRUE(EnableDefragPrivileges());
    SetString(kUsers, "S-1-5-21-7-7-7-1001\\Console", "UserMarker", "blue");
    SetString(kLocalMachine, "SOFTWARE\\Vendor", "MachineMarker", "green");
  }

  HiveEntry Hive(const std::string& name, const std::string& relativeFile) const {
    HiveEntry entry;
    entry.name = name;
    entry.file = folder.WriteFile(relativeFile, "original hive content");
    entry.fileSize = GetFileSize64(entry.file);
    return entry;
  }
  HiveList TwoHives() const {
    return {Hive(kUserHive, "Users\\NTUSER.DAT"), Hive(kMachineHive, "config\\software")};
  }
};

TEST_F(HiveCompactor, WritesACompactCopyOfEachHiveBesideItsFile) {
  HiveList hives = TwoHives();
  EXPECT_TRUE(AnalyseHives(hives, nullptr, nullptr));
  const char* const markers[] = {"UserMarker", "MachineMarker"};
  for (std::size_t i = 0; i < hives.size(); ++i) {
    const HiveEntry& hive = hives[i];
    EXPECT_EQ(hive.compactFile, hive.file + ".regan613");
    ASSERT_TRUE(FileExists(hive.compactFile));
    EXPECT_EQ(hive.compactSize, GetFileSize64(hive.compactFile));
    EXPECT_GT(hive.compactSize, 0u);
    const std::string copy = ReadWholeFile(hive.compactFile);
    EXPECT_TRUE(Contains(copy, markers[i])) << hive.name;
    EXPECT_FALSE(Contains(copy, markers[1 - i])) << hive.name << " holds the other hive";
    EXPECT_EQ(ReadWholeFile(hive.file), "original hive content");
    EXPECT_EQ(hive.backupFile, "");
  }
}

TEST_F(HiveCompactor, ALeftoverCopyIsDeletedAndWrittenAfresh) {
  HiveList hives = {Hive(kUserHive, "Users\\NTUSER.DAT")};
  const std::string leftover = folder.WriteFile("Users\\NTUSER.DAT.regan613", "stale leftover");
  SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(AnalyseHives(hives, nullptr, nullptr));
  ASSERT_EQ(hives[0].compactFile, leftover);
  const std::string first = ReadWholeFile(leftover);
  EXPECT_FALSE(Contains(first, "stale leftover"));
  EXPECT_TRUE(Contains(first, "UserMarker"));

  // A later analysis in the same process records the new copy's size.
  SetString(kUsers, "S-1-5-21-7-7-7-1001\\Console", "Grown", std::string(5000, 'g'));
  ASSERT_TRUE(AnalyseHives(hives, nullptr, nullptr));
  EXPECT_GT(hives[0].compactSize, first.size());
  EXPECT_EQ(hives[0].compactSize, GetFileSize64(leftover));
  EXPECT_TRUE(Contains(ReadWholeFile(leftover), "Grown"));
}

TEST_F(HiveCompactor, ReportsProgressAroundEachHiveAndStopsWhenAsked) {
  struct Case {
    int stopCode;
    std::size_t stopIndex;
    Reports reports;
    bool secondSaved;
  } cases[] = {
      {-1, 0, {{0, 2}, {2, 0}, {3, 0}, {2, 1}, {3, 1}, {1, 2}}, true},
      {kHiveBefore, 1, {{0, 2}, {2, 0}, {3, 0}, {2, 1}, {4, 1}}, false},
      {kHiveAfter, 0, {{0, 2}, {2, 0}, {3, 0}, {4, 0}}, false},  // the running save completes
  };
  for (const Case& c : cases) {
    HiveList hives = TwoHives();
    ProgressLog log;
    log.stopCode = c.stopCode;
    log.stopIndex = c.stopIndex;
    EXPECT_EQ(AnalyseHives(hives, ProgressLog::Callback, &log), c.stopCode < 0);
    EXPECT_EQ(log.reports, c.reports) << "stop at " << c.stopCode;
    EXPECT_EQ(log.entries[1], &hives[0]);
    EXPECT_EQ(log.entries[2], &hives[0]);
    EXPECT_TRUE(FileExists(hives[0].compactFile));
    EXPECT_EQ(FileExists(hives[1].file + ".regan613"), c.secondSaved) << "stop at " << c.stopCode;
    EXPECT_EQ(hives[1].compactFile.empty(), !c.secondSaved);
    DeleteFileForced(hives[0].file + ".regan613");
    DeleteFileForced(hives[1].file + ".regan613");
  }
  HiveList none;
  ProgressLog empty;
  EXPECT_TRUE(AnalyseHives(none, ProgressLog::Callback, &empty));
  EXPECT_EQ(empty.reports, (Reports{{5, 0}}));
  EXPECT_EQ(empty.entries[0], nullptr);
}

TEST_F(HiveCompactor, HivesWithoutAUsableKeyAreSkipped) {
  HiveList hives = {
      Hive("\\REGISTRY\\A\\SOFTWARE", "a\\app.hve"),           // no root
      Hive("\\REGISTRY\\MACHINE\\", "b\\machine"),             // no subkey
      Hive("\\REGISTRY\\MACHINE\\NOSUCHHIVE", "c\\nosuch"),    // key not there
  };
  // A copy recorded by an earlier analysis must not outlive a failed one.
  hives[2].compactFile = folder.WriteFile("c\\nosuch.regan613", "older copy");
  hives[2].compactSize = 10;
  ProgressLog log;
  EXPECT_TRUE(AnalyseHives(hives, ProgressLog::Callback, &log));
  EXPECT_EQ(log.reports.size(), 2 + 2 * hives.size());
  for (const HiveEntry& hive : hives) {
    EXPECT_EQ(hive.compactFile, "") << hive.name;
    EXPECT_EQ(hive.compactSize, 0u) << hive.name;
  }
  EXPECT_FALSE(FileExists(hives[0].file + ".regan613"));
  EXPECT_FALSE(FileExists(hives[1].file + ".regan613"));
  EXPECT_FALSE(KeyExists(kLocalMachine, "NOSUCHHIVE")) << "the open must not create the key";
  EXPECT_EQ(ReplaceHives(hives), 0u);
  for (const HiveEntry& hive : hives) EXPECT_EQ(hive.backupFile, "") << hive.name;
}

TEST_F(HiveCompactor, ReplacementClearsTheOldBackupNameFirst) {
  HiveList hives = TwoHives();
  ASSERT_TRUE(AnalyseHives(hives, nullptr, nullptr));
  const std::string userLeftover = folder.WriteFile("Users\\NTUSER.DAT.regbk109", "old");
  SetFileAttributesA(userLeftover.c_str(), FILE_ATTRIBUTE_READONLY);
  // The second hive's copy is gone: nothing of it is touched.
  DeleteFileForced(hives[1].compactFile);
  const std::string machineLeftover = folder.WriteFile("config\\software.regbk109", "old");

  EXPECT_EQ(ReplaceHives(hives), 1u);
  EXPECT_EQ(hives[0].backupFile, hives[0].file + ".regbk109");
  EXPECT_FALSE(FileExists(userLeftover));
  EXPECT_EQ(hives[1].backupFile, "");
  EXPECT_TRUE(FileExists(machineLeftover));
  // The swap waits for the restart: hive file and copy are still as they were.
  EXPECT_EQ(ReadWholeFile(hives[0].file), "original hive content");
  EXPECT_TRUE(Contains(ReadWholeFile(hives[0].compactFile), "UserMarker"));
}

TEST_F(HiveCompactor, SavingsCountOnlyHivesWithAnExistingCopy) {
  HiveList hives = TwoHives();
  hives.push_back(Hive(kUserHive, "other\\hive"));
  hives[0].fileSize = 1000;
  hives[0].compactFile = folder.WriteFile("Users\\NTUSER.DAT.regan613");
  hives[0].compactSize = 600;
  hives[1].fileSize = 500;
  hives[1].compactFile = folder / "config\\software.regan613";  // not on disk
  hives[1].compactSize = 100;
  hives[2].fileSize = 300;  // never analysed
  const DefragSavings savings = SumDefragSavings(hives);
  EXPECT_EQ(savings.oldSize, 1000u);
  EXPECT_EQ(savings.newSize, 600u);
  EXPECT_EQ(savings.saved, 400u);
  EXPECT_EQ(savings.percent, 40u);
  EXPECT_EQ(SumDefragSavings(HiveList()).percent, 0u);
}

class DefragJob : public HiveCompactor {
 protected:
  void SetUp() override {
    HiveCompactor::SetUp();
    SetSettingsPaths(folder / "Settings.ini", folder / "Settings.xml");
  }
  void TearDown() override {
    SetProcessHiveList(HiveList());
    SetSettingsPaths("", "");
  }
  bool LastDefragWritten() const {
    LocalDateTime stamp;
    return ParseStamp(ReadSetting(kKeyLastDefrag), kSettingsStampFormat, stamp) &&
           IsValidDateTime(stamp);
  }
};

TEST_F(DefragJob, CompactsAndRequestsTheSwapOfTheProcessHives) {
  SetProcessHiveList(TwoHives());
  RunDefragJob();
  for (const HiveEntry& hive : ProcessHiveList()) {
    EXPECT_TRUE(FileExists(hive.compactFile)) << hive.name;
    EXPECT_EQ(hive.backupFile, hive.file + ".regbk109");
  }
  EXPECT_TRUE(LastDefragWritten());
}

TEST_F(DefragJob, WritesLastDefragEvenWhenNothingWasSaved) {
  SetProcessHiveList({Hive("\\REGISTRY\\A\\x", "a\\app.hve")});
  RunDefragJob();
  EXPECT_EQ(ProcessHiveList()[0].compactFile, "");
  EXPECT_TRUE(LastDefragWritten());

  DeleteFileForced(folder / "Settings.ini");
  SetProcessHiveList(HiveList());
  RunDefragJob();
  EXPECT_TRUE(LastDefragWritten());
}
