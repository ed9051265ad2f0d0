#include "foundation/value_format.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace kelvane {

std::string DataAsText(const void* data, std::uint32_t length) {
  if (data == nullptr) return std::string();
  const char* text = static_cast<const char*>(data);
  const void* nul = std::memchr(text, 0, length);
  const std::size_t size = nul ? static_cast<const char*>(nul) - text : length;
  return std::string(text, size);
}

namespace {

std::string FormatDword(const unsigned char* bytes, std::uint32_t length) {
  std::uint32_t v = 0;
  for (std::uint32_t i = 0; i < 4 && i < length; ++i) v |= std::uint32_t(bytes[i]) << (8 * i);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "0x%08x (%ld)", static_cast<unsigned>(v),
                static_cast<long>(static_cast<std::int32_t>(v)));
  return buffer;
}

std::string FormatBinary(const unsigned char* bytes, std::uint32_t length) {
  const std::uint32_t shown = length < 20 ? length : 20;
  std::string text;
  for (std::uint32_t i = 0; i < shown; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
    if (i > 0) text += ' ';
    text += hex;
  }
  if (length > 20) text += "...";
  return text;
}

std::string FormatMultiString(const char* text, std::uint32_t length) {
  std::vector<std::string> parts;
  std::uint32_t pos = 0;
  while (pos < length) {
    const std::string part = DataAsText(text + pos, length - pos);
    if (part.empty()) break;
    parts.push_back(part);
    pos += static_cast<std::uint32_t>(part.size()) + 1;
  }
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += ' ';
    joined += parts[i];
  }
  return joined;
}

}  // namespace

std::string FormatValueData(const void* data, std::uint32_t length, std::uint32_t type) {
  if (data == nullptr) return std::string();
  const auto* bytes = static_cast<const unsigned char*>(data);
  switch (type) {
    case kTypeString:
    case kTypeExpandString:
      return DataAsText(data, length);
    case kTypeDword:
      return FormatDword(bytes, length);
    case kTypeBinary:
      return FormatBinary(bytes, length);
    case kTypeMultiString:
      return FormatMultiString(static_cast<const char*>(data), length);
    default:
      return std::string();
  }
}

}  // namespace kelvane
