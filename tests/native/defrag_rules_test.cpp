#include <gtest/gtest.h>

#include "defrag/defrag_savings.h"
#include "defrag/hive_names.h"

using namespace kelvane;

TEST(DevicePathToDrivePath, WholeDeviceNamesAndTheLongestWins) {
  // clang-format off
  const DeviceMap devices = {{"\\Device\\HarddiskVolume1", "C:"},
      {"\\Device\\HarddiskVolume10", "F:"}, {"\\Device\\Mup\\", "M:"},  // Mup ends in a backslash
      {"\\Device\\Nested", "N:"}, {"\\Device\\Nested\\Inner", "I:"}};
  const struct { const char* devicePath; const char* drivePath; } kCases[] = {  // nullptr: none
      {"\\Device\\HarddiskVolume1\\WINDOWS\\config\\SOFTWARE", "C:\\WINDOWS\\config\\SOFTWARE"},
      {"\\DEVICE\\HARDDISKVOLUME10\\Users\\x", "F:\\Users\\x"}, {"\\Device\\HarddiskVolume1", "C:"},
      {"\\Device\\Mup\\server\\share\\hive", "M:\\server\\share\\hive"}, {"\\Device\\Mup", "M:"},
      {"\\Device\\HarddiskVolume11\\x", nullptr}, {"\\Device\\HarddiskVolume1x\\y", nullptr},
      {"\\Device\\Nested\\Inner\\x", "I:\\x"},
      {"\\Device\\Nested\\Innermost\\hive", "N:\\Innermost\\hive"}};
  // clang-format on
  for (const auto& c : kCases) {
    std::string drivePath = "untouched";
    EXPECT_EQ(DevicePathToDrivePath(devices, c.devicePath, drivePath), c.drivePath != nullptr)
        << c.devicePath;
    EXPECT_EQ(drivePath, c.drivePath ? c.drivePath : "untouched") << c.devicePath;
  }
  std::string drivePath;
  EXPECT_FALSE(DevicePathToDrivePath({{"", "C:"}}, "\\Device\\HarddiskVolume1\\x", drivePath));
}

TEST(ComputeDefragSavings, SavedBytesAndPercentRoundedToNearest) {
  // clang-format off
  const struct { std::uint64_t oldSize, newSize, saved; unsigned percent; } kCases[] = {
      {0, 4096, 0, 0}, {1000, 1200, 0, 0}, {1000, 0, 1000, 100}, {1000, 995, 5, 1}, {1000, 996, 4, 0}, {1000, 874, 126, 13}, {1000, 876, 124, 12},
      {(1ull << 40) * 10, (1ull << 40) * 9, 1ull << 40, 10}};
  // clang-format on
  for (const auto& c : kCases) {
    const DefragSavings s = ComputeDefragSavings(c.oldSize, c.newSize);
    EXPECT_EQ(s.saved, c.saved) << c.oldSize << " -> " << c.newSize;
    EXPECT_EQ(s.percent, c.percent) << c.oldSize << " -> " << c.newSize;
  }
}
