#pragma once
// Narrow text as characters of the system code page: in a double-byte code
// page the second byte of a character can equal '\' (0x5C), which must not
// be taken for a path separator.
#include <cstddef>
#include <string>

namespace kelvane {

// Bytes of the character that starts at text[pos] (1 or 2).
std::size_t AnsiCharSize(const std::string& text, std::size_t pos);

// The first character equal to `c` at or after `from` (a character start),
// or npos.
std::size_t FindAnsiChar(const std::string& text, char c, std::size_t from = 0);

// The last character equal to one of `set`, or npos.
std::size_t FindLastAnsiChar(const std::string& text, const char* set);

// `text` without the characters of `set` at its end.
std::string TrimTrailingAnsiChars(const std::string& text, const char* set);

// A folder or key path without the backslashes at its end (whole characters:
// in a double-byte code page a trailing 0x5C may be half of one).
std::string WithoutTrailingBackslashes(const std::string& path);

}  // namespace kelvane
