#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "repair/reg_file_format.h"

using namespace kelvane;

namespace {
using Bytes = std::vector<unsigned char>;

Bytes LanguageText(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes Sz(const std::string& s) { return LanguageText(s + '\0'); }
Bytes Counting(int n) {
  Bytes b(n);
  for (int i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(i);
  return b;
}
// A heap copy of exactly the data's size, so that AddressSanitizer reports any read beyond it.
std::unique_ptr<unsigned char[]> Exact(const Bytes& b) {
  std::unique_ptr<unsigned char[]> block(new unsigned char[b.size() + b.empty()]);
  std::copy(b.begin(), b.end(), block.get());
  return block;
}
std::uint32_t Size(const Bytes& b) { return static_cast<std::uint32_t>(b.size()); }
std::string Line(const std::string& name, std::uint32_t type, const Bytes& b) {
  return RegValueLine(name, type, Exact(b).get(), Size(b));
}
}  // namespace

TEST(RegFileFormat, ValueLines) {
  // clang-format off
  const struct { const char* name; std::uint32_t type; Bytes data; const char* line; } kCases[] = {
      // Backslash and quote are escaped in names and strings, nothing else.
      {"", 1, Sz("C:\\Demo\\x.exe"), "@=\"C:\\\\Demo\\\\x.exe\""},
      {"say \"hi\"\\", 1, Sz("a \"q\" end\\"), "\"say \\\"hi\\\"\\\\\"=\"a \\\"q\\\" end\\\\\""},
      // Strings the quotes would cut short, lose or break keep their bytes.
      {"s", 1, LanguageText(std::string("a\0b\0", 4)), "\"s\"=hex(1):61,00,62,00"},
      {"s", 1, Sz("a\r\nb"), "\"s\"=hex(1):61,0d,0a,62,00"},
      // Only four bytes make a dword line; other lengths keep their bytes.
      {"n", 4, {0x78, 0x56, 0x34, 0x12}, "\"n\"=dword:12345678"},
      {"n", 4, {0x01, 0x02}, "\"n\"=hex(4):01,02"},
      // Other types under their number in lower-case hexadecimal.
      {"e", 2, Sz("%T%"), "\"e\"=hex(2):25,54,25,00"},
      {"m", 7, LanguageText(std::string("a\0b\0\0", 5)), "\"m\"=hex(7):61,00,62,00,00"},
      {"v", 0xFFFFFFFFu, {1}, "\"v\"=hex(ffffffff):01"}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(Line(c.name, c.type, c.data), c.line) << c.line;
  // Byte lists wrap after 23 bytes, then after every 22.
  const std::string first =
      "\"b\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16";
  const std::string second = "17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c";
  EXPECT_EQ(Line("b", 3, Counting(46)), first + ",\\\n" + second + ",\\\n2d");
  // Only CR, LF and NUL cannot stand inside one line.
  EXPECT_TRUE(FitsOnOneLine("HKEY_CURRENT_USER\\a \"b\" [c] \t\x01\x7f\xe9"));
  for (const std::string& bad : {std::string("a\nb"), std::string("a\rb"), std::string("a\0b", 3)})
    EXPECT_FALSE(FitsOnOneLine(bad));
}
