// Run under a double-byte code page (932): the second byte of a character
// such as U+8868 (0x95 0x5C) or U+30BD (0x83 0x5C) equals a backslash.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include "foundation/file_path_rules.h"
#include "foundation/program_paths.h"
#include "foundation/registry_key.h"
#include "repair/backup_manager.h"
#include "repair/issue_fixer.h"
#include "repair/reg_file_format.h"
#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"

using namespace kelvane;

namespace {

const std::string kHyo = "\x95\x5C";  // U+8868 in code page 932
const std::string kSo = "\x83\x5C";   // U+30BD

std::wstring ReadWide(HKEY root, const wchar_t* key, const wchar_t* name) {
  wchar_t data[256] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(root, key, name, RRF_RT_ANY, nullptr, data, &size) != ERROR_SUCCESS) return L"?";
  return data;
}

}  // namespace

TEST(DoubleByteCodePage, PathsSplitAtWholeCharactersOnly) {
  ASSERT_EQ(GetACP(), 932u) << "run this group with LC_ALL=ja_JP.UTF-8";
  RootKey root = 0;
  std::string subkey;
  ASSERT_TRUE(SplitRegistryPath("HKEY_CURRENT_USER\\Software\\App" + kHyo + "\\", root, subkey));
  EXPECT_EQ(subkey, "Software\\App" + kHyo);
  EXPECT_EQ(GetFileNameOf("C:\\dir\\" + kSo + ".exe", true), kSo + ".exe");
  EXPECT_EQ(ProgramFolderOf("C:\\dir" + kSo + "\\Kelvane.exe"), "C:\\dir" + kSo);
  // Only the real backslash is escaped, not the character's second byte.
  EXPECT_EQ(EscapeQuotedText("C:\\" + kHyo + ".exe"), "C:\\\\" + kHyo + ".exe");
}

TEST(DoubleByteCodePage, TheFixBacksUpAndDeletesExactlyTheKeyItNames) {
  RegistrySandbox sandbox;
  ScratchFolder folder;
  SetSettingsPaths(folder / "Settings.ini", folder / "Settings.xml");
  const std::string entry = "Software\\Uninstall\\App" + kHyo;
  SetString(kCurrentUser, entry, "DisplayName", "App");
  SetString(kCurrentUser, entry + "\\Sub", "Keep", "C:\\Gone\\" + kHyo + ".exe");
  SetString(kCurrentUser, entry + "X", "DisplayName", "neighbour");
  const ScanIssue issue{kCurrentUser, entry, "", "", "", kWholeKeyType, true};

  const FixResult result = FixIssues({issue}, folder.path());
  EXPECT_EQ(result.deleted, 1u);
  EXPECT_FALSE(KeyExists(kCurrentUser, entry));
  EXPECT_TRUE(KeyExists(kCurrentUser, entry + "X"));
  const std::string backup = ReadWholeFile(result.backupPath);
  EXPECT_NE(backup.find("[HKEY_CURRENT_USER\\" + entry + "\\Sub]\r\n\"Keep\"=\"C:\\\\Gone\\\\" +
                        kHyo + ".exe\""),
            std::string::npos)
      << backup;
  EXPECT_EQ(backup.find("neighbour"), std::string::npos);
  SetSettingsPaths("", "");
}

TEST(DoubleByteCodePage, TheRegistryEditorRestoresTheBackupExactly) {
  ScratchFolder folder;
  SetSettingsPaths(folder / "Settings.ini", folder / "Settings.xml");
  const std::wstring wideKey = L"Software\\KelvaneDoubleByte\\App\u8868";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (wideKey + L"\\Sub").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t data[] = L"C:\\\u30bd\\\u8868.exe";
  RegSetValueExW(key, L"Path\u8868", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
  RegCloseKey(key);

  const ScanIssue issue{
      kCurrentUser, "Software\\KelvaneDoubleByte\\App" + kHyo, "", "", "", kWholeKeyType, true};
  const FixResult result = FixIssues({issue}, folder.path());
  ASSERT_EQ(result.deleted, 1u) << ReadWholeFile(folder / "tmp_rccantremove.lst");
  EXPECT_FALSE(KeyExists(kCurrentUser, issue.key));
  EXPECT_TRUE(ImportRegistry(result.backupPath, RegistryEditorPath(), EditorWait::kUntilEnd,
                             ImportMode::kSilent));
  EXPECT_EQ(ReadWide(HKEY_CURRENT_USER, (wideKey + L"\\Sub").c_str(), L"Path\u8868"), data);
  SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\KelvaneDoubleByte");
  SetSettingsPaths("", "");
}
