#pragma once
// The numbers of the defragmentation result: how much the compact copies
// save against the hive files they replace.
#include <cstdint>

namespace kelvane {

struct DefragSavings {
  std::uint64_t oldSize = 0;  // bytes of the hive files
  std::uint64_t newSize = 0;  // bytes of their compact copies
  std::uint64_t saved = 0;    // oldSize - newSize, or 0 when nothing shrinks
  unsigned percent = 0;       // saved of oldSize, to the nearest whole percent
};

// percent is 0 when oldSize is 0; it never exceeds 100.
DefragSavings ComputeDefragSavings(std::uint64_t oldSize, std::uint64_t newSize);

}  // namespace kelvane
