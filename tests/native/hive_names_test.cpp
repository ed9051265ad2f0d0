#include "defrag/hive_names.h"

#include <gtest/gtest.h>

TEST(DevicePathToDrivePath, MatchesWholeDeviceNamesAndPrefersTheLongest) {
  const DeviceMap devices = {
      {"\\Device\\HarddiskVolume1", "C:"},
      {"\\Device\\HarddiskVolume10", "F:"},
      {"\\Device\\HarddiskVolume2", "D:"},
      {"\\Device\\Mup\\", "M:"},  // a device name that ends in a backslash
      {"\\Device\\Nested", "N:"},
      {"\\Device\\Nested\\Inner", "I:"},
  };
  struct Case {
    const char* devicePath;
    const char* drivePath;  // null: no device matches
  } cases[] = {
      {"\\Device\\HarddiskVolume1\\WINDOWS\\system32\\config\\SOFTWARE",
       "C:\\WINDOWS\\system32\\config\\SOFTWARE"},
      {"\\Device\\HarddiskVolume10\\Users\\Ann\\NTUSER.DAT", "F:\\Users\\Ann\\NTUSER.DAT"},
      {"\\DEVICE\\HARDDISKVOLUME10\\Users\\x", "F:\\Users\\x"},
      {"\\device\\harddiskvolume2\\Config\\Sam", "D:\\Config\\Sam"},
      {"\\Device\\HarddiskVolume1", "C:"},
      {"\\Device\\Mup\\server\\share\\hive", "M:\\server\\share\\hive"},
      {"\\Device\\HarddiskVolume11\\x", nullptr},  // neither volume 1 nor 10
      {"\\Device\\HarddiskVolume1x\\y", nullptr},
      {"\\Device\\HarddiskVolume", nullptr},
      {"\\Device\\CdRom0\\hive", nullptr},
      {"\\Device\\Mup", "M:"},
      {"\\Device\\Nested\\Inner\\hive", "I:\\hive"},
      {"\\Device\\Nested\\Innermost\\hive", "N:\\Innermost\\hive"},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    std::string drivePath = "untouched";
    const bool found = DevicePathToDrivePath(devices, c.devicePath, drivePath);
    EXPECT_EQ(found, c.drivePath != nullptr) << c.devicePath;
    EXPECT_EQ(drivePath, c.drivePath != nullptr ? c.drivePath : "untouched") << c.devicePath;
  }
}

TEST(DevicePathToDrivePath, AnEmptyMapMatchesNothing) {
  std::string drivePath;
  EXPECT_FALSE(DevicePathToDrivePath(DeviceMap(), "\\Device\\HarddiskVolume1\\x", drivePath));
  EXPECT_FALSE(DevicePathToDrivePath({{"", "C:"}}, "\\Device\\HarddiskVolume1\\x", drivePath));
  EXPECT_EQ(drivePath, "");
}
