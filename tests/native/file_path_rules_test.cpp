#include "foundation/file_path_rules.h"

#include <gtest/gtest.h>

namespace {

// C: and D: are fixed drives; E: (a CD-ROM drive) and all others are not.
bool FixedCD(char letter) { return letter == 'C' || letter == 'D'; }

struct Case {
  const char* text;
  const char* path;  // nullptr: no path
};

void ExpectExtract(const Case& c) {
  std::string path = "stale";
  const bool found = ExtractFilePathWith(c.text, path, FixedCD);
  if (c.path == nullptr) {
    EXPECT_FALSE(found) << c.text;
    EXPECT_EQ(path, "") << c.text;
  } else {
    EXPECT_TRUE(found) << c.text;
    EXPECT_EQ(path, c.path) << c.text;
  }
}

}  // namespace

TEST(ExtractFilePath, DocumentedCases) {
  const Case cases[] = {
      {"\"C:\\Program Files\\App\\app.exe\" /S", "C:\\Program Files\\App\\app.exe"},
      {"\"C:\\Program Files\\App\\app.exe\" \"%1\"", "C:\\Program Files\\App\\app.exe"},
      {"C:\\App\\app.exe -silent", nullptr},
      {"C:\\App\\app.exe arg", nullptr},
      {"C:\\Documents and Settings\\j.doe\\My Documents\\a.doc", nullptr},
      {"C:\\Program Files\\My App", "C:\\Program Files\\My App"},
      {"C:\\WINDOWS\\System32\\shell32.dll", nullptr},
      {"C:\\x.dll,-101", nullptr},
      {"%SystemRoot%\\x.dll", nullptr},
      {"@C:\\x.dll", nullptr},
      {"rundll32.exe C:\\x.dll", nullptr},
      {"C:\\a.exe D:\\b.exe", nullptr},
      {"C:\\dir\\file.txt[2]", nullptr},
      {"E:\\setup.exe", nullptr},
      {"c:\\tools\\x.exe", "c:\\tools\\x.exe"},
      {"  C:\\Temp\\  ", "C:\\Temp\\"},
  };
  for (const Case& c : cases) ExpectExtract(c);
}

TEST(ExtractFilePath, EachRuleInOrder) {
  const Case cases[] = {
      // Step 2: drive, colon and backslash at the start.
      {"C:", nullptr},
      {"C:/x", nullptr},
      {"\\\\server\\share\\x.exe", nullptr},
      {"relative\\x.exe", nullptr},
      {"\"\"C:\\Quoted\\x.exe\"\"", "C:\\Quoted\\x.exe"},
      // Step 3: comma, semicolon, exclamation mark anywhere.
      {"C:\\a;b", nullptr},
      {"C:\\a!b", nullptr},
      // Step 4: '[' after the last dot only.
      {"C:\\dir[1]\\file.txt", "C:\\dir[1]\\file.txt"},
      // Step 5: cut at the first slash.
      {"C:\\App\\run.exe/silent", "C:\\App\\run.exe"},
      // Step 6: a second colon is cut off, then the dot-space rule applies.
      {"C:\\a D:\\b", "C:\\a D"},
      {"C:\\dir:stream", "C:\\dir"},
      // Step 7: star, or blank then minus.
      {"C:\\*.exe", nullptr},
      {"C:\\App -x", nullptr},
      {"C:\\App-x", "C:\\App-x"},
      // Step 8: cut at a quote that trimming did not remove.
      {"C:\\App\\a.exe\" x", "C:\\App\\a.exe"},
      // Step 9: apostrophe.
      {"C:\\Bob's\\a.exe", nullptr},
      // Step 10: a blank anywhere after the first dot.
      {"C:\\v1.2\\My Tool", nullptr},
      {"C:\\My Tool\\v1.2", "C:\\My Tool\\v1.2"},
      // Step 11: exactly one drive separator.
      {"C:\\x:\\y", "C:\\x"},
      // Step 12: only fixed drives, letter compared upper-case.
      {"d:\\data", "d:\\data"},
      {"Z:\\data", nullptr},
      // Step 13: system32 anywhere as a whole component, in any case.
      {"C:\\Windows\\SYSTEM32\\drivers\\x.sys", nullptr},
      {"C:\\mysystem32\\x.dll", "C:\\mysystem32\\x.dll"},
      {"C:\\Windows\\System32", "C:\\Windows\\System32"},
  };
  for (const Case& c : cases) ExpectExtract(c);
}

TEST(ExtractFilePath, NoFixedDrivesMeansNoPath) {
  std::string path;
  EXPECT_FALSE(ExtractFilePathWith("C:\\x.exe", path, [](char) { return false; }));
  EXPECT_FALSE(ExtractFilePathWith("C:\\x.exe", path, nullptr));
}

TEST(ExtractFilePath, DriveTestIsAskedOnlyForTextsThatPassTheTextRules) {
  int asked = 0;
  auto counting = [&](char) {
    ++asked;
    return true;
  };
  std::string path;
  ExtractFilePathWith("C:\\x.dll,-101", path, counting);
  ExtractFilePathWith("%windir%\\x.dll", path, counting);
  ExtractFilePathWith("C:\\App\\app.exe -silent", path, counting);
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(ExtractFilePathWith("C:\\x.exe", path, counting));
  EXPECT_EQ(asked, 1);
}

TEST(GetFileNameOf, NameAndExtension) {
  EXPECT_EQ(GetFileNameOf("C:\\Gone\\x.dll", true), "x.dll");
  EXPECT_EQ(GetFileNameOf("C:\\Gone\\x.dll", false), "x");
  EXPECT_EQ(GetFileNameOf("C:x.tar.gz", false), "x.tar");
  EXPECT_EQ(GetFileNameOf("plain", true), "plain");
  EXPECT_EQ(GetFileNameOf("C:\\dir\\", true), "");
  EXPECT_EQ(GetFileNameOf("C:\\dir.d\\noext", false), "noext");
}
