// The rules that stand between a hand-edited file or a checker fault and the user's data.
#include <gtest/gtest.h>

#include "foundation/setting_number.h"
#include "repair/protected_keys.h"

using namespace kelvane;

TEST(SettingNumber, OnlyAWholeNumberInRangeCounts) {
  // clang-format off
  const struct { const char* text; int minimum, maximum; bool valid; int value; } kCases[] = {
      {"1", 0, 1, true, 1},          {" 0 ", 0, 1, true, 0},      {"+1", 0, 1, true, 1},
      {"60", 1, 60, true, 60},       {"-5", -10, 0, true, -5},    {"\t7\t", 1, 60, true, 7},
      {"yes", 0, 1, false, 0},       {"1x", 0, 1, false, 0},      {"", 0, 1, false, 0},
      {" ", 0, 1, false, 0},         {"-", 0, 1, false, 0},       {"0", 1, 60, false, 0},
      {"61", 1, 60, false, 0},       {"-1", 1, 90, false, 0},     {"1 2", 0, 99, false, 0},
      {"4294967297", 0, 2147483647, false, 0}, {"99999999999999999999", 1, 90, false, 0},
      {"2147483647", 0, 2147483647, true, 2147483647}, {"0x10", 0, 99, false, 0}};
  // clang-format on
  for (const auto& c : kCases) {
    int value = -12345;
    EXPECT_EQ(ParseSettingNumber(c.text, c.minimum, c.maximum, value), c.valid) << c.text;
    EXPECT_EQ(value, c.valid ? c.value : -12345) << "left unchanged when invalid: " << c.text;
  }
}

TEST(ProtectedKeys, RootsHivesContainersAndWhatHoldsThemAreNeverDeletedWhole) {
  constexpr RootKey kClasses = 0x80000000u, kUser = 0x80000001u, kMachine = 0x80000002u,
                    kUsers = 0x80000003u, kConfig = 0x80000005u;
  // clang-format off
  const struct { RootKey root; const char* key; bool guarded; } kCases[] = {
      {kUser, "", true},                                  {kMachine, "\\", true},
      {kUser, "Software", true},                          {kMachine, "SOFTWARE\\", true},
      {kMachine, "Software\\Classes", true},              {kMachine, "software\\classes\\clsid", true},
      {kClasses, "CLSID", true},                          {kClasses, "", true},
      {kUser, "Software\\Microsoft", true},
      {kMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true},
      {kMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", true},
      {kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\", true},
      {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls", true},
      {kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", true},
      {kMachine, "System\\CurrentControlSet\\Control\\Nls\\Locale", true},
      {kMachine, "System", true},                         {kUsers, "S-1-5-21-1", true},
      {kUsers, ".DEFAULT\\Software", true},               {kConfig, "Software\\Vendor", true},
      // What the areas report: entries inside the containers.
      {kMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App", false},
      {kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\X", false},
      {kClasses, "CLSID\\{0-1-2-3-4}", false},            {kClasses, ".txt", false},
      {kMachine, "Software\\Classes\\.kve", false},       {kUser, "Software\\Vendor", false},
      {kUsers, "S-1-5-21-1\\Software\\Vendor", false},    {kUser, "Software\\Microsoft2", false}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(IsProtectedKey(c.root, c.key), c.guarded) << c.key;
}
