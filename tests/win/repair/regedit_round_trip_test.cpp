// Round trips through the real registry editor: values of every kind are
// exported, deleted and imported again with `regedit /s`, and the registry
// is compared with its state before. regedit is another process and does
// not see a sandbox, so these tests work below the real
// HKEY_CURRENT_USER\Software and remove their keys afterwards.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstdio>

#include "registry_snapshot.h"
#include "repair/backup_fidelity.h"
#include "repair/reg_export_writer.h"
#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"

namespace {

class RealScratchKey {
 public:
  RealScratchKey() {
    static int sequence = 0;
    char name[64];
    std::snprintf(name, sizeof name, "%lu-%d", GetCurrentProcessId(), ++sequence);
    subkey_ = std::string("Software\\KelvaneRoundTrip\\") + name;
    SHDeleteKeyA(HKEY_CURRENT_USER, subkey_.c_str());
  }
  ~RealScratchKey() {
    SHDeleteKeyA(HKEY_CURRENT_USER, subkey_.c_str());
    // The parent goes when no other run uses it.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KelvaneRoundTrip");
  }
  RealScratchKey(const RealScratchKey&) = delete;
  RealScratchKey& operator=(const RealScratchKey&) = delete;

  // The subkey below HKEY_CURRENT_USER, optionally with a further path.
  std::string operator/(const std::string& relative) const { return subkey_ + "\\" + relative; }
  std::wstring Wide(const std::wstring& relative) const {
    return AnsiToWide(subkey_) + L"\\" + relative;
  }

 private:
  std::string subkey_;
};

class RegeditRoundTrip : public ::testing::Test {
 protected:
  // Backs the key up as the fix does, deletes it and imports the backup.
  void ExportDeleteAndRestore(const std::string& subkey) {
    const std::string file = folder / "backup.reg";
    FILE* out = std::fopen(file.c_str(), "w");
    ASSERT_NE(out, nullptr);
    ExportKey("HKEY_CURRENT_USER\\" + subkey, out, 1);
    std::fclose(out);
    ASSERT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, subkey.c_str()), ERROR_SUCCESS);
    ASSERT_TRUE(SnapshotTree(subkey).empty());
    ASSERT_TRUE(ImportWithRegedit(file));
  }

  RealScratchKey scratch;
  ScratchFolder folder;
};

// A character of the upper half of the ANSI code page that converts to
// UTF-16 and back unchanged, or 0 when there is none among the candidates.
char UpperHalfAnsiLetter() {
  for (unsigned char c : {0xE9, 0xE4, 0xC0, 0xA9}) {
    const std::string text(1, static_cast<char>(c));
    if (!IsDBCSLeadByte(c) && WideToAnsi(AnsiToWide(text)) == text && AnsiToWide(text).size() == 1)
      return static_cast<char>(c);
  }
  return 0;
}

