#include "defrag/defrag_savings.h"

namespace kelvane {

DefragSavings ComputeDefragSavings(std::uint64_t oldSize, std::uint64_t newSize) {
  DefragSavings result;
  result.oldSize = oldSize;
  result.newSize = newSize;
  result.saved = oldSize > newSize ? oldSize - newSize : 0;
  if (oldSize != 0)
    result.percent = static_cast<unsigned>(
        static_cast<double>(result.saved) / static_cast<double>(oldSize) * 100.0 + 0.5);
  return result;
}

}  // namespace kelvane
