#include <gtest/gtest.h>

#include "foundation/scoped_handle.h"

#include "defrag/hive_compactor.h"
#include "defrag/process_privileges.h"
#include "foundation/case_map.h"
#include "foundation/file_checks.h"
#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"

using namespace kelvane;

static std::string DeviceOfDrive(const char* drive) {
  char target[1024] = {};
  return QueryDosDeviceA(drive, target, sizeof target) != 0 ? target : "";
}

// Disables the privilege; true when it was enabled before.
static bool DisablePrivilege(const char* name) {
  ScopedKernelHandle token;
  TOKEN_PRIVILEGES change = {1, {}}, previous = {};
  DWORD size = sizeof previous;
  return OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                          token.Receive()) &&
         LookupPrivilegeValueA(nullptr, name, &change.Privileges[0].Luid) &&
         AdjustTokenPrivileges(token.Get(), FALSE, &change, size, &previous, &size) &&
         previous.PrivilegeCount == 1 &&
         (previous.Privileges[0].Attributes & SE_PRIVILEGE_ENABLED) != 0;
}

TEST(HiveRootAndKey, MountPointOfEachKindOfName) {
  const struct {
    const char* name;
    RootKey root;
    const char* subkey;
  } cases[] = {
      {"\\registry\\machine\\system", kLocalMachine, "system"},
      {"\\REGISTRY\\USER\\.DEFAULT", kUsers, ".DEFAULT"},
      {"\\REGISTRY\\USER\\MACHINEX", kLocalMachine, "MACHINEX"},  // "MACHINE" is looked for first
      {"\\REGISTRY\\USER\\", kUsers, "kept"},  // "kept": left alone, for a backslash last,
      {"\\MACHINE", kLocalMachine, "kept"},    // first
      {"MACHINE", kLocalMachine, "kept"},      // or missing
      {"\\REGISTRY\\A\\SOFTWARE", 0, "kept"},  // and for no root
  };
  for (const auto& c : cases) {
    std::string subkey = "kept";
    EXPECT_EQ(HiveRootAndKey(c.name, subkey), c.root) << c.name;
    EXPECT_EQ(subkey, c.subkey) << c.name;
  }
}

class Defrag : public ::testing::Test {
 protected:
  RegistrySandbox sandbox;
  ScratchFolder folder;
  void SetUp() override {
    ASSERT_TRUE(EnableDefragPrivileges());  // saving a hive needs the backup privilege
    SetString(kUsers, "S-1-5-21-7-7-7-1001\\Console", "UserMarker", "blue");
    SetString(kLocalMachine, "SOFTWARE\\Vendor", "MachineMarker", "green");
  }
  HiveEntry Hive(const char* name, const char* file) const {
    const std::string path = folder.WriteFile(file, "original hive content");
    return HiveEntry{name, path, GetFileSize64(path), 0, "", ""};
  }
  // The user hive, the machine hive, then one that cannot be saved for each reason.
  HiveList Hives() const {
    return {Hive("\\REGISTRY\\USER\\S-1-5-21-7-7-7-1001", "Users\\NTUSER.DAT"),
            Hive("\\REGISTRY\\MACHINE\\SOFTWARE", "config\\software"),
            Hive("\\REGISTRY\\A\\SOFTWARE", "a\\app.hve"),          // no root
            Hive("\\REGISTRY\\MACHINE\\", "b\\machine"),            // no subkey
            Hive("\\REGISTRY\\MACHINE\\NOSUCHHIVE", "c\\nosuch")};  // no key
  }
};

