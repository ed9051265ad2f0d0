#include "repair/reg_file_format.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// The data in a heap block of exactly its size, so that AddressSanitizer
// reports any read beyond the length.
std::string Line(const std::string& name, std::uint32_t type, const Bytes& bytes) {
  std::unique_ptr<unsigned char[]> exact(new unsigned char[bytes.empty() ? 1 : bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), exact.get());
  return RegValueLine(name, type, exact.get(), static_cast<std::uint32_t>(bytes.size()));
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
// The text with its terminating NUL, as a string value stores it.
Bytes Sz(const std::string& s) {
  Bytes b = Text(s);
  b.push_back(0);
  return b;
}
Bytes Counting(int n) {
  Bytes b;
  for (int i = 0; i < n; ++i) b.push_back(static_cast<unsigned char>(i));
  return b;
}

}  // namespace

TEST(RegFileFormat, HeaderAndKeyLine) {
  EXPECT_STREQ(kRegFileHeader, "REGEDIT4");
  EXPECT_EQ(RegKeyLine("HKEY_CURRENT_USER\\Software\\Demo"), "[HKEY_CURRENT_USER\\Software\\Demo]");
}

TEST(RegFileFormat, NamesAreQuotedWithBackslashAndQuoteEscaped) {
  EXPECT_EQ(RegValueNamePart(""), "@");
  EXPECT_EQ(RegValueNamePart("Path"), "\"Path\"");
  EXPECT_EQ(RegValueNamePart("@"), "\"@\"");
  EXPECT_EQ(RegValueNamePart("a\\b"), "\"a\\\\b\"");
  EXPECT_EQ(RegValueNamePart("say \"hi\""), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(RegValueNamePart("\\\""), "\"\\\\\\\"\"");
}

TEST(RegFileFormat, StringsInQuotesWithEscapes) {
  struct Case {
    std::string data;
    const char* line;
  } cases[] = {
      {"C:\\Demo\\demo.exe", "\"Path\"=\"C:\\\\Demo\\\\demo.exe\""},
      {"plain text", "\"Path\"=\"plain text\""},
      {"", "\"Path\"=\"\""},
      {"a \"quoted\" word", "\"Path\"=\"a \\\"quoted\\\" word\""},
      {"end\\", "\"Path\"=\"end\\\\\""},
      {"caf\xe9 \x80", "\"Path\"=\"caf\xe9 \x80\""},
  };
  for (const Case& c : cases) EXPECT_EQ(Line("Path", 1, Sz(c.data)), c.line) << c.data;
}

TEST(RegFileFormat, StringsTheQuotesCannotCarryKeepTheirBytes) {
  // Embedded NUL, no terminator, no data, line breaks and other control
  // characters: in quotes they would be cut short, lost or break the line.
  EXPECT_EQ(Line("s", 1, Text(std::string("a\0b\0", 4))), "\"s\"=hex(1):61,00,62,00");
  EXPECT_EQ(Line("s", 1, Text("ab")), "\"s\"=hex(1):61,62");
  EXPECT_EQ(Line("s", 1, {}), "\"s\"=hex(1):");
  EXPECT_EQ(Line("s", 1, Sz("a\r\nb")), "\"s\"=hex(1):61,0d,0a,62,00");
  EXPECT_EQ(Line("s", 1, Sz("a\nb")), "\"s\"=hex(1):61,0a,62,00");
  EXPECT_EQ(Line("s", 1, Sz("tab\there")), "\"s\"=hex(1):74,61,62,09,68,65,72,65,00");
  EXPECT_EQ(Line("s", 1, Sz("\x7f")), "\"s\"=hex(1):7f,00");
  EXPECT_EQ(Line("s", 1, Text(std::string("\0\0", 2))), "\"s\"=hex(1):00,00");
}

TEST(RegFileFormat, Dwords) {
  EXPECT_EQ(Line("", 4, {0x2a, 0, 0, 0}), "@=dword:0000002a");
  EXPECT_EQ(Line("n", 4, {0xff, 0xff, 0xff, 0xff}), "\"n\"=dword:ffffffff");
  EXPECT_EQ(Line("n", 4, {0x78, 0x56, 0x34, 0x12}), "\"n\"=dword:12345678");
  // Any other length cannot be a dword line without losing or inventing bytes.
  EXPECT_EQ(Line("n", 4, {0x01, 0x02}), "\"n\"=hex(4):01,02");
  EXPECT_EQ(Line("n", 4, {}), "\"n\"=hex(4):");
  EXPECT_EQ(Line("n", 4, {1, 2, 3, 4, 5}), "\"n\"=hex(4):01,02,03,04,05");
}

TEST(RegFileFormat, BinaryWrapsAfter23ThenEvery22Bytes) {
  const std::string first23 =
      "00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16";
  EXPECT_EQ(Line("b", 3, Counting(23)), "\"b\"=hex:" + first23);
  EXPECT_EQ(Line("b", 3, Counting(24)), "\"b\"=hex:" + first23 + ",\\\n17");
  EXPECT_EQ(Line("b", 3, Counting(45)),
            "\"b\"=hex:" + first23 +
                ",\\\n17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c");
  EXPECT_EQ(Line("b", 3, Counting(46)).substr(Line("b", 3, Counting(45)).size()), ",\\\n2d");
  EXPECT_EQ(Line("b", 3, {}), "\"b\"=hex:");
  EXPECT_EQ(Line("b", 3, {0xAB}), "\"b\"=hex:ab");
}

TEST(RegFileFormat, ByteListLinesHoldTwentyTwoBytesAfterTheFirst) {
  const std::string list = RegByteList(Counting(200).data(), 200);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = list.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(list.substr(start, end - start));
  lines.push_back(list.substr(start));
  ASSERT_EQ(lines.size(), 10u);                  // 23 + 8 * 22 + 1
  EXPECT_EQ(lines.front().size(), 23u * 3 + 1);  // 23 pairs, 23 commas, the backslash
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i].size(), 22u * 3 + 1);
  EXPECT_EQ(lines.back(), "c7");
}

