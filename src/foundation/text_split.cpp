#include "foundation/text_split.h"

namespace kelvane {

std::vector<std::string> SplitText(std::string text, const std::vector<std::string>& separators,
                                   bool skipEmpty) {
  std::vector<std::string> pieces;
  for (;;) {
    std::size_t bestPos = std::string::npos;
    std::size_t bestLength = 0;
    for (const std::string& separator : separators) {
      if (separator.empty()) continue;  // would never advance
      const std::size_t pos = text.find(separator);
      if (pos == std::string::npos) continue;
      if (bestPos == std::string::npos || pos <= bestPos) {
        bestPos = pos;
        bestLength = separator.size();
      }
    }
    if (bestPos == std::string::npos) break;
    std::string piece = text.substr(0, bestPos);
    if (!skipEmpty || !piece.empty()) pieces.push_back(std::move(piece));
    text.erase(0, bestPos + bestLength);
  }
  if (!skipEmpty || !text.empty()) pieces.push_back(std::move(text));
  return pieces;
}

}  // namespace kelvane
