#include "ui/rules/text_format.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace kelvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsOneOf(char c, const char* set) { return c != 0 && std::strchr(set, c) != nullptr; }

// The longest width or precision a language text may ask for.
constexpr std::size_t kMaxFieldDigits = 3;

// Skips a width or precision; false when it is too long to be meant.
bool SkipDigits(const std::string& format, std::size_t& i) {
  const std::size_t start = i;
  while (i < format.size() && IsDigit(format[i])) ++i;
  return i - start <= kMaxFieldDigits;
}

// One conversion, rebuilt from its pieces so the length is the one that
// matches the value actually passed on this platform.
struct Conversion {
  std::string flagsWidthPrecision;
  FormatArg::Kind kind = FormatArg::Kind::String;
  char type = 's';
};

// Reads the conversion whose "%" is just before `i`; false when it is not one
// of the allowed forms. On success `i` is just past it.
bool ReadConversion(const std::string& format, std::size_t& i, Conversion& conversion) {
  const std::size_t start = i;
  while (i < format.size() && IsOneOf(format[i], "-+ #0")) ++i;
  if (!SkipDigits(format, i)) return false;
  if (i < format.size() && format[i] == '.') {
    ++i;
    if (!SkipDigits(format, i)) return false;
  }
  conversion.flagsWidthPrecision = format.substr(start, i - start);

  bool wide = false;
  bool longInt = false;
  if (format.compare(i, 3, "I64") == 0) {
    wide = true;
    i += 3;
  } else if (format.compare(i, 2, "ll") == 0) {
    wide = true;
    i += 2;
  } else if (i < format.size() && format[i] == 'l') {
    longInt = true;
    ++i;
  }
  if (i >= format.size()) return false;
  conversion.type = format[i++];
  if (IsOneOf(conversion.type, "diuoxX")) {
    conversion.kind = wide ? FormatArg::Kind::Int64 : FormatArg::Kind::Int;
    return true;
  }
  if (IsOneOf(conversion.type, "feEgG")) {
    conversion.kind = FormatArg::Kind::Double;
    return !wide;
  }
  conversion.kind = FormatArg::Kind::String;
  return conversion.type == 's' && !wide && !longInt;
}

template <typename T>
std::string Printed(const std::string& pattern, T value) {
  const int length = std::snprintf(nullptr, 0, pattern.c_str(), value);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(&text[0], text.size(), pattern.c_str(), value);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string Filled(const Conversion& conversion, const FormatArg& arg) {
  const std::string pattern = "%" + conversion.flagsWidthPrecision;
  switch (arg.kind()) {
    case FormatArg::Kind::String:
      return Printed(pattern + "s", arg.text().c_str());
    case FormatArg::Kind::Int:
      return Printed(pattern + conversion.type, static_cast<int>(arg.integer()));
    case FormatArg::Kind::Int64:
      return Printed(pattern + "ll" + conversion.type, static_cast<long long>(arg.integer()));
    case FormatArg::Kind::Double:
      return Printed(pattern + conversion.type, arg.number());
  }
  return std::string();
}

std::string PlainText(const FormatArg& arg) {
  switch (arg.kind()) {
    case FormatArg::Kind::String:
      return arg.text();
    case FormatArg::Kind::Int:
    case FormatArg::Kind::Int64:
      return std::to_string(arg.integer());
    case FormatArg::Kind::Double:
      return Printed("%g", arg.number());
  }
  return std::string();
}

// Walks `format`; fills `out` unless it is null. False when a conversion
// does not fit.
bool Fill(const std::string& format, const std::vector<FormatArg>& args, std::string* out) {
  std::size_t next = 0;
  std::size_t i = 0;
  while (i < format.size()) {
    const char c = format[i++];
    if (c != '%') {
      if (out) *out += c;
      continue;
    }
    if (i < format.size() && format[i] == '%') {
      ++i;
      if (out) *out += '%';
      continue;
    }
    Conversion conversion;
    if (!ReadConversion(format, i, conversion)) return false;
    if (next >= args.size() || args[next].kind() != conversion.kind) return false;
    if (out) *out += Filled(conversion, args[next]);
    ++next;
  }
  return true;
}

}  // namespace

bool FormatFits(const std::string& format, const std::vector<FormatArg>& args) {
  return Fill(format, args, nullptr);
}

std::string FormatChecked(const std::string& format, const std::vector<FormatArg>& args) {
  std::string filled;
  if (Fill(format, args, &filled)) return filled;
  std::string text = format;
  for (const FormatArg& arg : args) text += " " + PlainText(arg);
  return text;
}

}  // namespace kelvane
