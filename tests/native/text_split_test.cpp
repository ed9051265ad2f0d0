#include "foundation/text_split.h"

#include <gtest/gtest.h>

using Pieces = std::vector<std::string>;

TEST(SplitText, EmptyPiecesAreKeptOrSkipped) {
  EXPECT_EQ(SplitText("a;;b", {";"}, true), (Pieces{"a", "b"}));
  EXPECT_EQ(SplitText("a;;b", {";"}, false), (Pieces{"a", "", "b"}));
  EXPECT_EQ(SplitText("ab", {";"}, true), (Pieces{"ab"}));
  EXPECT_EQ(SplitText("ab", {";"}, false), (Pieces{"ab"}));
  EXPECT_EQ(SplitText("", {";"}, true), (Pieces{}));
  EXPECT_EQ(SplitText("", {";"}, false), (Pieces{""}));
  EXPECT_EQ(SplitText(";a;", {";"}, false), (Pieces{"", "a", ""}));
}

TEST(SplitText, EarliestSeparatorWinsAndTiesGoToTheLaterOne) {
  EXPECT_EQ(SplitText("a,b;c", {";", ","}, true), (Pieces{"a", "b", "c"}));
  // Both "\t" and "\t\t\t" are found at position 1; the later-listed wins.
  EXPECT_EQ(SplitText("x\t\t\ty", {"\t", "\t\t\t"}, false), (Pieces{"x", "y"}));
  EXPECT_EQ(SplitText("x\t\t\ty", {"\t\t\t", "\t"}, false), (Pieces{"x", "", "", "y"}));
}

TEST(SplitText, RegistryPathsAndTabRecords) {
  EXPECT_EQ(SplitText("HKEY_CURRENT_USER\\\\Software\\App\\", {"\\"}, true),
            (Pieces{"HKEY_CURRENT_USER", "Software", "App"}));
  EXPECT_EQ(SplitText("Name\t\t\tHKEY_USERS\\Name", {"\t\t\t"}, true),
            (Pieces{"Name", "HKEY_USERS\\Name"}));
  EXPECT_EQ(SplitText("a", {""}, false), (Pieces{"a"}));
}
