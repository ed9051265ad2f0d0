#pragma once
// Text conversions of the end-to-end registry tool. Everything it prints is
// plain ASCII, so that dumps compare byte for byte whatever the code page.
#include <string>

// Registry names and paths as printable ASCII: characters outside 0x20..0x7E,
// the backslash inside names and the double quote become escapes
// (\xNN below 0x100, else \uXXXX), so every name maps to one line.
std::string EscapeName(const std::wstring& name);

// Escapes of command-line arguments, which wine would otherwise pass through
// the Unix locale and its own quoting: %uXXXX and %xNN stand for one
// character, %% for a percent sign; everything else is taken as it stands.
std::wstring UnescapeArgument(const std::wstring& text);

// Lower-case hexadecimal bytes without separators.
std::string HexBytes(const unsigned char* data, unsigned long size);

// Bytes from hexadecimal text ("" gives none); false on a malformed text.
bool ParseHexBytes(const std::wstring& text, std::string& bytes);

// Case-insensitive ordering of registry names, then exact, so that a dump
// is independent of the enumeration order.
bool NameLess(const std::wstring& a, const std::wstring& b);
