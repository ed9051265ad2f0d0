#include "foundation/language_escapes.h"

namespace kelvane {

namespace {

void ReplaceAll(std::string& text, const std::string& from, char to) {
  for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + 1))
    text.replace(pos, from.size(), 1, to);
}

}  // namespace

std::string ExpandLanguageEscapes(std::string text) {
  ReplaceAll(text, "\\r", '\r');
  ReplaceAll(text, "\\n", '\n');
  ReplaceAll(text, "\\t", '\t');
  return text;
}

}  // namespace kelvane