void BuildEveryKind(const std::string& set) {
  const std::string longText(5000, 'L');
  unsigned char bytes[100];
  for (int i = 0; i < 100; ++i) bytes[i] = static_cast<unsigned char>(i * 7);

  SetString(kCurrentUser, set, "", "the default value");
  SetString(kCurrentUser, set, "quote\"name", "a \"quoted\" value");
  SetString(kCurrentUser, set, "back\\slash\\name", "C:\\dir\\file.exe");
  SetString(kCurrentUser, set, "\\", "\\");
  SetString(kCurrentUser, set, "\"", "\"\"");
  SetString(kCurrentUser, set, "\\\"both\"\\", "end\\");
  SetString(kCurrentUser, set, "@", "at");
  SetString(kCurrentUser, set, " blank; [name] = x ", "semi;colon # hash");
  SetString(kCurrentUser, set, "long", longText);
  SetString(kCurrentUser, set, "empty string", "");
  SetValue(kCurrentUser, set, "no data string", REG_SZ, "", 0);
  SetValue(kCurrentUser, set, "embedded nul", REG_SZ, "a\0b\0", 4);
  SetValue(kCurrentUser, set, "only nuls", REG_SZ, "\0\0\0", 3);
  SetString(kCurrentUser, set, "crlf", "line1\r\nline2");
  SetString(kCurrentUser, set, "lone lf", "a\nb");
  SetString(kCurrentUser, set, "control", "tab\there\x01\x1b\x7f");
  if (const char letter = UpperHalfAnsiLetter()) {
    SetString(kCurrentUser, set, std::string("ansi ") + letter, std::string("caf") + letter);
    SetString(kCurrentUser, set + "\\key " + letter, "v", std::string(1, letter), REG_EXPAND_SZ);
  }
  SetString(kCurrentUser, set, "expand", "%SystemRoot%\\system32", REG_EXPAND_SZ);
  SetValue(kCurrentUser, set, "expand empty", REG_EXPAND_SZ, "", 0);
  SetValue(kCurrentUser, set, "multi", REG_MULTI_SZ, "one\0two\0\0", 9);
  SetValue(kCurrentUser, set, "multi empty", REG_MULTI_SZ, "\0", 1);
  SetValue(kCurrentUser, set, "multi none", REG_MULTI_SZ, "", 0);
  SetValue(kCurrentUser, set, "binary", REG_BINARY, bytes, sizeof bytes);
  SetValue(kCurrentUser, set, "binary 23", REG_BINARY, bytes, 23);
  SetValue(kCurrentUser, set, "binary 24", REG_BINARY, bytes, 24);
  SetValue(kCurrentUser, set, "binary empty", REG_BINARY, "", 0);
  SetDword(kCurrentUser, set, "dword", 0xDEADBEEF);
  SetValue(kCurrentUser, set, "short dword", REG_DWORD, "\x05\x06", 2);
  SetValue(kCurrentUser, set, "long dword", REG_DWORD, "\x01\x02\x03\x04\x05\x06", 6);
  SetValue(kCurrentUser, set, "empty dword", REG_DWORD, "", 0);
  SetValue(kCurrentUser, set, "type 0", REG_NONE, "\x01\x02\x03", 3);
  SetValue(kCurrentUser, set, "type 0 empty", REG_NONE, "", 0);
  SetValue(kCurrentUser, set, "type 5", REG_DWORD_BIG_ENDIAN, "\x00\x00\x01\x00", 4);
  SetValue(kCurrentUser, set, "type 6", REG_LINK, "\\\0R\0e\0g\0", 8);
  SetValue(kCurrentUser, set, "type 8", REG_RESOURCE_LIST, bytes, 40);
  SetValue(kCurrentUser, set, "type 9", REG_FULL_RESOURCE_DESCRIPTOR, bytes, 9);
  SetValue(kCurrentUser, set, "type 10", REG_RESOURCE_REQUIREMENTS_LIST, bytes, 10);
  SetValue(kCurrentUser, set, "type 11", REG_QWORD, "\x01\x02\x03\x04\x05\x06\x07\x08", 8);
  SetValue(kCurrentUser, set, "type 16", 16, "\x10", 1);
  SetValue(kCurrentUser, set, "type 0x12345", 0x12345, "\xAB\xCD", 2);
  SetValue(kCurrentUser, set, "type 0xffffffff", 0xFFFFFFFFu, "\x01", 1);

  CreateKey(kCurrentUser, set + "\\Empty");
  SetString(kCurrentUser, set + "\\Sub", "", "sub default");
  SetDword(kCurrentUser, set + "\\Sub\\Deeper", "n", 7);
  CreateKey(kCurrentUser, set + "\\Sub\\Deeper\\Empty leaf");
  SetString(kCurrentUser, set + "\\Only subkeys\\A\\B", "leaf", "x");
  SetString(kCurrentUser, set + "\\With ] bracket [", "v", "1");
  SetString(kCurrentUser, set + "\\ spaced ", "v", "2");
  SetString(kCurrentUser, set + "\\q\"uote;x", "v", "3");
}

}  // namespace

TEST_F(RegeditRoundTrip, EveryKindOfValueAndKeyComesBackExactly) {
  const std::string set = scratch / "Set";
  BuildEveryKind(set);
  const WideSnapshot before = SnapshotTree(set);
  ASSERT_GT(before.size(), 10u);

  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, set, "", true));
  for (const auto& key : before) {
    const std::string path = key.first.empty() ? set : set + "\\" + WideToAnsi(key.first);
    EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, path, "", true)) << path;
    for (const auto& value : key.second)
      EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, path, WideToAnsi(value.first), false))
          << path << " / " << WideToAnsi(value.first);
  }

  ExportDeleteAndRestore(set);
  EXPECT_EQ(SnapshotDifferences(before, SnapshotTree(set)), "");
}