TEST_F(Defrag, DiscoveryFindsTheFileBackedHivesOfFixedDrivesAndEnablesThePrivileges) {
  const std::string deviceOfC = DeviceOfDrive("C:"), deviceOfE = DeviceOfDrive("E:");
  EXPECT_NE(deviceOfE, "") << "the prefix has no drive E:";
  EXPECT_EQ(BuildDeviceMap().count(deviceOfE), 0u) << "E: is a CD-ROM, no fixed drive";
  const std::string software = folder.WriteFile("Config\\SoftWare", std::string(1234, 'h'));
  const std::string user = folder.WriteFile("Users\\Ann\\NTUSER.DAT", std::string(77, 'u'));
  const std::pair<const char*, std::string> list[] = {
      // Too long to be a path, and first: the hives after it still count.
      {"\\REGISTRY\\MACHINE\\A_TOO_LONG", deviceOfC + "\\" + std::string(1100, 'x')},
      {"\\REGISTRY\\MACHINE\\SOFTWARE", ToUpperText(deviceOfC) + software.substr(2)},
      {"\\REGISTRY\\MACHINE\\HARDWARE", ""},
      {"\\REGISTRY\\USER\\S-1-5-20", deviceOfC + "\\NoSuchFolder\\NTUSER.DAT"},
      {"\\REGISTRY\\USER\\S-1-5-21-9", ToLowerText(deviceOfC) + user.substr(2)},
      {"\\REGISTRY\\MACHINE\\SYSTEM", software},  // no device path: not taken as it stands
  };
  for (const auto& v : list)
    SetString(kLocalMachine, "System\\CurrentControlSet\\Control\\hivelist", v.first, v.second);
  const char* const privileges[] = {kBackupPrivilege, kRestorePrivilege, kShutdownPrivilege};
  for (const char* name : privileges) DisablePrivilege(name);
  for (const char* name : privileges) ASSERT_FALSE(DisablePrivilege(name)) << name;
  std::vector<std::string> found;
  for (const HiveEntry& hive : DiscoverHives())  // C: must be mapped to find any
    found.push_back(hive.name + " " + hive.file + " " + std::to_string(hive.fileSize));
  for (const char* name : privileges) EXPECT_TRUE(DisablePrivilege(name)) << name;
  // The rest of each path keeps the letter case of the list.
  EXPECT_EQ(found, (std::vector<std::string>{"\\REGISTRY\\MACHINE\\SOFTWARE " + software + " 1234",
                                             "\\REGISTRY\\USER\\S-1-5-21-9 " + user + " 77"}));
}

TEST_F(Defrag, CopiesUsableHivesBesideTheirFilesAndAsksForTheSwap) {
  HiveList hives = Hives();
  // Leftovers and records of an earlier analysis must not outlive this one.
  const std::string leftover = folder.WriteFile("Users\\NTUSER.DAT.regan613", "stale");
  SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_READONLY);
  for (HiveEntry& hive : hives) {
    hive.compactFile = leftover;
    hive.compactSize = 5;
  }
  EXPECT_TRUE(AnalyseHives(hives, nullptr, nullptr));
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(hives[i].compactFile, hives[i].file + ".regan613");
    const std::string copy = ReadWholeFile(hives[i].compactFile);
    EXPECT_EQ(hives[i].compactSize, copy.size());
    EXPECT_NE(copy.find(i == 0 ? "UserMarker" : "MachineMarker"), std::string::npos) << i;
  }
  for (std::size_t i = 2; i < hives.size(); ++i) {
    EXPECT_EQ(hives[i].compactFile, "") << hives[i].name << ": the earlier record is cleared";
    EXPECT_EQ(hives[i].compactSize, 0u) << hives[i].name << ": the earlier record is cleared";
    EXPECT_FALSE(FileExists(hives[i].file + ".regan613")) << hives[i].name << ": no copy";
  }
  EXPECT_FALSE(KeyExists(kLocalMachine, "NOSUCHHIVE")) << "the open must not create the key";
  // The machine hive's copy is gone: neither it nor its old backup is touched.
  DeleteFileForced(hives[1].compactFile);
  const std::string userBackup = folder.WriteFile("Users\\NTUSER.DAT.regbk109", "old");
  SetFileAttributesA(userBackup.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string machineBackup = folder.WriteFile("config\\software.regbk109", "old");
  EXPECT_EQ(ReplaceHives(hives), 1u);
  EXPECT_EQ(hives[0].backupFile, userBackup);
  EXPECT_FALSE(FileExists(userBackup)) << "replaced once the request stood";
  EXPECT_FALSE(FileExists(userBackup + ".old"));
  EXPECT_TRUE(FileExists(machineBackup));
  for (std::size_t i = 1; i < hives.size(); ++i) EXPECT_EQ(hives[i].backupFile, "") << i;
  EXPECT_EQ(SumDefragSavings(hives).oldSize, hives[0].fileSize);

  // The unattended job writes "LastDefrag" only when it analysed a hive.
  SetSettingsPaths(folder / "Settings.ini", folder / "Settings.xml");
  SetProcessHiveList({hives[2]});
  EXPECT_FALSE(RunDefragJob());
  EXPECT_EQ(ReadSetting(kKeyLastDefrag), "") << "nothing was compacted";
  SetProcessHiveList({hives[2], hives[0]});
  EXPECT_TRUE(RunDefragJob());
  EXPECT_NE(ReadSetting(kKeyLastDefrag), "");
  SetSettingsPaths("", "");
}
