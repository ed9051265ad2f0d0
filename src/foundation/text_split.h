#pragma once
#include <string>
#include <vector>

namespace kelvane {

// Cuts `text` at the earliest of the separators (on a tie, the one listed
// later wins). With `skipEmpty` empty pieces are dropped.
std::vector<std::string> SplitText(std::string text, const std::vector<std::string>& separators,
                                   bool skipEmpty);

}  // namespace kelvane
