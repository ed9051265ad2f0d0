#include "foundation/registry_access.h"

#include <gtest/gtest.h>

#include "foundation/registry_key.h"
#include "support/registry_sandbox.h"

class RegistryAccess : public ::testing::Test {
 protected:
  RegistrySandbox sandbox;
};

TEST_F(RegistryAccess, SandboxStartsEmptyAndIsPrivate) {
  RegKey software;
  EXPECT_NE(software.Open(kLocalMachine, "Software\\Microsoft"), ERROR_SUCCESS);
  SetString(kCurrentUser, "Software\\Demo", "Name", "x");
  EXPECT_TRUE(KeyExists(kCurrentUser, "Software\\Demo"));
  EXPECT_FALSE(KeyExists(kLocalMachine, "Software\\Demo"));
}

TEST_F(RegistryAccess, DeleteRegistryValueDeletesOnlyThatValue) {
  SetString(kCurrentUser, "Software\\Demo", "Gone", "1");
  SetString(kCurrentUser, "Software\\Demo", "Kept", "2");
  SetString(kCurrentUser, "Software\\Demo", "", "default");

  EXPECT_TRUE(DeleteRegistryValue("HKEY_CURRENT_USER\\Software\\Demo", "Gone"));
  EXPECT_FALSE(ValueExists(kCurrentUser, "Software\\Demo", "Gone"));
  EXPECT_TRUE(ValueExists(kCurrentUser, "Software\\Demo", "Kept"));

  EXPECT_TRUE(DeleteRegistryValue("\\hkey_current_user\\Software\\Demo\\", ""));
  EXPECT_FALSE(ValueExists(kCurrentUser, "Software\\Demo", ""));
  EXPECT_TRUE(ValueExists(kCurrentUser, "Software\\Demo", "Kept"));
}

TEST_F(RegistryAccess, DeleteRegistryValueReportsEveryFailure) {
  SetString(kCurrentUser, "Software\\Demo", "Kept", "2");
  EXPECT_FALSE(DeleteRegistryValue("HKEY_CURRENT_USER\\Software\\Demo", "Missing"));
  EXPECT_FALSE(DeleteRegistryValue("HKEY_CURRENT_USER\\Software\\NoSuchKey", "Kept"));
  EXPECT_FALSE(DeleteRegistryValue("HKCU\\Software\\Demo", "Kept"));
  EXPECT_FALSE(DeleteRegistryValue("", "Kept"));
  EXPECT_TRUE(ValueExists(kCurrentUser, "Software\\Demo", "Kept"));
}

TEST_F(RegistryAccess, ReadRegistryStringReadsTextOfAnyTypeOrNothing) {
  SetString(kCurrentUser, "Software\\Shell", "Programs", "C:\\Start Menu\\Programs");
  SetString(kCurrentUser, "Software\\Shell", "Expand", "%TEMP%\\x", REG_EXPAND_SZ);
  const char multi[] = "first\0second\0";
  SetValue(kCurrentUser, "Software\\Shell", "Multi", REG_MULTI_SZ, multi, sizeof multi);
  SetDword(kCurrentUser, "Software\\Shell", "Number", 0x41);

  EXPECT_EQ(ReadRegistryString(kCurrentUser, "Software\\Shell", "Programs"),
            "C:\\Start Menu\\Programs");
  EXPECT_EQ(ReadRegistryString(kCurrentUser, "Software\\Shell", "Expand"), "%TEMP%\\x");
  EXPECT_EQ(ReadRegistryString(kCurrentUser, "Software\\Shell", "Multi"), "first");
  EXPECT_EQ(ReadRegistryString(kCurrentUser, "Software\\Shell", "Number"), "A");
  EXPECT_EQ(ReadRegistryString(kCurrentUser, "Software\\Shell", "Missing"), "");
  EXPECT_EQ(ReadRegistryString(kCurrentUser, "Software\\NoKey", "Programs"), "");
}

TEST_F(RegistryAccess, ReadRegistryStringKeepsLongTextWhole) {
  const std::string longText(5000, 'p');
  SetString(kLocalMachine, "Software\\Long", "", longText);
  SetString(kLocalMachine, "Software\\Long", "short", "s");
  EXPECT_EQ(ReadRegistryString(kLocalMachine, "Software\\Long", ""), longText);
  // Data without a terminating zero still comes back as bounded text.
  SetValue(kLocalMachine, "Software\\Long", "raw", REG_BINARY, "abc", 3);
  EXPECT_EQ(ReadRegistryString(kLocalMachine, "Software\\Long", "raw"), "abc");
}

TEST_F(RegistryAccess, RegKeyOwnsItsHandleAcrossMoves) {
  CreateKey(kCurrentUser, "Software\\Owned");
  RegKey first;
  ASSERT_EQ(first.Open(kCurrentUser, "Software\\Owned"), ERROR_SUCCESS);
  RegKey second(std::move(first));
  EXPECT_FALSE(first.IsOpen());
  ASSERT_TRUE(second.IsOpen());
  RegKey third;
  third = std::move(second);
  EXPECT_FALSE(second.IsOpen());
  EXPECT_TRUE(third.IsOpen());
  // A failed open leaves the wrapper empty.
  EXPECT_NE(third.Open(kCurrentUser, "Software\\Missing"), ERROR_SUCCESS);
  EXPECT_FALSE(third.IsOpen());
  // "" reopens the root itself.
  EXPECT_EQ(third.Open(kCurrentUser, ""), ERROR_SUCCESS);
}
