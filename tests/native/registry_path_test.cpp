#include "foundation/registry_path.h"

#include <gtest/gtest.h>

TEST(RootKeyName, NamesTheSevenRootsAndNothingElse) {
  EXPECT_EQ(RootKeyName(0x80000000u), "HKEY_CLASSES_ROOT");
  EXPECT_EQ(RootKeyName(0x80000002u), "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(RootKeyName(0x80000006u), "HKEY_DYN_DATA");
  EXPECT_EQ(RootKeyName(0x80000007u), "");
  EXPECT_EQ(RootKeyName(0x7FFFFFFFu), "");
  EXPECT_EQ(RootKeyName(0), "");
}

TEST(ParseRootKeyName, IgnoresCaseButNeedsTheWholeLongName) {
  EXPECT_EQ(ParseRootKeyName("hkey_current_user"), kCurrentUser);
  EXPECT_EQ(ParseRootKeyName("HKEY_Users"), kUsers);
  EXPECT_EQ(ParseRootKeyName("HKCU"), 0u);
  EXPECT_EQ(ParseRootKeyName("HKEY_CURRENT_USER "), 0u);
  EXPECT_EQ(ParseRootKeyName(""), 0u);
  for (RootKey root = kClassesRoot; root <= kDynData; ++root)
    EXPECT_EQ(ParseRootKeyName(RootKeyName(root)), root);
}

TEST(SplitRegistryPath, SplitsAtTheFirstBackslashAfterTrimming) {
  struct Case {
    const char* path;
    bool ok;
    RootKey root;
    const char* subkey;
  } cases[] = {
      {"\\HKEY_CURRENT_USER\\Software\\", true, kCurrentUser, "Software"},
      {"hkey_local_machine", true, kLocalMachine, ""},
      {"HKEY_LOCAL_MACHINE\\Software\\A\\B", true, kLocalMachine, "Software\\A\\B"},
      {"\\\\\\HKEY_USERS\\\\\\", true, kUsers, ""},
      {"HKEY_CLASSES_ROOT\\\\x", true, kClassesRoot, "\\x"},
      {"HKLM\\Software", false, 0, ""},
      {"", false, 0, ""},
      {"\\\\", false, 0, ""},
      {"Software\\HKEY_USERS", false, 0, ""},
  };
  for (const Case& c : cases) {
    RootKey root = 12345;
    std::string subkey = "unchanged";
    EXPECT_EQ(SplitRegistryPath(c.path, root, subkey), c.ok) << c.path;
    if (c.ok) {
      EXPECT_EQ(root, c.root) << c.path;
      EXPECT_EQ(subkey, c.subkey) << c.path;
    } else {
      EXPECT_EQ(root, 12345u) << c.path;
      EXPECT_EQ(subkey, "unchanged") << c.path;
    }
  }
}

TEST(FullRegistryPath, AnUnknownRootDoesNotParseBack) {
  EXPECT_EQ(FullRegistryPath(kCurrentUser, "Software\\X"), "HKEY_CURRENT_USER\\Software\\X");
  RootKey root = 0;
  std::string subkey;
  EXPECT_FALSE(SplitRegistryPath(FullRegistryPath(0x90000000u, "Software"), root, subkey));
}
