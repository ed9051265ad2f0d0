// Partial backups: the REGEDIT4 bytes the writer puts on disk, the fix that
// backs issues up before it deletes them, and what `regedit /s` gives back.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "foundation/ansi_text.h"
#include "foundation/file_checks.h"
#include "foundation/registry_key.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "repair/backup_fidelity.h"
#include "repair/backup_manager.h"
#include "scan/cannot_remove_list.h"
#include "repair/fix_jobs.h"
#include "repair/issue_fixer.h"
#include "repair/reg_import_model.h"
#include "repair_test_support.h"
#include "support/registry_sandbox.h"

using namespace kelvane;

namespace {

// An issue below HKEY_CURRENT_USER: one value, or without a name the whole key.
ScanIssue Issue(const std::string& key, const char* valueName = nullptr) {
  return {kCurrentUser,
          key,
          valueName ? valueName : "",
          "",
          "",
          valueName ? REG_SZ : kWholeKeyType,
          valueName == nullptr};
}

// Every key (relative to the start) and value of a tree, as the wide API reports them.
void ReadTree(HKEY parent, const std::wstring& name, const std::wstring& path, WideRegTree& tree) {
  RegKey key;
  if (key.OpenFollowingLinks(parent, name) != ERROR_SUCCESS) return;
  const HKEY opened = key.Get();
  WideRegValues& values = tree[path];
  const DWORD kLongestName = 16384;  // the longest name the registry allows
  const DWORD kDataSize = 1 << 16;   // more than any value of these tests holds
  std::vector<wchar_t> text(kLongestName);
  std::vector<unsigned char> data(kDataSize);
  for (DWORD i = 0;; ++i) {
    DWORD length = kLongestName, size = kDataSize, type = 0;
    if (RegEnumValueW(opened, i, text.data(), &length, nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS)
      break;
    values[{text.data(), length}] = {type, {data.begin(), data.begin() + size}};
  }
  for (DWORD i = 0;; ++i) {
    DWORD length = kLongestName;
    if (RegEnumKeyExW(opened, i, text.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    const std::wstring child(text.data(), length);
    ReadTree(opened, child, path.empty() ? child : path + L"\\" + child, tree);
  }
}

// The backup lines of the fixture's entries on disk, where a text stream ends lines in CR LF.
const std::string kName =
    "[HKEY_CURRENT_USER\\Software\\Demo]\r\n\"Name\"=\"C:\\\\Demo\\\\demo.exe\"\r\n";
const std::string kCount =
    "[HKEY_CURRENT_USER\\Software\\Dead\\Sub]\r\n\"Count\"=dword:0000002a\r\n";
const std::string kDead =
    "[HKEY_CURRENT_USER\\Software\\Dead]\r\n"
    "[HKEY_CURRENT_USER\\Software\\Dead\\Empty]\r\n" +
    kCount;

class PartialBackup : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    SetString(kCurrentUser, "Software\\Demo", "Name", "C:\\Demo\\demo.exe");
    SetString(kCurrentUser, "Software\\Demo", "", "default");
    CreateKey(kCurrentUser, "Software\\Dead\\Empty");  // sorted names: the same walk order
    SetDword(kCurrentUser, "Software\\Dead\\Sub", "Count", 42);  // wherever the registry sorts
  }
  std::string CannotRemoveFile() const { return ReadWholeFile(program / "tmp_rccantremove.lst"); }
  RegistrySandbox sandbox;
};

using RegeditRoundTrip = ProgramFolderTest;

}  // namespace

TEST_F(PartialBackup, FixBacksUpEverythingThenDeletes) {
  // The key again and a value inside it: gone through the earlier deletion, which is no failure.
  const FixResult result =
      FixIssues({Issue("Software\\Demo", "Name"), Issue("Software\\Dead"),
                 Issue("Software\\Dead\\Sub", "Count"), Issue("Software\\Dead")},
                program.path());
  EXPECT_EQ(result.deleted, 4u);
  EXPECT_FALSE(ValueExists(kCurrentUser, "Software\\Demo", "Name"));
  EXPECT_TRUE(ValueExists(kCurrentUser, "Software\\Demo", ""));
  EXPECT_FALSE(KeyExists(kCurrentUser, "Software\\Dead"));
  EXPECT_EQ(CannotRemoveFile(), "");
  // A second fix, most likely within the same second, leaves the first backup as it was.
  const FixResult second = FixIssues({Issue("Software\\Demo", "")}, program.path());
  EXPECT_NE(ReadWholeFile(second.backupPath).find("@=\"default\""), std::string::npos);
  EXPECT_EQ(ReadWholeFile(result.backupPath), "REGEDIT4\r\n" + kName + kDead + kCount + kDead);
}

TEST_F(PartialBackup, FixDeletesNothingWhenTheBackupAskedForCannotBeWritten) {
  program.WriteFile("PartialBackup", "in the way of the folder");
  FixResult result =
      FixIssues({Issue("Software\\Demo", "Name"), Issue("Software\\Dead")}, program.path());
  EXPECT_TRUE(result.backupFailed);
  EXPECT_EQ(result.deleted, 0u);
  EXPECT_TRUE(ValueExists(kCurrentUser, "Software\\Demo", "Name"));
  EXPECT_TRUE(KeyExists(kCurrentUser, "Software\\Dead\\Sub"));
  EXPECT_EQ(CannotRemoveFile(), "");
  // The interactive fix keeps its rows and writes nothing then.
  EXPECT_FALSE(FinishInteractiveFix(result, 2));
  EXPECT_EQ(ReadSetting(kKeyErrorCount), "");
  EXPECT_EQ(ReadSetting(kKeyLastClean), "");
  // Without a backup asked for the issues go at once; an empty key never names the root.
  WriteSettingInt(kKeyBackupWhenClean, 0);
  result = FixIssues({Issue("Software\\Dead"), Issue("")}, program.path());
  EXPECT_EQ(result.deleted, 1u);
  EXPECT_TRUE(result.backupPath.empty());
  EXPECT_FALSE(KeyExists(kCurrentUser, "Software\\Dead"));
  EXPECT_TRUE(KeyExists(kCurrentUser, "Software\\Demo"));
  EXPECT_TRUE(FinishInteractiveFix(result, 7));
  EXPECT_EQ(ReadSettingInt(kKeyErrorCount, -1), 7);
  EXPECT_FALSE(ReadSetting(kKeyLastClean).empty());
}

// The fix and the restore for real: the registry editor is another process
// and sees no sandbox, so this works below the real registry.
TEST_F(RegeditRoundTrip, GivesBackExactlyWhatTheBackupCheckVouchesFor) {
  RealScratchKey scratch;
  const std::string set = scratch.path() + "\\Set", lossy = scratch.path() + "\\Lossy";
  // clang-format off
  const std::pair<const char*, std::string> strings[] = {
      {"", "the default value"},  {"quote\"name", "a \"quoted\" value"},
      {"\\\"both\"\\", "end\\"},  {"back\\slash", "C:\\dir\\file.exe"},
      {"@", "at"},                {" blank; [name] = x ", "semi;colon # hash"},
      {"empty", ""},              {"long", std::string(5000, 'L')},
      {"crlf", "line1\r\nline2"}, {"control", "tab\there\x01\x1b\x7f"}};
  const struct { const char* name; DWORD type; std::string data; } raw[] = {
      {"no data", REG_SZ, ""},           {"embedded nul", REG_SZ, {"a\0b\0", 4}},
      {"expand", REG_EXPAND_SZ, {"%x%\0", 4}}, {"multi", REG_MULTI_SZ, {"one\0two\0\0", 9}},
      {"multi none", REG_MULTI_SZ, ""},  {"dword", REG_DWORD, "\xEF\xBE\xAD\xDE"},
      {"short dword", REG_DWORD, "\x05\x06"}};
  // clang-format on
  for (const auto& s : strings) SetString(kCurrentUser, set, s.first, s.second);
  for (const auto& r : raw)
    SetValue(kCurrentUser, set, r.name, r.type, r.data.data(), static_cast<DWORD>(r.data.size()));
  unsigned char bytes[100];
  for (int i = 0; i < 100; ++i) bytes[i] = static_cast<unsigned char>(i * 7);
  DWORD size = 0;  // 0, 9, 18, ... 90 bytes: empty and wrapped lists too
  for (DWORD type : {0u, 3u, 5u, 6u, 8u, 9u, 10u, 11u, 16u, 0x12345u, 0xFFFFFFFFu}) {
    SetValue(kCurrentUser, set, "type " + std::to_string(type), type, bytes, size);
    size += 9;
  }
  if (WideToAnsi(AnsiToWide("\xE9")) == "\xE9") {  // an upper-half letter of the code page
    SetString(kCurrentUser, set, "ansi \xE9", "caf\xE9");
    SetString(kCurrentUser, set + "\\key \xE9", "v", "\xE9", REG_EXPAND_SZ);
  }
  CreateKey(kCurrentUser, set + "\\Sub\\Deeper\\Empty leaf");
  SetString(kCurrentUser, set + "\\Only subkeys\\A\\B", "leaf", "x");
  for (const char* key : {"With ] bracket [", " spaced ", "q\"uote;x"})
    SetString(kCurrentUser, set + "\\" + key, "v", "1");

  // What the backup cannot carry: names and data beyond the ANSI code page
  // (a scan sees '?'), strings the import terminates, line breaks in names.
  auto setWide = [](const std::wstring& key, const wchar_t* name, DWORD type, const void* data,
                    DWORD size) {
    EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data, size), 0);
  };
  const std::wstring georgian = L"\x10D0\x10D1\x10D2", wide = AnsiToWide(lossy) + L"\\";
  ASSERT_NE(AnsiToWide(WideToAnsi(georgian)), georgian) << "no ANSI code page holds these";
  setWide(wide + L"ForeignName", georgian.c_str(), REG_SZ, L"x", 4);
  setWide(wide + L"ForeignData", L"v", REG_SZ, (georgian + L'\0').c_str(), 8);
  setWide(wide + L"ForeignKey\\" + georgian, L"v", REG_SZ, L"1", 4);
  setWide(wide + L"NoTerminator", L"v", REG_SZ, L"abX", 4);  // no NUL after "ab"
  setWide(wide + L"OddLength", L"v", REG_EXPAND_SZ, "abc", 3);
  SetString(kCurrentUser, lossy + "\\LineBreakName", "a\nb", "1");
  CreateKey(kCurrentUser, lossy + "\\LineBreakKey\\a\nb");
  SetString(kCurrentUser, lossy + "\\Fine", "v", "1");
  setWide(wide + L"MultiWithoutListEnd", L"v", REG_MULTI_SZ, L"a\0b", 8);
  // clang-format off
  const std::pair<const char*, bool> keys[] = {  // below the scratch key; restored exactly
      {"Set", true},                    {"Lossy\\Fine", true},
      {"Lossy\\ForeignName", false},    {"Lossy\\ForeignData", false},
      {"Lossy\\ForeignKey", false},     {"Lossy\\NoTerminator", false},
      {"Lossy\\OddLength", false},      {"Lossy\\MultiWithoutListEnd", true},
      {"Lossy\\LineBreakName", false},  {"Lossy\\LineBreakKey", false}};
  const std::pair<std::string, std::string> lossyValues[] = {  // named through the ANSI API
      {"ForeignName", WideToAnsi(georgian)}, {"ForeignKey\\" + WideToAnsi(georgian), "v"},
      {"ForeignData", "v"},                  {"NoTerminator", "v"}};
  // clang-format on
  std::vector<ScanIssue> issues;
  for (const auto& k : keys) {
    issues.push_back(Issue(scratch.path() + "\\" + k.first));
    EXPECT_EQ(BackupRestoresExactly(kCurrentUser, issues.back().key, "", true), k.second)
        << k.first;
  }
  for (const auto& v : lossyValues)
    EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, lossy + "\\" + v.first, v.second, false))
        << v.first;
  WideRegTree before, after;
  ReadTree(HKEY_CURRENT_USER, AnsiToWide(scratch.path()), L"", before);
  for (const auto& key : Subtree(before, L"Set")) {
    const std::string path = scratch.path() + "\\" + WideToAnsi(key.first);
    for (const auto& value : key.second)
      EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, path, WideToAnsi(value.first), false))
          << path << " / " << WideToAnsi(value.first);
  }
  std::string upper = set;  // spelt in another case, as the ANSI API accepts it
  CharUpperA(&upper[0]);
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, upper, "DWORD", false));

  // Only what comes back exactly is deleted and backed up; the rest stays.
  const FixResult result = FixIssues(issues, program.path());
  const std::string backup = ReadWholeFile(result.backupPath);
  const std::string cannotRemove = ReadWholeFile(program / "tmp_rccantremove.lst");
  for (const auto& k : keys) {
    EXPECT_EQ(KeyExists(kCurrentUser, scratch.path() + "\\" + k.first), !k.second) << k.first;
    EXPECT_EQ(backup.find(k.first) != std::string::npos, k.second) << k.first;
    EXPECT_EQ(cannotRemove.find(k.first + std::string("\r\n")) != std::string::npos, !k.second);
  }
  ASSERT_TRUE(RestorePartialBackup(result.backupPath));
  EXPECT_FALSE(PathExists(result.backupPath));  // consumed
  ReadTree(HKEY_CURRENT_USER, AnsiToWide(scratch.path()), L"", after);
  for (const auto& k : keys)
    EXPECT_TRUE(Subtree(before, AnsiToWide(k.first)) == Subtree(after, AnsiToWide(k.first)))
        << k.first;
}
