#include "defrag/defrag_savings.h"

#include <gtest/gtest.h>

TEST(ComputeDefragSavings, SavedBytesAndPercentRoundedToNearest) {
  struct Case {
    std::uint64_t oldSize, newSize, saved;
    unsigned percent;
  } cases[] = {
      {0, 0, 0, 0},
      {0, 4096, 0, 0},          // nothing to compare against
      {1000, 1000, 0, 0},
      {1000, 1200, 0, 0},       // a copy larger than its hive saves nothing
      {1000, 0, 1000, 100},
      {1000, 750, 250, 25},
      {1000, 995, 5, 1},        // 0.5 % rounds up
      {1000, 996, 4, 0},        // 0.4 % rounds down
      {1000, 874, 126, 13},     // 12.6 %
      {1000, 876, 124, 12},     // 12.4 %
      {3, 2, 1, 33},
      {3, 1, 2, 67},
      {200, 1, 199, 100},       // 99.5 % rounds to 100
      {(1ull << 40) * 10, (1ull << 40) * 9, 1ull << 40, 10},
  };
  for (const Case& c : cases) {
    const DefragSavings s = ComputeDefragSavings(c.oldSize, c.newSize);
    EXPECT_EQ(s.oldSize, c.oldSize);
    EXPECT_EQ(s.newSize, c.newSize);
    EXPECT_EQ(s.saved, c.saved) << c.oldSize << " -> " << c.newSize;
    EXPECT_EQ(s.percent, c.percent) << c.oldSize << " -> " << c.newSize;
  }
}
