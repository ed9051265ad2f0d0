#include "foundation/ansi_chars.h"

#include <cstring>

namespace kelvane {

namespace {

bool InSet(char c, const char* set) { return c != 0 && std::strchr(set, c) != nullptr; }

}  // namespace

std::size_t FindAnsiChar(const std::string& text, char c, std::size_t from) {
  for (std::size_t pos = from; pos < text.size(); pos += AnsiCharSize(text, pos))
    if (text[pos] == c) return pos;
  return std::string::npos;
}

std::size_t FindLastAnsiChar(const std::string& text, const char* set) {
  std::size_t found = std::string::npos;
  for (std::size_t pos = 0; pos < text.size(); pos += AnsiCharSize(text, pos))
    if (InSet(text[pos], set)) found = pos;
  return found;
}

std::string TrimTrailingAnsiChars(const std::string& text, const char* set) {
  std::size_t end = 0;  // just after the last character not in `set`
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t size = AnsiCharSize(text, pos);
    if (size > 1 || !InSet(text[pos], set)) end = pos + size;
    pos += size;
  }
  return text.substr(0, end);
}

std::string WithoutTrailingBackslashes(const std::string& path) {
  return TrimTrailingAnsiChars(path, "\\");
}

}  // namespace kelvane
