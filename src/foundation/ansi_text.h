#pragma once
// Conversions between the ANSI code page and UTF-16, as the ANSI registry
// functions and the registry editor make them, and the exact conversion that
// tells a name the code page can hold from one it can only approximate.
#include <cstddef>
#include <string>

namespace kelvane {

// The bytes (embedded NULs included) as UTF-16 in the ANSI code page.
std::wstring AnsiToWide(const char* text, std::size_t length);
std::wstring AnsiToWide(const std::string& text);

// UTF-16 in the ANSI code page; a character the code page lacks becomes
// its best fit or "?". This is the spelling the ANSI API hands out.
std::string WideToAnsi(const wchar_t* text, std::size_t length);
std::string WideToAnsi(const std::wstring& text);

// UTF-16 in the ANSI code page without best-fit letters: a character the
// code page lacks becomes "?", which no file or folder name can hold, so a
// path read this way is never mistaken for another path. `exact` (when
// given) tells whether every character had its own counterpart.
std::string WideToAnsiNoBestFit(const wchar_t* text, std::size_t length, bool* exact = nullptr);

// True when the name survives the round trip through the ANSI code page
// unchanged (no best fit, no default character, no NUL), with its ANSI
// spelling in `ansi`. Only such names can be addressed through the ANSI API.
bool ToExactAnsiName(const wchar_t* name, std::size_t length, std::string& ansi);

}  // namespace kelvane
