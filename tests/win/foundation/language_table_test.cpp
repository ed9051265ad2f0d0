#include "foundation/language_table.h"

#include <gtest/gtest.h>

#include <regex>

#include "foundation/language_choice.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

namespace {

std::string Caption(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

class LanguageTableTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
  std::string primary = folder.WriteFile("Language\\Deutsch.txt",
                                         "[String]\r\nL0001=Start\r\nL0002=Zeile eins\\nZeile zwei\r\n"
                                         "L0003=a\\\\nb\r\n");
  std::string fallback = folder.WriteFile("Language\\English.txt",
                                          "[String]\r\nL0001=Home\r\nL0004=Defragment\r\n"
                                          "L0104=OK\r\n");
  LanguageTable table;

  void SetUp() override { table.Open(primary, fallback); }
};

TEST_F(LanguageTableTest, PrimaryThenFallbackThenTheKeyItself) {
  EXPECT_EQ(table.Lookup("L0001", true), "Start");
  EXPECT_EQ(table.Lookup("L0004", true), "Defragment");
  EXPECT_EQ(table.Lookup("L9999", true), "L9999");
  EXPECT_EQ(table.Lookup("Not a key\\n", true), "Not a key\\n");
}

TEST_F(LanguageTableTest, EscapesAreExpandedOnRequest) {
  EXPECT_EQ(table.Lookup("L0002", true), "Zeile eins\nZeile zwei");
  EXPECT_EQ(table.Lookup("L0002", false), "Zeile eins\\nZeile zwei");
  EXPECT_EQ(table.Lookup("L0003", true), "a\\\nb");
}

TEST_F(LanguageTableTest, EveryLookupReadsTheFileAfresh) {
  EXPECT_EQ(table.Lookup("L0005", true), "L0005");
  WritePrivateProfileStringA("String", "L0005", "Backup", primary.c_str());
  EXPECT_EQ(table.Lookup("L0005", true), "Backup");
}

TEST_F(LanguageTableTest, EmptyLanguageFileSettingFallsThroughToEnglish) {
  LanguageTable noChoice;
  noChoice.Open(folder / "Language\\", fallback);
  EXPECT_EQ(noChoice.Lookup("L0001", true), "Home");
  LanguageTable nothing;
  nothing.Open(folder / "missing.txt", "");
  EXPECT_EQ(nothing.Lookup("L0001", true), "L0001");
}

TEST_F(LanguageTableTest, TranslateWindowReachesEveryDescendant) {
  HWND top = CreateWindowExA(0, "STATIC", "L0001", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(top, nullptr);
  HWND group = CreateWindowExA(0, "STATIC", "L0004", WS_CHILD, 0, 0, 100, 100, top, nullptr,
                               nullptr, nullptr);
  HWND nested = CreateWindowExA(0, "BUTTON", "L0002", WS_CHILD, 0, 0, 50, 20, group, nullptr,
                                nullptr, nullptr);
  HWND plain = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD, 0, 0, 50, 20, top, nullptr, nullptr,
                               nullptr);
  HWND empty = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 50, 20, top, nullptr, nullptr,
                               nullptr);

  table.TranslateWindow(top);
  EXPECT_EQ(Caption(top), "Start");
  EXPECT_EQ(Caption(group), "Defragment");
  EXPECT_EQ(Caption(nested), "Zeile eins\nZeile zwei");
  EXPECT_EQ(Caption(plain), "OK");
  EXPECT_EQ(Caption(empty), "");
  DestroyWindow(top);
  table.TranslateWindow(nullptr);  // no window: nothing happens
}

TEST_F(LanguageTableTest, ChooserListsLanguageFilesAndFlags) {
  folder.WriteFile("Language\\readme.md");
  folder.WriteFile("Language\\Deutsch.bmp");
  std::vector<LanguageEntry> entries = ListLanguageFiles(folder.path());
  ASSERT_EQ(entries.size(), 2u);
  std::sort(entries.begin(), entries.end(),
            [](const LanguageEntry& a, const LanguageEntry& b) { return a.title < b.title; });
  EXPECT_EQ(entries[0].fileName, "Deutsch.txt");
  EXPECT_EQ(entries[0].title, "Deutsch");
  EXPECT_EQ(entries[1].fileName, "English.txt");

  EXPECT_EQ(LanguageTitleOf("Deutsch.txt"), "Deutsch");
  EXPECT_EQ(LanguageTitleOf("a.txt.txt"), "a");
  EXPECT_EQ(LanguageFlagPath(folder.path(), "Deutsch.txt"), folder / "Language\\Deutsch.bmp");
  EXPECT_EQ(LanguageFlagPath(folder.path(), "English.txt"), folder / "Language\\Default.bmp");
}

// The shipped English texts: every format carries the conversions its
// caller passes, and the 64-bit day count formats in this build.
TEST(EnglishLanguageFile, FormatsCarryTheirConversions) {
  UseRepositoryLanguage();
  auto conversions = [](const std::string& text) {
    std::string found;
    static const std::regex conversion("%(%|[0-9]*(I64)?[a-zA-Z])");
    for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
      if ((*it)[1] != "%") found += (*it)[0].str() + " ";
    return found;
  };
  for (const char* key : {"L0045", "L0047", "L0048", "L0049", "L0050", "L0051", "L0052", "L0053",
                          "L0054", "L0055", "L0056"}) {
    EXPECT_EQ(conversions(Text(key)), "%s ") << key;
    EXPECT_EQ(FormatText(key, "C:\\Gone\\x.exe").find("C:\\Gone\\x.exe") != std::string::npos,
              true)
        << key;
  }
  EXPECT_EQ(conversions(Text("L0090")), "%02d %02d %04d %02d %02d %02d ");
  for (const char* key : {"L0149", "L0167", "L0170"}) {
    EXPECT_EQ(conversions(Text(key)), "%s %I64d ") << key;
    const std::string text = FormatText(key, "March 14, 2009. 08:05 AM", 12345678901LL);
    EXPECT_NE(text.find("12345678901"), std::string::npos) << key << ": " << text;
  }
  EXPECT_EQ(Text("L0153"), "January");
  EXPECT_EQ(Text("L0164"), "December");
}
