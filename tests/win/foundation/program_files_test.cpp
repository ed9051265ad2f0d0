// The program's own files: Settings.ini, the language files, its version resource.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <vector>

#include "foundation/language_choice.h"
#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

using namespace kelvane;

TEST(ProgramFiles, SettingsStoreDecimalsAndExpandOnlyTheFirstPathToken) {
  ScratchFolder folder;
  SetSettingsPaths(folder / "Settings.ini", folder / "Settings.xml");
  EXPECT_TRUE(WriteSettingInt(kKeyErrorCount, -1));
  EXPECT_NE(ReadWholeFile(folder / "Settings.ini").find("ErrorCnt=-1"), std::string::npos);

  char buffer[MAX_PATH];
  const std::string windows(buffer, GetWindowsDirectoryA(buffer, MAX_PATH));
  const std::string program = GetProgramFolder();
  const std::pair<const char*, std::string> cases[] = {
      {"%module_path%\\x", program + "\\x"},
      {"%temp_path%\\%module_path%", "%temp_path%\\" + program},
      {"%system_path%;%window_path%;%window_path%", "%system_path%;" + windows + ";" + windows},
      {"%MODULE_PATH%\\x", "%MODULE_PATH%\\x"}};
  for (const auto& c : cases) {
    WriteSetting(kKeySkinName, c.first);
    EXPECT_EQ(ReadSetting(kKeySkinName), c.second) << c.first;
  }
  SetSettingsPaths("", "");
  EXPECT_EQ(ProgramFolderOf("C:\\Tools\\Kelvane.exe"), "C:\\Tools");
  EXPECT_EQ(ProgramFolderOf("C:\\Kelvane.exe"), "C:");
  EXPECT_EQ(ProgramFolderOf("\\\\server\\share\\Tools\\Kelvane.exe"), "\\\\server\\share\\Tools");
}

namespace {

// The printf conversions of a text, in order, with everything else dropped.
std::string Conversions(const std::string& text) {
  return std::regex_replace(text, std::regex("(%[-+ #0-9.]*(I64)?[a-zA-Z])|%%|[^%]+|%"), "$1");
}

// Section "String" of a language file, read as the program reads it; a key
// that comes twice is counted under "duplicate".
std::map<std::string, std::string> LanguageTexts(const std::string& file) {
  std::vector<char> buffer(1 << 20, 0);
  const DWORD length = GetPrivateProfileSectionA("String", buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), file.c_str());
  std::map<std::string, std::string> texts;
  for (const char* line = buffer.data(); line < buffer.data() + length && *line;
       line += std::strlen(line) + 1) {
    const std::string entry = line;
    const std::size_t equals = entry.find('=');
    const std::string key = entry.substr(0, equals);
    if (!texts.emplace(key, equals == std::string::npos ? "" : entry.substr(equals + 1)).second)
      texts["duplicate"] += key + " ";
  }
  return texts;
}

// Whether the bytes beyond ASCII in `bytes` all read as UTF-8 sequences: a
// language file saved so would show every umlaut as two garbled characters,
// since the profile functions read it in the ANSI code page.
bool ReadsAsUtf8BeyondAscii(const std::string& bytes) {
  bool beyondAscii = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    const int trail = lead < 0x80             ? 0
                      : (lead & 0xE0) == 0xC0 ? 1
                      : (lead & 0xF0) == 0xE0 ? 2
                      : (lead & 0xF8) == 0xF0 ? 3
                                              : -1;
    if (trail < 0 || i + trail >= bytes.size()) return false;
    for (int k = 1; k <= trail; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    beyondAscii = beyondAscii || trail > 0;
    i += static_cast<std::size_t>(trail) + 1;
  }
  return beyondAscii;
}

}  // namespace

TEST(ShippedFiles, EnglishFormatsCarryTheConversionsTheirCallersPassAndTheProgramItsVersion) {
  UseRepositoryLanguage();
  const auto conversions = [](const char* key) { return Conversions(LanguageText(key)); };
  for (const char* category : {"L0045", "L0047", "L0048", "L0049", "L0050", "L0051", "L0052",
                               "L0053", "L0054", "L0055", "L0056"})
    EXPECT_EQ(conversions(category), "%s") << category;
  EXPECT_EQ(conversions("L0090"), "%02d%02d%04d%02d%02d%02d");
  for (const char* done : {"L0149", "L0167", "L0170"}) {
    EXPECT_EQ(conversions(done), "%s%I64d") << done;
    EXPECT_NE(FormatLanguageText(done, "today", 12345678901LL).find("12345678901"),
              std::string::npos);
  }
  EXPECT_EQ(GetProductName(KelvaneExePath()), "Kelvane");
  EXPECT_EQ(GetProductVersion(KelvaneExePath()), "3.0");
  EXPECT_EQ(GetProductName(SourcePath("package\\Language\\English.txt")), "");  // no resource
}

TEST(ShippedFiles, EveryLanguageHasTheEnglishKeysWithTheirConversionsAndAFlag) {
  const std::string package = SourcePath("package");
  const auto english = LanguageTexts(package + "\\Language\\English.txt");
  ASSERT_GT(english.size(), 100u);
  EXPECT_EQ(english.count("duplicate"), 0u) << english.at("duplicate");
  const auto languages = ListLanguageFiles(package);
  ASSERT_GE(languages.size(), 2u);  // English and at least one translation
  for (const LanguageEntry& language : languages) {
    SCOPED_TRACE(language.fileName);
    const std::string file = package + "\\Language\\" + language.fileName;
    const auto texts = LanguageTexts(file);
    for (const auto& [key, text] : texts)
      EXPECT_TRUE(english.count(key)) << key << " is no English key: " << text;
    for (const auto& [key, englishText] : english) {
      const auto found = texts.find(key);
      if (found == texts.end()) {
        ADD_FAILURE() << key << " is missing";
        continue;
      }
      // An empty text would silently show the English one.
      EXPECT_FALSE(found->second.empty()) << key;
      EXPECT_EQ(Conversions(found->second), Conversions(englishText)) << key;
      // Word lists ("Sun|Mon|...") are picked from by position.
      EXPECT_EQ(std::count(found->second.begin(), found->second.end(), '|'),
                std::count(englishText.begin(), englishText.end(), '|'))
          << key;
    }
    EXPECT_FALSE(ReadsAsUtf8BeyondAscii(ReadWholeFile(file))) << "saved as UTF-8, not ANSI";
    EXPECT_EQ(LanguageFlagPath(package, language.fileName),
              package + "\\Language\\" + language.title + ".bmp");
  }
}

TEST(ShippedFiles, Utf8IsToldFromAnsiText) {
  EXPECT_TRUE(ReadsAsUtf8BeyondAscii("L0017=L\xC3\xB6schen"));
  EXPECT_TRUE(ReadsAsUtf8BeyondAscii("\xEF\xBB\xBF[String]"));  // byte order mark
  EXPECT_FALSE(
      ReadsAsUtf8BeyondAscii("L0017=L\xF6schen\nL0037=Schlie\xDF"
                             "en"));
  EXPECT_FALSE(
      ReadsAsUtf8BeyondAscii("L0029=\x84"
                             "Defragmentieren\x93"));
  EXPECT_FALSE(ReadsAsUtf8BeyondAscii("L0001=Home"));  // nothing beyond ASCII to tell
  EXPECT_FALSE(ReadsAsUtf8BeyondAscii("Gr\xC3"));      // cut off after a lead byte
}
