#include "app/command_line.h"

#include <gtest/gtest.h>

using Words = std::vector<std::string>;

TEST(SplitCommandLine, JobWordsInEveryDress) {
  for (const char* text : {"/fix", "-fix", "--FIX", "\"fix\"", "/Fix/", "  fix  ", "-/fix/-"})
    EXPECT_EQ(SplitCommandLine(text, true), Words{"fix"}) << text;
  EXPECT_EQ(SplitCommandLine("fix/defrag", true), Words{"fix/defrag"});
  EXPECT_EQ(SplitCommandLine("/fix /backup", true), (Words{"fix", "backup"}));
  EXPECT_EQ(SplitCommandLine("/fix /fix", true), (Words{"fix", "fix"}));
}

TEST(SplitCommandLine, QuotesSpacesAndCase) {
  EXPECT_EQ(SplitCommandLine("x \"a b\"c", true), (Words{"x", "a b", "c"}));
  EXPECT_EQ(SplitCommandLine("\"/A -B\"", false), Words{"A -B"});
  EXPECT_EQ(SplitCommandLine("/FIX \"Some Word\"", false), (Words{"FIX", "Some Word"}));
  EXPECT_EQ(SplitCommandLine("a\"\"b", true), (Words{"a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"unterminated word", true), Words{"unterminated word"});
}

TEST(SplitCommandLine, NothingButTrimCharactersGivesNoWords) {
  EXPECT_TRUE(SplitCommandLine("  / - // -- ", true).empty());
  EXPECT_TRUE(SplitCommandLine("", true).empty());
  EXPECT_TRUE(SplitCommandLine(nullptr, true).empty());
  EXPECT_TRUE(SplitCommandLine("\"\" \" \"", true).empty());
}

TEST(HasCommandLineWord, ComparesWholeWordsExactly) {
  SetCommandLineWords(SplitCommandLine("/Backup -fix", true));
  EXPECT_TRUE(HasCommandLineWord("backup"));
  EXPECT_TRUE(HasCommandLineWord("fix"));
  EXPECT_FALSE(HasCommandLineWord("Backup"));
  EXPECT_FALSE(HasCommandLineWord("defrag"));
  EXPECT_FALSE(HasCommandLineWord("fi"));
  SetCommandLineWords({});
  EXPECT_FALSE(HasCommandLineWord("fix"));
}
