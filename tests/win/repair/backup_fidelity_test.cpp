#include "repair/backup_fidelity.h"

#include <gtest/gtest.h>

#include "registry_snapshot.h"
#include "support/registry_sandbox.h"

namespace {

const std::wstring kCyrillic = L"\x0418\x043C\x044F";

class BackupFidelity : public ::testing::Test {
 protected:
  void SetUp() override {
    if (AnsiToWide(WideToAnsi(kCyrillic)) == kCyrillic)
      GTEST_SKIP() << "the ANSI code page holds these characters";
  }
  // Wide-API values below the sandboxed HKEY_CURRENT_USER.
  static void SetWide(const std::wstring& key, const std::wstring& name, const std::wstring& data) {
    SetWideValue(key, name, REG_SZ, data.c_str(), static_cast<DWORD>((data.size() + 1) * 2));
  }

  RegistrySandbox sandbox;
};

}  // namespace

TEST_F(BackupFidelity, WhatDoesNotExistLosesNothing) {
  SetString(kCurrentUser, "Software\\Demo", "v", "1");
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\Demo", "Missing", false));
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\Demo", "", false));
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\NoSuchKey", "v", false));
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\NoSuchKey", "", true));
  EXPECT_FALSE(BackupRestoresExactly(0x80000009u, "Software\\Demo", "v", false));
}

TEST_F(BackupFidelity, AValueIsJudgedAloneAndAKeyByItsWholeSubtree) {
  SetString(kCurrentUser, "Software\\Mixed", "plain", "C:\\x.exe");
  SetString(kCurrentUser, "Software\\Mixed\\Deep\\Er", "", "ok");
  SetWide(L"Software\\Mixed\\Deep\\Er", L"text", kCyrillic);
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\Mixed", "plain", false));
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\Mixed\\Deep\\Er", "", false));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, "Software\\Mixed\\Deep\\Er", "text", false));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, "Software\\Mixed", "", true));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, "Software\\Mixed\\Deep", "", true));
  // The path may be spelt in another case, as the ANSI API accepts it.
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "software\\mixed", "PLAIN", false));
}

TEST_F(BackupFidelity, NamesTheAnsiApiOnlyApproximatesAreNeverVouchedFor) {
  // A scan names these entries through the ANSI API, with "?" for what the
  // code page lacks; neither the backup nor the deletion reaches them.
  SetWide(L"Software\\Names", kCyrillic, L"x");
  SetWide(L"Software\\Names\\" + kCyrillic + L"\\Below", L"v", L"y");
  const std::string spelt = WideToAnsi(kCyrillic);
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, "Software\\Names", spelt, false));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, "Software\\Names\\" + spelt, "", true));
  EXPECT_FALSE(
      BackupRestoresExactly(kCurrentUser, "Software\\Names\\" + spelt + "\\Below", "v", false));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, "Software\\Names", "", true));
  // Another spelling that no name converts to is simply absent.
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\Names", spelt + "x", false));
}

TEST_F(BackupFidelity, DataTheImportChangesIsCaught) {
  const wchar_t unterminated[] = L"abX";  // counted without the "X", no NUL
  SetWideValue(L"Software\\Data", L"unterminated", REG_SZ, unterminated, 4);
  SetWideValue(L"Software\\Data", L"odd", REG_EXPAND_SZ, "abc", 3);
  SetWideValue(L"Software\\Data", L"terminated", REG_MULTI_SZ, L"a\0b\0", 10);
  SetValue(kCurrentUser, "Software\\Data", "binary", REG_BINARY, "\x00\xff", 2);
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, "Software\\Data", "unterminated", false));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, "Software\\Data", "odd", false));
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\Data", "terminated", false));
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\Data", "binary", false));
}

TEST_F(BackupFidelity, KeysTheBackupCannotNameAreCaught) {
  CreateKey(kCurrentUser, "Software\\Keys\\line\nbreak");
  SetString(kCurrentUser, "Software\\Keys\\Fine", "v", "1");
  CreateKey(kCurrentUser, "Software\\Keys\\Fine\\Empty");
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, "Software\\Keys", "", true));
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, "Software\\Keys\\Fine", "", true));
}
