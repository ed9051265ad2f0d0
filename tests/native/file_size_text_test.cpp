#include "foundation/file_size_text.h"

#include <gtest/gtest.h>

TEST(FormatFileSize, UnitChangesAtEachPowerOf1024) {
  struct Case {
    std::uint64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0B"},
      {512, "512B"},
      {1023, "1023B"},
      {1024, "1.00KB"},
      {1536, "1.50KB"},
      {1048575, "1024.00KB"},
      {1048576, "1.00MB"},
      {88363090, "84.27MB"},
      {1073741823, "1024.00MB"},
      {1073741824, "1.00GB"},
      {5368709120ull, "5.00GB"},
      {1099511627776ull * 3, "3072.00GB"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFileSize(c.bytes), c.text) << c.bytes;
}
