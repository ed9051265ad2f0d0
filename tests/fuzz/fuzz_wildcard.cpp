// Wildcard matching on arbitrary pattern/text pairs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/wildcard.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\0');
  const std::string pattern = input.substr(0, cut);
  const std::string text = cut == std::string::npos ? std::string() : input.substr(cut + 1);
  const bool match = WildcardMatch(pattern, text);
  // A text always matches itself when it holds no wildcard characters, and
  // "*" + pattern matches whatever pattern matches.
  if (text.find_first_of("*?") == std::string::npos && !WildcardMatch(text, text)) __builtin_trap();
  if (match && !WildcardMatch("*" + pattern, text)) __builtin_trap();
  return 0;
}
