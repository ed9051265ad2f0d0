// The program's own files: Settings.ini, the language files, its version resource.
#include <gtest/gtest.h>

#include <regex>

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

TEST(ShippedFiles, EnglishFormatsCarryTheConversionsTheirCallersPassAndTheProgramItsVersion) {
  UseRepositoryLanguage();
  const auto conversions = [](const char* key) {
    return std::regex_replace(LanguageText(key),
                              std::regex("(%[-+ #0-9.]*(I64)?[a-zA-Z])|%%|[^%]+|%"), "$1");
  };
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
