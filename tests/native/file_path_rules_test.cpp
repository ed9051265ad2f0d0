#include "foundation/file_path_rules.h"

#include <gtest/gtest.h>

using namespace kelvane;

// C: and D: are fixed drives; E: (a CD-ROM drive) and all others are not.
TEST(ExtractFilePath, EveryRuleInOrder) {
  // clang-format off
  const struct { const char* text; const char* path; } kCases[] = {  // path nullptr: none
      {"\"C:\\Program Files\\App\\app.exe\" /S", "C:\\Program Files\\App\\app.exe"},
      {"\"C:\\Program Files\\App\\app.exe\" \"%1\"", "C:\\Program Files\\App\\app.exe"},
      {"C:\\App\\app.exe -silent", nullptr}, {"C:\\App\\app.exe arg", nullptr},
      {"C:\\Documents and Settings\\j.doe\\My Documents\\a.doc", nullptr},
      {"C:\\Program Files\\My App", "C:\\Program Files\\My App"}, {"E:\\setup.exe", nullptr},
      {"C:\\WINDOWS\\System32\\shell32.dll", nullptr}, {"C:\\a.exe D:\\b.exe", nullptr},
      {"C:\\x.dll,-101", nullptr}, {"%SystemRoot%\\x.dll", nullptr}, {"@C:\\x.dll", nullptr},
      {"rundll32.exe C:\\x.dll", nullptr}, {"C:\\dir\\file.txt[2]", nullptr},
      {"c:\\tools\\x.exe", "c:\\tools\\x.exe"}, {"  C:\\Temp\\  ", "C:\\Temp\\"},
      // Drive, colon and backslash at the start, after trimming blanks and quotes.
      {"C:", nullptr}, {"\\\\srv\\x.exe", nullptr}, {"C:\\a;b", nullptr}, {"C:\\a!b", nullptr},
      {"\"\"C:\\Q\\x.exe\"\"", "C:\\Q\\x.exe"}, {"C:\\*.exe", nullptr}, {"d:\\x", "d:\\x"},
      {"C:\\dir[1]\\file.txt", "C:\\dir[1]\\file.txt"},  // '[' counts after the last dot only
      {"C:\\App\\run.exe/silent", "C:\\App\\run.exe"}, {"C:\\Bob's\\a.exe", nullptr},
      {"C:\\a D:\\b", nullptr}, {"C:\\dir:stream", nullptr},  // a second colon: two paths
      {"C:\\App\\a.exe\" x", "C:\\App\\a.exe"},  // cut at a quote that trimming left inside
      {"C:\\My Tool\\v1.2", "C:\\My Tool\\v1.2"},  // blanks count only after the first dot
      {"C:\\App-x", "C:\\App-x"}, {"C:\\Windows\\System32", "C:\\Windows\\System32"},
      {"C:\\Win\\SYSTEM32\\x.sys", nullptr}, {"C:\\mysystem32\\x", "C:\\mysystem32\\x"}};
  // clang-format on
  const auto fixedCD = [](char d) { return d == 'C' || d == 'D'; };
  for (const auto& c : kCases) {
    std::string path = "stale";
    EXPECT_EQ(ExtractFilePathWith(c.text, path, fixedCD), c.path != nullptr) << c.text;
    EXPECT_EQ(path, c.path ? c.path : "") << c.text;
  }
}