TEST_F(RegeditRoundTrip, BackupCheckForeseesExactlyWhatDoesNotComeBack) {
  const std::wstring cyrillic = L"\x0418\x043C\x044F";  // a Cyrillic word
  const std::wstring cjk = L"\x540D\x524D";             // two CJK characters
  if (AnsiToWide(WideToAnsi(cyrillic + cjk)) == cyrillic + cjk)
    GTEST_SKIP() << "the ANSI code page holds these characters";
  const std::string lossy = scratch / "Lossy";
  const std::wstring wide = scratch.Wide(L"Lossy");

  struct Case {
    const char* key;  // below Lossy
    bool restores;    // what the import is known to do
  };
  const Case cases[] = {
      {"CyrillicName", false},       {"CyrillicData", false}, {"CjkKey", false},
      {"CjkExpand", false},          {"NoTerminator", false}, {"OddLength", false},
      {"LineBreakName", false},      {"LineBreakKey", false}, {"Fine", true},
      {"MultiWithoutListEnd", true},
  };
  // The setters add a terminator the count leaves out when one follows in
  // memory, so the character after the counted two is not a NUL.
  const wchar_t noTerminator[] = L"abX";
  const wchar_t multi[] = L"a\0b";  // both strings ended, the list end missing
  SetWideValue(wide + L"\\CyrillicName", cyrillic, REG_SZ, L"x", 4);
  SetWideValue(wide + L"\\CyrillicData", L"v", REG_SZ, (cyrillic + L'\0').c_str(),
               static_cast<DWORD>((cyrillic.size() + 1) * 2));
  SetWideValue(wide + L"\\CjkKey\\" + cjk, L"v", REG_SZ, L"1", 4);
  SetWideValue(wide + L"\\CjkExpand", L"v", REG_EXPAND_SZ, (cjk + L'\0').c_str(),
               static_cast<DWORD>((cjk.size() + 1) * 2));
  SetWideValue(wide + L"\\NoTerminator", L"v", REG_SZ, noTerminator, 4);
  SetWideValue(wide + L"\\OddLength", L"v", REG_SZ, "abc", 3);
  SetString(kCurrentUser, lossy + "\\LineBreakName", "a\nb", "1");
  CreateKey(kCurrentUser, lossy + "\\LineBreakKey\\a\nb");
  SetString(kCurrentUser, lossy + "\\Fine", "v", "1");
  SetWideValue(wide + L"\\MultiWithoutListEnd", L"v", REG_MULTI_SZ, multi, 8);

  bool predicted[sizeof cases / sizeof cases[0]];
  for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    predicted[i] = BackupRestoresExactly(kCurrentUser, lossy + "\\" + cases[i].key, "", true);
    EXPECT_EQ(predicted[i], cases[i].restores) << cases[i].key;
  }
  // The single values as a scan names them (through the ANSI API).
  EXPECT_FALSE(
      BackupRestoresExactly(kCurrentUser, lossy + "\\CyrillicName", WideToAnsi(cyrillic), false));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, lossy + "\\CyrillicData", "v", false));
  EXPECT_FALSE(
      BackupRestoresExactly(kCurrentUser, lossy + "\\CjkKey\\" + WideToAnsi(cjk), "", true));
  EXPECT_FALSE(
      BackupRestoresExactly(kCurrentUser, lossy + "\\CjkKey\\" + WideToAnsi(cjk), "v", false));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, lossy + "\\NoTerminator", "v", false));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, lossy + "\\LineBreakName", "a\nb", false));
  EXPECT_TRUE(BackupRestoresExactly(kCurrentUser, lossy + "\\Fine", "v", false));
  EXPECT_FALSE(BackupRestoresExactly(kCurrentUser, lossy, "", true));

  const WideSnapshot before = SnapshotTree(lossy);
  ExportDeleteAndRestore(lossy);
  const WideSnapshot after = SnapshotTree(lossy);
  for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    const std::wstring part = AnsiToWide(cases[i].key);
    const std::string differences =
        SnapshotDifferences(Subtree(before, part), Subtree(after, part));
    EXPECT_EQ(differences.empty(), predicted[i]) << cases[i].key << "\n" << differences;
  }
}
