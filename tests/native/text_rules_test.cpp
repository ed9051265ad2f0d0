#include <gtest/gtest.h>

#include "app/command_line.h"
#include "foundation/printf_format.h"
#include "foundation/wildcard.h"

using namespace kelvane;

using Words = std::vector<std::string>;

TEST(WildcardMatch, WholeTextByteForByte) {
  // clang-format off
  const struct { const char* pattern; const char* text; bool match; } kCases[] = {
      {"*clsid\\{*-*-*-*-*}", "hkey_classes_root\\clsid\\{1a2b-3c-4d-5e-6f}", true},
      {"*clsid\\{*-*-*-*-*}", "x\\clsid\\{a-b-c-d}", false}, {"a?c", "abbc", false}, {"", "", true},
      {"*clsid\\{*-*-*-*-*}", "x\\clsid\\{a-b-c-d-e}\\y\\clsid\\{a-b-c-d-e}", true},
      {"abc*", "abc", true}, {"ABC", "abc", false}, {"*\\system32\\*", "c:\\windows\\system32", false},
      {"*.txt", "english.txt.bak", false}, {"*a*a", "aaaa", true}, {"*b", "aba", false}};
  // clang-format on
  for (const auto& c : kCases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.match) << c.pattern << " vs " << c.text;
}

TEST(SplitCommandLine, TrimsSlashesAndMinusesAndKeepsQuotedBlanks) {
  for (const char* text : {"--FIX", "\"fix\"", "-/fix/-"})
    EXPECT_EQ(SplitCommandLine(text, true), Words{"fix"}) << text;
  // clang-format off
  const struct { const char* text; bool lowerCase; Words words; } kCases[] = {
      {"fix/defrag", true, {"fix/defrag"}}, {"/fix /Backup", true, {"fix", "backup"}},
      {"x \"a b\"c", true, {"x", "a b", "c"}}, {"\"/A -B\"", false, {"A -B"}},
      {"  / - // -- ", true, {}}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(SplitCommandLine(c.text, c.lowerCase), c.words) << c.text;
}

// Language files supply the printf format of the backup list.
TEST(TakesOnlyInts, OnlyWhatSixIntsCanFill) {
  for (const char* ok : {"Backup of %02d/%02d/%04d %02d:%02d:%02d", "%-4i %+u %#x %X %o %c",
                         "%ld %hd 100%%", "%.3d", "no numbers", ""})
    EXPECT_TRUE(TakesOnlyInts(ok, 6)) << ok;
  for (const char* bad : {"%d %d %d %d %d %d %d", "Backup %s", "%02d %n", "%f", "%*d", "%1$d",
                          "%lld", "%p", "ends with %", "%02"})
    EXPECT_FALSE(TakesOnlyInts(bad, 6)) << bad;
  EXPECT_FALSE(TakesOnlyInts("%d %d", 1));
  for (const char* ok : {"Missing file: %s", "%-20s 100%%", "%.5s", "no argument"})
    EXPECT_TRUE(TakesOnlyStrings(ok, 1)) << ok;
  for (const char* bad : {"%s %s", "%d", "%n%s", "%ls", "%*s", "50% off"})
    EXPECT_FALSE(TakesOnlyStrings(bad, 1)) << bad;
}
