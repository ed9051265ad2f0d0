#include "foundation/wildcard.h"

#include <gtest/gtest.h>

TEST(WildcardMatch, Table) {
  struct Case {
    const char* pattern;
    const char* text;
    bool match;
  } cases[] = {
      {"*clsid\\{*-*-*-*-*}", "hkey_classes_root\\clsid\\{1a2b-3c-4d-5e-6f}", true},
      {"*clsid\\{*-*-*-*-*}", "hkey_classes_root\\clsid\\{1a2b-3c-4d-5e}", false},
      {"*clsid\\{*-*-*-*-*}", "hkey_classes_root\\clsid", false},
      {"*clsid\\{*-*-*-*-*}", "x\\clsid\\{a-b-c-d-e}\\inprocserver32\\y\\clsid\\{a-b-c-d-e}", true},
      {"a?c", "abbc", false},
      {"a?c", "abc", true},
      {"abc*", "abc", true},
      {"", "", true},
      {"", "a", false},
      {"*", "", true},
      {"**", "anything", true},
      {"a*", "", false},
      {"?", "", false},
      {"*b", "aab", true},
      {"*b", "aba", false},
      {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "aXbYbZ", false},
      {"*\\system32\\*", "c:\\windows\\system32\\x.dll", true},
      {"*\\system32\\*", "c:\\windows\\system32", false},
      {"ABC", "abc", false},
      {".*", ".txt", true},
      {".*", "txt", false},
      {"*.txt", "english.txt", true},
      {"*.txt", "english.txt.bak", false},
      {"*a*a", "aaaa", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.match) << c.pattern << " vs " << c.text;
}
