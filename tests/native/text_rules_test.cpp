#include <gtest/gtest.h>

#include <cstdint>

#include "app/command_line.h"
#include "foundation/file_size_text.h"
#include "foundation/language_escapes.h"
#include "foundation/printf_format.h"
#include "foundation/text_split.h"
#include "foundation/wildcard.h"

using namespace kelvane;

using Words = std::vector<std::string>;

TEST(WildcardMatch, WholeTextByteForByte) {
  // clang-format off
  const struct { const char* pattern; const char* text; bool match; } kCases[] = {
      {"*clsid\\{*-*-*-*-*}", "hkey_classes_root\\clsid\\{1a2b-3c-4d-5e-6f}", true},
      {"*clsid\\{*-*-*-*-*}", "x\\clsid\\{a-b-c-d}", false}, {"a?c", "abbc", false}, {"", "", true},
      {"*clsid\\{*-*-*-*-*}", "x\\clsid\\{a-b-c-d-e}\\y\\clsid\\{a-b-c-d-e}", true},
      {"a?c", "abc", true}, {"abc*", "abc", true}, {"", "a", false}, {"*", "", true},
      {"a*", "", false}, {"?", "", false}, {"a*b*c", "aXbYbZc", true}, {"a*b*c", "aXbYbZ", false},
      {"ABC", "abc", false}, {"*\\system32\\*", "c:\\windows\\system32", false},
      {"*.txt", "english.txt.bak", false}, {"*a*a", "aaaa", true}, {"*b", "aba", false}};
  // clang-format on
  for (const auto& c : kCases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.match) << c.pattern << " vs " << c.text;
}

TEST(SplitText, EarliestSeparatorWinsAndTiesGoToTheLaterOne) {
  // clang-format off
  const struct { const char* text; Words separators; bool skipEmpty; Words pieces; } kCases[] = {
      {"a;;b", {";"}, true, {"a", "b"}}, {"a;;b", {";"}, false, {"a", "", "b"}},
      {"ab", {";"}, true, {"ab"}}, {"ab", {";"}, false, {"ab"}}, {"", {";"}, true, {}},
      {"", {";"}, false, {""}}, {";a;", {";"}, false, {"", "a", ""}}, {"a", {""}, false, {"a"}},
      {"a,b;c", {";", ","}, true, {"a", "b", "c"}},
      {"x\t\t\ty", {"\t", "\t\t\t"}, false, {"x", "y"}},
      {"x\t\t\ty", {"\t\t\t", "\t"}, false, {"x", "", "", "y"}}};
  // clang-format on
  for (const auto& c : kCases)
    EXPECT_EQ(SplitText(c.text, c.separators, c.skipEmpty), c.pieces) << c.text;
}

TEST(ExpandLanguageEscapes, ReplacesTheThreeEscapesInOrder) {
  EXPECT_EQ(ExpandLanguageEscapes("a\\r\\nb\\tc"), "a\r\nb\tc");
  EXPECT_EQ(ExpandLanguageEscapes("x\\\\ny"), "x\\\ny");  // a backslash, then a line feed
  EXPECT_EQ(ExpandLanguageEscapes("\\x 100%\\"), "\\x 100%\\");
}

TEST(SplitCommandLine, TrimsSlashesAndMinusesAndKeepsQuotedBlanks) {
  for (const char* text : {"/fix", "-fix", "--FIX", "\"fix\"", "/Fix/", "  fix  ", "-/fix/-"})
    EXPECT_EQ(SplitCommandLine(text, true), Words{"fix"}) << text;
  // clang-format off
  const struct { const char* text; bool lowerCase; Words words; } kCases[] = {
      {"fix/defrag", true, {"fix/defrag"}}, {"/fix /Backup", true, {"fix", "backup"}},
      {"x \"a b\"c", true, {"x", "a b", "c"}}, {"\"/A -B\"", false, {"A -B"}},
      {"a\"\"b", true, {"a", "b"}}, {"\"unterminated word", true, {"unterminated word"}},
      {"  / - // -- ", true, {}}, {"", true, {}}, {"\"\" \" \"", true, {}}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(SplitCommandLine(c.text, c.lowerCase), c.words) << c.text;
  EXPECT_TRUE(SplitCommandLine(nullptr, true).empty());
}

TEST(FormatFileSize, UnitBoundaries) {
  // clang-format off
  const struct { std::uint64_t bytes; const char* text; } kCases[] = {
      {0, "0B"}, {1023, "1023B"}, {1024, "1.00KB"}, {1536, "1.50KB"}, {1048575, "1024.00KB"},
      {1048576, "1.00MB"}, {88362762, "84.27MB"}, {1073741824, "1.00GB"},
      {5ULL * 1073741824 + 536870912, "5.50GB"}, {UINT64_C(1) << 40, "1024.00GB"}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(FormatFileSize(c.bytes), c.text) << c.bytes;
}

// Language files supply the printf format of the backup list.
TEST(TakesOnlyInts, OnlyWhatSixIntsCanFill) {
  for (const char* ok : {"Backup of %02d/%02d/%04d %02d:%02d:%02d", "%-4i %+u %#x %X %o %c",
                         "%ld %hd 100%%", "%.3d", "no numbers", ""})
    EXPECT_TRUE(TakesOnlyInts(ok, 6)) << ok;
  for (const char* bad : {"%d %d %d %d %d %d %d", "Backup %s", "%02d %n", "%f", "%*d", "%1$d",
                          "%lld", "%p", "ends with %", "%02"})
    EXPECT_FALSE(TakesOnlyInts(bad, 6)) << bad;
  EXPECT_FALSE(TakesOnlyInts(std::string("%\0d", 3), 6));
  EXPECT_FALSE(TakesOnlyInts("%d %d", 1));
  for (const char* ok : {"Missing file: %s", "%-20s 100%%", "%.5s", "no argument"})
    EXPECT_TRUE(TakesOnlyStrings(ok, 1)) << ok;
  for (const char* bad : {"%s %s", "%d", "%n%s", "%ls", "%*s", "50% off"})
    EXPECT_FALSE(TakesOnlyStrings(bad, 1)) << bad;
}
