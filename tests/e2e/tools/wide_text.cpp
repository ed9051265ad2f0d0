#include "wide_text.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

std::string EscapeName(const std::wstring& name) {
  std::string out;
  char buffer[16];
  for (wchar_t c : name) {
    const unsigned code = static_cast<unsigned>(c);
    if (c == L'\\' || c == L'"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (code >= 0x20 && code <= 0x7E) {
      out += static_cast<char>(c);
    } else if (code < 0x100) {
      std::snprintf(buffer, sizeof buffer, "\\x%02x", code);
      out += buffer;
    } else {
      std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
      out += buffer;
    }
  }
  return out;
}

namespace {

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// The number of `digits` hex digits at `text[at]`, or -1.
long HexNumber(const std::wstring& text, size_t at, size_t digits) {
  if (at + digits > text.size()) return -1;
  long value = 0;
  for (size_t i = 0; i < digits; ++i) {
    const int d = HexDigit(text[at + i]);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

}  // namespace

std::wstring UnescapeArgument(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'%' && i + 1 < text.size()) {
      const wchar_t next = text[i + 1];
      const size_t digits = next == L'u' ? 4 : next == L'x' ? 2 : 0;
      const long code = digits ? HexNumber(text, i + 2, digits) : -1;
      if (code >= 0) {
        out += static_cast<wchar_t>(code);
        i += 1 + digits;
        continue;
      }
      if (next == L'%') {
        out += L'%';
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string HexBytes(const unsigned char* data, unsigned long size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(size * 2);
  for (unsigned long i = 0; i < size; ++i) {
    out += kDigits[data[i] >> 4];
    out += kDigits[data[i] & 15];
  }
  return out;
}

bool ParseHexBytes(const std::wstring& text, std::string& bytes) {
  bytes.clear();
  if (text.size() % 2 != 0) return false;
  for (size_t i = 0; i < text.size(); i += 2) {
    const long byte = HexNumber(text, i, 2);
    if (byte < 0) return false;
    bytes += static_cast<char>(byte);
  }
  return true;
}

bool NameLess(const std::wstring& a, const std::wstring& b) {
  const int folded = CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                          static_cast<int>(b.size()), TRUE);
  if (folded != CSTR_EQUAL) return folded == CSTR_LESS_THAN;
  return a < b;
}