TEST(RegFileFormat, StringListsAndExpandableStringsKeepTheirBytes) {
  EXPECT_EQ(Line("e", 2, Sz("%TEMP%\\x")), "\"e\"=hex(2):25,54,45,4d,50,25,5c,78,00");
  EXPECT_EQ(Line("m", 7, Text(std::string("a\0b\0\0", 5))), "\"m\"=hex(7):61,00,62,00,00");
  EXPECT_EQ(Line("m", 7, {}), "\"m\"=hex(7):");
}

TEST(RegFileFormat, EveryOtherTypeKeepsItsBytesUnderItsHexNumber) {
  struct Case {
    std::uint32_t type;
    const char* line;
  } cases[] = {
      {0, "\"v\"=hex(0):01,02"},           {5, "\"v\"=hex(5):01,02"},
      {6, "\"v\"=hex(6):01,02"},           {8, "\"v\"=hex(8):01,02"},
      {9, "\"v\"=hex(9):01,02"},           {10, "\"v\"=hex(a):01,02"},
      {11, "\"v\"=hex(b):01,02"},          {16, "\"v\"=hex(10):01,02"},
      {0x12345, "\"v\"=hex(12345):01,02"}, {0xFFFFFFFFu, "\"v\"=hex(ffffffff):01,02"},
  };
  for (const Case& c : cases) EXPECT_EQ(Line("v", c.type, {1, 2}), c.line) << c.type;
  EXPECT_EQ(Line("v", 11, {}), "\"v\"=hex(b):");
  EXPECT_EQ(Line("v", 0, {}), "\"v\"=hex(0):");
}

TEST(RegFileFormat, NoLineEndsInABareEquals) {
  for (std::uint32_t type : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 0xFFFFFFFFu}) {
    for (const Bytes& data : {Bytes{}, Bytes{0}, Bytes{1, 2, 3}, Bytes{1, 2, 3, 4}}) {
      const std::string line = Line("v", type, data);
      EXPECT_NE(line.back(), '=') << line;
    }
  }
}

TEST(RegFileFormat, OnlyLineBreaksAndNulDoNotFitOnALine) {
  EXPECT_TRUE(FitsOnOneLine("HKEY_CURRENT_USER\\a \"b\" [c] \t\x01\x1a\x7f\xe9"));
  EXPECT_TRUE(FitsOnOneLine(""));
  EXPECT_FALSE(FitsOnOneLine("a\nb"));
  EXPECT_FALSE(FitsOnOneLine("a\rb"));
  EXPECT_FALSE(FitsOnOneLine(std::string("a\0b", 3)));
}

TEST(RegFileFormat, QuotableStringsNeedOneTerminatedControlFreeString) {
  const unsigned char ok[] = {'a', 0xe9, ' ', '"', '\\', 0};
  EXPECT_TRUE(IsQuotableString(ok, sizeof ok));
  const unsigned char empty[] = {0};
  EXPECT_TRUE(IsQuotableString(empty, 1));
  EXPECT_FALSE(IsQuotableString(nullptr, 0));
  EXPECT_FALSE(IsQuotableString(ok, 0));
  EXPECT_FALSE(IsQuotableString(ok, sizeof ok - 1));
  const unsigned char twoNuls[] = {'a', 0, 0};
  EXPECT_FALSE(IsQuotableString(twoNuls, sizeof twoNuls));
  const unsigned char escape[] = {'a', 0x1b, 0};
  EXPECT_FALSE(IsQuotableString(escape, sizeof escape));
}
