#include "foundation/ansi_chars.h"
#include "foundation/case_map.h"

namespace kelvane {

std::string ToLowerText(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string ToUpperText(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// The native build knows single-byte text only.
std::size_t AnsiCharSize(const std::string&, std::size_t) { return 1; }

}  // namespace kelvane
