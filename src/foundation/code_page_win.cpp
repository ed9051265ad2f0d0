#include "foundation/ansi_chars.h"
#include "foundation/case_map.h"

#include <windows.h>

namespace kelvane {

std::string ToLowerText(std::string text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

std::string ToUpperText(std::string text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

std::size_t AnsiCharSize(const std::string& text, std::size_t pos) {
  return pos + 1 < text.size() && IsDBCSLeadByte(static_cast<BYTE>(text[pos])) ? 2 : 1;
}

}  // namespace kelvane
