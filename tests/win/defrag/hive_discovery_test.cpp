#include "defrag/hive_discovery.h"

#include <gtest/gtest.h>

#include "defrag/process_privileges.h"
#include "defrag_test_support.h"
#include "foundation/case_map.h"
#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"

TEST(HiveRootAndKey, MountPointOfEachKindOfName) {
  struct Case {
    const char* name;
    RootKey root;
    const char* subkey;  // what an empty subkey becomes
  } cases[] = {
      {"\\REGISTRY\\MACHINE\\SOFTWARE", kLocalMachine, "SOFTWARE"},
      {"\\REGISTRY\\MACHINE\\BCD00000000", kLocalMachine, "BCD00000000"},
      {"\\registry\\machine\\system", kLocalMachine, "system"},
      {"\\REGISTRY\\USER\\.DEFAULT", kUsers, ".DEFAULT"},
      {"\\REGISTRY\\USER\\S-1-5-21-11-22-33-1004_Classes", kUsers, "S-1-5-21-11-22-33-1004_Classes"},
      {"\\REGISTRY\\USER\\MACHINEX", kLocalMachine, "MACHINEX"},  // "MACHINE" is looked for first
      {"\\REGISTRY\\MACHINE\\", kLocalMachine, ""},                // backslash last
      {"\\MACHINE", kLocalMachine, ""},                            // backslash first
      {"MACHINE", kLocalMachine, ""},
      {"\\REGISTRY\\A\\{0a1b2c3d-0000-1111-2222-333344445555}", 0, ""},
      {"\\REGISTRY\\A\\SOFTWARE", 0, ""},
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    std::string subkey;
    EXPECT_EQ(HiveRootAndKey(c.name, subkey), c.root) << c.name;
    EXPECT_EQ(subkey, c.subkey) << c.name;
  }
  std::string kept = "kept";
  EXPECT_EQ(HiveRootAndKey("\\REGISTRY\\WC\\x", kept), 0u);
  EXPECT_EQ(kept, "kept");
  EXPECT_EQ(HiveRootAndKey("\\REGISTRY\\USER\\", kept), kUsers);
  EXPECT_EQ(kept, "kept");
}

TEST(BuildDeviceMap, MapsTheFixedDrivesOfThisMachineOnly) {
  const DeviceMap devices = BuildDeviceMap();
  const std::string deviceOfC = DeviceOfDrive("C:");
  ASSERT_NE(deviceOfC, "");
  ASSERT_EQ(devices.count(deviceOfC), 1u) << deviceOfC;
  EXPECT_EQ(devices.at(deviceOfC), "C:");
  EXPECT_EQ(devices.count(DeviceOfDrive("E:")), 0u) << "E: is a CD-ROM drive";
  for (const auto& device : devices) {
    EXPECT_EQ(device.first, DeviceOfDrive(device.second));
    ASSERT_EQ(device.second.size(), 2u) << device.second;
    EXPECT_EQ(GetDriveTypeA((device.second + "\\").c_str()), static_cast<UINT>(DRIVE_FIXED));
  }
}

TEST(EnableDefragPrivileges, EnablesBackupRestoreAndShutdown) {
  const char* const names[] = {kBackupPrivilege, kRestorePrivilege, kShutdownPrivilege};
  for (const char* name : names) DisablePrivilege(name);
  for (const char* name : names) ASSERT_FALSE(IsPrivilegeEnabled(name)) << name;
  EXPECT_TRUE(EnableDefragPrivileges());
  for (const char* name : names) EXPECT_TRUE(IsPrivilegeEnabled(name)) << name;

  // Discovery enables them as well, even when it finds no hive.
  for (const char* name : names) DisablePrivilege(name);
  RegistrySandbox sandbox;
  EXPECT_TRUE(DiscoverHives().empty());
  for (const char* name : names) EXPECT_TRUE(IsPrivilegeEnabled(name)) << name;
}

