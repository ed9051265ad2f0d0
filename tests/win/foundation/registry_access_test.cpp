#include "foundation/registry_access.h"

#include <gtest/gtest.h>

#include "support/registry_sandbox.h"

using namespace kelvane;

TEST(RegistrySandboxTest, ATestSeesExactlyTheRegistryItBuilds) {
  const RootKey roots[] = {kClassesRoot, kCurrentUser, kLocalMachine, kUsers};
  char name[MAX_PATH];
  {
    RegistrySandbox sandbox;
    for (RootKey root : roots)
      EXPECT_EQ(RegEnumKeyA(ToHkey(root), 0, name, MAX_PATH), ERROR_NO_MORE_ITEMS);
    for (RootKey root : roots) CreateKey(root, "Only in " + RootKeyName(root));
    for (RootKey root : roots)
      EXPECT_EQ(RegEnumKeyA(ToHkey(root), 1, name, MAX_PATH), ERROR_NO_MORE_ITEMS);
  }
  EXPECT_TRUE(KeyExists(kLocalMachine, "Software\\Microsoft"));  // the real roots are back
  for (RootKey root : roots) EXPECT_FALSE(KeyExists(root, "Only in " + RootKeyName(root)));
}

TEST(RegistryAccess, DeleteRegistryValueAndReadRegistryString) {
  RegistrySandbox sandbox;
  const std::string demo = "Software\\Demo";
  for (const char* name : {"Gone", "Kept", ""}) SetString(kCurrentUser, demo, name, "x");
  EXPECT_TRUE(DeleteRegistryValue("HKEY_CURRENT_USER\\Software\\Demo", "Gone"));
  EXPECT_TRUE(DeleteRegistryValue("\\hkey_current_user\\Software\\Demo\\", ""));
  EXPECT_FALSE(DeleteRegistryValue("HKEY_CURRENT_USER\\Software\\Demo", "Gone"));
  for (const char* path : {"HKEY_CURRENT_USER\\Software\\NoSuchKey", "HKCU\\Software\\Demo", ""})
    EXPECT_FALSE(DeleteRegistryValue(path, "Kept")) << path;
  EXPECT_FALSE(ValueExists(kCurrentUser, demo, "Gone"));
  EXPECT_FALSE(ValueExists(kCurrentUser, demo, "")) << "the default value";
  EXPECT_TRUE(ValueExists(kCurrentUser, demo, "Kept"));

  const std::string key = "Software\\Shell", longText(5000, 'p');
  SetString(kLocalMachine, key, "", longText);
  SetString(kLocalMachine, key, "Expand", "%TEMP%\\x", REG_EXPAND_SZ);
  SetValue(kLocalMachine, key, "Multi", REG_MULTI_SZ, "first\0second\0", 14);
  SetDword(kLocalMachine, key, "Number", 0x41);
  SetValue(kLocalMachine, "Software\\Raw", "", REG_BINARY, "abc", 3);  // no terminating zero
  const std::pair<const char*, std::string> cases[] = {
      {"", longText}, {"Expand", "%TEMP%\\x"}, {"Multi", "first"}, {"Number", "A"}, {"None", ""}};
  for (const auto& c : cases) EXPECT_EQ(ReadRegistryString(kLocalMachine, key, c.first), c.second);
  EXPECT_EQ(ReadRegistryString(kLocalMachine, "Software\\Raw", ""), "abc");
  EXPECT_EQ(ReadRegistryString(kLocalMachine, "Software\\NoSuchKey", "Number"), "");
}

TEST(RegKeyTest, OwnsItsHandleAcrossMoves) {
  RegistrySandbox sandbox;
  CreateKey(kCurrentUser, "Software\\Owned");
  RegKey first = OpenRegKey(kCurrentUser, "Software\\Owned");
  const HKEY handle = first.Get();
  RegKey second(std::move(first)), third;
  third = std::move(second);
  EXPECT_NE(handle, nullptr) << "the key opened";
  EXPECT_EQ(third.Get(), handle) << "moved twice, the same handle";
  EXPECT_FALSE(first.IsOpen()) << "moved from";
  EXPECT_FALSE(second.IsOpen()) << "moved from";
  EXPECT_NE(third.Open(kCurrentUser, "Software\\Missing"), ERROR_SUCCESS);
  EXPECT_EQ(third.Get(), handle) << "a failed open leaves the key it held";
}
