#include "foundation/ansi_text.h"

#include <windows.h>

#include <cstring>

namespace kelvane {

std::wstring AnsiToWide(const char* text, std::size_t length) {
  if (length == 0) return std::wstring();
  const int size = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), &wide[0], size);
  return wide;
}

std::wstring AnsiToWide(const std::string& text) { return AnsiToWide(text.data(), text.size()); }

std::string WideToAnsi(const wchar_t* text, std::size_t length) {
  if (text == nullptr || length == 0) return std::string();
  const int size =
      WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &ansi[0], size, nullptr, nullptr);
  return ansi;
}

std::string WideToAnsi(const std::wstring& text) { return WideToAnsi(text.data(), text.size()); }

std::string WideToAnsiNoBestFit(const wchar_t* text, std::size_t length, bool* exact) {
  if (exact != nullptr) *exact = true;
  if (text == nullptr || length == 0) return std::string();
  // Nearly every name and path is ASCII, which every ANSI code page holds as
  // itself: the scan converts each name it meets, so this path stays cheap.
  std::string ascii(length, '\0');
  std::size_t i = 0;
  for (; i < length && text[i] < 0x80; ++i) ascii[i] = static_cast<char>(text[i]);
  if (i == length) return ascii;
  // UTF-8 as the ANSI code page takes neither the flag nor a default
  // character; it holds every character but lone surrogates.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* used = utf8 ? nullptr : &usedDefault;
  const char* fallback = utf8 ? nullptr : "?";
  const int count = static_cast<int>(length);
  const int size = WideCharToMultiByte(CP_ACP, flags, text, count, nullptr, 0, fallback, used);
  if (size <= 0) {
    if (exact != nullptr) *exact = false;
    return std::string();
  }
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, flags, text, count, &ansi[0], size, fallback, used);
  if (exact != nullptr) *exact = !usedDefault && AnsiToWide(ansi) == std::wstring(text, length);
  return ansi;
}

bool ToExactAnsiName(const wchar_t* name, std::size_t length, std::string& ansi) {
  bool exact = false;
  ansi = WideToAnsiNoBestFit(name, length, &exact);
  // A NUL inside a name would cut it short wherever it is passed on.
  return exact && std::memchr(ansi.data(), 0, ansi.size()) == nullptr;
}

}  // namespace kelvane