class HiveDiscovery : public ::testing::Test {
 protected:
  RegistrySandbox sandbox;
  ScratchFolder folder;
  const std::string deviceOfC = DeviceOfDrive("C:");

  // The scratch file's path with C: replaced by the device name.
  std::string DevicePath(const std::string& file) const { return deviceOfC + file.substr(2); }
  void List(const std::string& name, const std::string& data) {
    SetString(kLocalMachine, "System\\CurrentControlSet\\Control\\hivelist", name, data);
  }
};

TEST_F(HiveDiscovery, FindsTheFileBackedHivesOnFixedDrives) {
  const std::string software = folder.WriteFile("Config\\SoftWare", std::string(1234, 'h'));
  const std::string user = folder.WriteFile("Users\\Ann\\NTUSER.DAT", std::string(77, 'u'));
  // A value too long to be a path comes first; the hives after it still count.
  List("\\REGISTRY\\MACHINE\\A_TOO_LONG", deviceOfC + "\\" + std::string(1100, 'x'));
  List("\\REGISTRY\\MACHINE\\SOFTWARE", ToUpperText(deviceOfC) + software.substr(2));
  List("\\REGISTRY\\MACHINE\\HARDWARE", "");
  List("\\REGISTRY\\USER\\S-1-5-20", DevicePath(folder / "Gone\\NTUSER.DAT"));
  List("\\REGISTRY\\USER\\S-1-5-21-1-2-3-1001", ToLowerText(deviceOfC) + user.substr(2));
  List("\\REGISTRY\\USER\\S-1-5-21-1-2-3-1002", DeviceOfDrive("E:") + "\\NTUSER.DAT");

  const HiveList hives = DiscoverHives();
  ASSERT_EQ(hives.size(), 2u);
  EXPECT_EQ(hives[0].name, "\\REGISTRY\\MACHINE\\SOFTWARE");
  EXPECT_EQ(hives[0].file, software);  // the rest keeps the letter case of the list
  EXPECT_EQ(hives[0].fileSize, 1234u);
  EXPECT_EQ(hives[1].name, "\\REGISTRY\\USER\\S-1-5-21-1-2-3-1001");
  EXPECT_EQ(hives[1].file, user);
  EXPECT_EQ(hives[1].fileSize, 77u);
  for (const HiveEntry& hive : hives) {
    EXPECT_EQ(hive.compactSize, 0u);
    EXPECT_EQ(hive.compactFile, "");
    EXPECT_EQ(hive.backupFile, "");
  }
}

TEST_F(HiveDiscovery, PathsOfUnknownDevicesAreNotReadAsLocalPaths) {
  // Without its device the rest would name the file relative to the current
  // drive.
  const std::string hive = folder.WriteFile("Config\\SYSTEM");
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
  List("\\REGISTRY\\MACHINE\\SYSTEM", hive.substr(2));
  List("\\REGISTRY\\MACHINE\\SAM", "\\Device\\NoSuchVolume" + hive.substr(2));
  EXPECT_TRUE(DiscoverHives().empty());
  SetCurrentDirectoryA(previous);
}

TEST_F(HiveDiscovery, TheLongestWholeDeviceNameWins) {
  const std::string hive = folder.WriteFile("Config\\SECURITY");
  List("\\REGISTRY\\MACHINE\\SECURITY", "\\Device\\KelvaneVolume10" + hive.substr(2));
  const DeviceMap devices = {{"\\Device\\KelvaneVolume1", "Q:"},
                             {"\\Device\\KelvaneVolume10", "C:"}};
  const HiveList hives = ReadHiveList(devices);
  ASSERT_EQ(hives.size(), 1u);
  EXPECT_EQ(hives[0].file, hive);
}

TEST_F(HiveDiscovery, NoHiveListKeyGivesAnEmptyList) {
  EXPECT_TRUE(DiscoverHives().empty());
  CreateKey(kLocalMachine, "System\\CurrentControlSet\\Control\\hivelist");
  EXPECT_TRUE(DiscoverHives().empty());
}
