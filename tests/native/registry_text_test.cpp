#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "foundation/registry_path.h"
#include "foundation/value_format.h"
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

TEST(RegistryPath, RootNamesAndSplitting) {
  // clang-format off
  const char* const kNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
      "HKEY_USERS", "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
  // Root 0: no split, and the outputs are left alone.
  const struct { const char* path; RootKey root; const char* subkey; } kCases[] = {
      {"\\HKEY_CURRENT_USER\\Software\\", kCurrentUser, "Software"}, {"HKLM\\Software", 0, ""},
      {"hkey_local_machine", kLocalMachine, ""}, {"\\\\\\HKEY_USERS\\\\\\", kUsers, ""},
      {"HKEY_LOCAL_MACHINE\\Software\\A\\B", kLocalMachine, "Software\\A\\B"}, {"", 0, ""},
      {"HKEY_CLASSES_ROOT\\\\x", kClassesRoot, "\\x"}, {"HKEY_USERS \\x", 0, ""}, {"\\\\", 0, ""},
      {"Software\\HKEY_USERS", 0, ""}, {"\\Software", 0, ""}};  // as built for an unknown root
  // clang-format on
  for (RootKey root = kClassesRoot; root <= kDynData; ++root) {
    EXPECT_EQ(RootKeyName(root), kNames[root - kClassesRoot]);
    EXPECT_EQ(ParseRootKeyName(kNames[root - kClassesRoot]), root);
  }
  for (RootKey unknown : {0x80000007u, 0x7FFFFFFFu, 0u}) EXPECT_EQ(RootKeyName(unknown), "");
  for (const auto& c : kCases) {
    RootKey root = 12345;
    std::string subkey = "unchanged";
    EXPECT_EQ(SplitRegistryPath(c.path, root, subkey), c.root != 0) << c.path;
    EXPECT_EQ(root, c.root ? c.root : 12345u) << c.path;
    EXPECT_EQ(subkey, c.root ? c.subkey : "unchanged") << c.path;
  }
}

TEST(FormatValueData, ByTypeWithinTheLength) {
  // clang-format off
  const struct { Bytes data; std::uint32_t type; const char* text; } kCases[] = {
      {{0xff, 0xff, 0xff, 0xff}, kTypeDword, "0xffffffff (-1)"},
      {{0, 0, 0, 0x80}, kTypeDword, "0x80000000 (-2147483648)"},
      {{0x01, 0x02}, kTypeDword, "0x00000201 (513)"}, {{}, kTypeDword, "0x00000000 (0)"},
      {Counting(25), kTypeBinary, "00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 11 12 13..."},
      {Counting(20), kTypeBinary, "00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 11 12 13"},
      {LanguageText(std::string("C:\\x.exe\0junk", 13)), kTypeString, "C:\\x.exe"}, {{}, kTypeBinary, ""},
      {LanguageText("%Path%"), kTypeExpandString, "%Path%"},  // no terminator: ends with the data
      {LanguageText(std::string("a\0b\0\0", 5)), kTypeMultiString, "a b"}, {{}, kTypeMultiString, ""},
      {LanguageText(std::string("one\0two", 7)), kTypeMultiString, "one two"},
      {LanguageText(std::string("a\0\0b\0\0", 6)), kTypeMultiString, "a"}, {Counting(8), kTypeNone, ""},
      {Counting(8), kTypeQword, ""}, {Counting(8), 0xFFFFu, ""}};
  // clang-format on
  for (const auto& c : kCases)
    EXPECT_EQ(FormatValueData(Exact(c.data).get(), Size(c.data), c.type), c.text) << c.type;
  EXPECT_EQ(FormatValueData(nullptr, 10, kTypeString), "");
}

TEST(RegFileFormat, ValueLines) {
  // clang-format off
  const struct { const char* name; std::uint32_t type; Bytes data; const char* line; } kCases[] = {
      // Backslash and quote are escaped in names and strings, nothing else.
      {"", 1, Sz("C:\\Demo\\x.exe"), "@=\"C:\\\\Demo\\\\x.exe\""},
      {"say \"hi\"\\", 1, Sz("a \"q\" end\\"), "\"say \\\"hi\\\"\\\\\"=\"a \\\"q\\\" end\\\\\""},
      {"@", 1, Sz(""), "\"@\"=\"\""}, {"s", 1, Sz("caf\xe9 \x80"), "\"s\"=\"caf\xe9 \x80\""},
      // Strings the quotes would cut short, lose or break keep their bytes.
      {"s", 1, LanguageText(std::string("a\0b\0", 4)), "\"s\"=hex(1):61,00,62,00"},
      {"s", 1, LanguageText("ab"), "\"s\"=hex(1):61,62"}, {"s", 1, {}, "\"s\"=hex(1):"},
      {"s", 1, Sz("a\r\nb"), "\"s\"=hex(1):61,0d,0a,62,00"},
      {"s", 1, Sz("\t\x7f"), "\"s\"=hex(1):09,7f,00"},
      // Only four bytes make a dword line; other lengths keep their bytes.
      {"n", 4, {0x78, 0x56, 0x34, 0x12}, "\"n\"=dword:12345678"},
      {"n", 4, {0x01, 0x02}, "\"n\"=hex(4):01,02"}, {"n", 4, {}, "\"n\"=hex(4):"},
      {"n", 4, {1, 2, 3, 4, 5}, "\"n\"=hex(4):01,02,03,04,05"},
      // Other types under their number in lower-case hexadecimal.
      {"b", 3, {0xAB}, "\"b\"=hex:ab"}, {"b", 3, {}, "\"b\"=hex:"},
      {"e", 2, Sz("%T%"), "\"e\"=hex(2):25,54,25,00"},
      {"m", 7, LanguageText(std::string("a\0b\0\0", 5)), "\"m\"=hex(7):61,00,62,00,00"},
      {"v", 0, {}, "\"v\"=hex(0):"}, {"v", 10, {1, 2}, "\"v\"=hex(a):01,02"},
      {"v", 11, {}, "\"v\"=hex(b):"}, {"v", 16, {1}, "\"v\"=hex(10):01"},
      {"v", 0xFFFFFFFFu, {1}, "\"v\"=hex(ffffffff):01"}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(Line(c.name, c.type, c.data), c.line) << c.line;
  // Byte lists wrap after 23 bytes, then after every 22.
  const std::string first =
      "\"b\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16";
  const std::string second = "17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c";
  EXPECT_EQ(Line("b", 3, Counting(23)), first);
  EXPECT_EQ(Line("b", 3, Counting(24)), first + ",\\\n17");
  EXPECT_EQ(Line("b", 3, Counting(46)), first + ",\\\n" + second + ",\\\n2d");
  const std::string many = Line("b", 3, Counting(200));
  EXPECT_EQ(std::count(many.begin(), many.end(), '\n'), 9);  // 23 + 8 * 22 + 1
  // Only CR, LF and NUL cannot stand inside one line.
  EXPECT_TRUE(FitsOnOneLine("HKEY_CURRENT_USER\\a \"b\" [c] \t\x01\x7f\xe9"));
  for (const std::string& bad : {std::string("a\nb"), std::string("a\rb"), std::string("a\0b", 3)})
    EXPECT_FALSE(FitsOnOneLine(bad));
}
