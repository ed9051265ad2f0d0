#pragma once
// Conversions between the ANSI code page and UTF-16, as the ANSI registry
// functions and the registry editor make them.
#include <cstddef>
#include <string>

// The bytes (embedded NULs included) as UTF-16 in the ANSI code page.
std::wstring AnsiToWide(const char* text, std::size_t length);
std::wstring AnsiToWide(const std::string& text);

// UTF-16 in the ANSI code page; a character the code page lacks becomes
// its best fit or "?".
std::string WideToAnsi(const wchar_t* text, std::size_t length);
std::string WideToAnsi(const std::wstring& text);
