#include "repair/reg_file_format.h"

#include <cstdio>

#include "foundation/ansi_chars.h"
#include "foundation/value_format.h"

namespace kelvane {

const char* const kRegFileHeader = "REGEDIT4";

namespace {

constexpr std::uint32_t kBytesPerContinuation = 22;

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string Quoted(const std::string& text) { return "\"" + EscapeQuotedText(text) + "\""; }

}  // namespace

bool FitsOnOneLine(const std::string& text) {
  return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

std::string RegKeyLine(const std::string& keyPath) { return "[" + keyPath + "]"; }

std::string EscapeQuotedText(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  // By characters: the registry editor reads the line as characters, and
  // the second byte of a double-byte character may equal a backslash.
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t size = AnsiCharSize(text, pos);
    if (size == 1 && (text[pos] == '\\' || text[pos] == '"')) escaped += '\\';
    escaped.append(text, pos, size);
    pos += size;
  }
  return escaped;
}

std::string RegValueNamePart(const std::string& name) {
  return name.empty() ? std::string("@") : Quoted(name);
}

bool IsQuotableString(const unsigned char* data, std::uint32_t length) {
  if (data == nullptr || length == 0 || data[length - 1] != 0) return false;
  for (std::uint32_t i = 0; i + 1 < length; ++i)
    if (data[i] == 0 || IsControl(data[i])) return false;
  return true;
}

std::string RegByteList(const unsigned char* data, std::uint32_t length) {
  std::string list;
  list.reserve(static_cast<std::size_t>(length) * 3 + length / kBytesPerContinuation * 2);
  for (std::uint32_t i = 0; i < length; ++i) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", data[i]);
    list += hex;
    if (i + 1 == length) break;
    list += ',';
    if (i > 0 && i % kBytesPerContinuation == 0) list += "\\\n";
  }
  return list;
}

std::string RegValueDataPart(std::uint32_t type, const unsigned char* data, std::uint32_t length) {
  if (data == nullptr) length = 0;
  char prefix[32];
  switch (type) {
    case kTypeString:
      if (IsQuotableString(data, length))
        return Quoted(std::string(reinterpret_cast<const char*>(data), length - 1));
      break;
    case kTypeDword:
      if (length == 4) {
        const std::uint32_t v = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 |
                                std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24;
        std::snprintf(prefix, sizeof prefix, "dword:%08x", static_cast<unsigned>(v));
        return prefix;
      }
      break;
    case kTypeBinary:
      return "hex:" + RegByteList(data, length);
    default:
      break;
  }
  // Every other type, and strings or numbers the short forms cannot carry,
  // keep their bytes; the editor reads the type number as hexadecimal.
  std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
  return prefix + RegByteList(data, length);
}

std::string RegValueLine(const std::string& name, std::uint32_t type, const unsigned char* data,
                         std::uint32_t length) {
  return RegValueNamePart(name) + "=" + RegValueDataPart(type, data, length);
}

}  // namespace kelvane
