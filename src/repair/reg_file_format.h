#pragma once
// The text of REGEDIT4 files: the header, key lines and value lines. Every
// function returns its text without the line end; the writer adds "\n".
#include <cstdint>
#include <string>

namespace kelvane {

// The first line of every file.
extern const char* const kRegFileHeader;

// True when the text can stand inside one line: a CR, LF or NUL would end
// the line early on import (and let the rest be read as lines of its own).
bool FitsOnOneLine(const std::string& text);

// "[" keyPath "]".
std::string RegKeyLine(const std::string& keyPath);

// Every backslash and double quote preceded by a backslash, the only two
// escapes the registry editor reads in quoted text.
std::string EscapeQuotedText(const std::string& text);

// "@" for the default value (empty name), else the escaped name in quotes.
std::string RegValueNamePart(const std::string& name);

// True when string data survives being written in quotes: exactly one
// string with a single terminating NUL and no control characters.
bool IsQuotableString(const unsigned char* data, std::uint32_t length);

// The bytes as comma-separated pairs of lower-case hex digits; after the
// comma of byte 22, 44, 66, ... a backslash and a line end follow when more
// bytes come, so the first line holds 23 bytes and every further line 22.
std::string RegByteList(const unsigned char* data, std::uint32_t length);

// The data part of a value line by registry type: quoted text, "dword:",
// "hex:" or "hex(N):" with N in lower-case hexadecimal.
std::string RegValueDataPart(std::uint32_t type, const unsigned char* data, std::uint32_t length);

// name part "=" data part.
std::string RegValueLine(const std::string& name, std::uint32_t type, const unsigned char* data,
                         std::uint32_t length);

}  // namespace kelvane
