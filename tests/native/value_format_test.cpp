#include "foundation/value_format.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The data in a heap block of exactly its size, so that AddressSanitizer
// reports any read beyond `length`.
std::string Format(const std::vector<unsigned char>& bytes, std::uint32_t type) {
  std::unique_ptr<unsigned char[]> exact(new unsigned char[bytes.size() ? bytes.size() : 1]);
  std::copy(bytes.begin(), bytes.end(), exact.get());
  return FormatValueData(exact.get(), static_cast<std::uint32_t>(bytes.size()), type);
}

std::vector<unsigned char> Bytes(const std::string& s) {
  return std::vector<unsigned char>(s.begin(), s.end());
}

std::vector<unsigned char> CountingBytes(int n) {
  std::vector<unsigned char> bytes;
  for (int i = 0; i < n; ++i) bytes.push_back(static_cast<unsigned char>(i));
  return bytes;
}

}  // namespace

TEST(FormatValueData, Dword) {
  EXPECT_EQ(Format({0xff, 0xff, 0xff, 0xff}, kTypeDword), "0xffffffff (-1)");
  EXPECT_EQ(Format({0x2a, 0, 0, 0}, kTypeDword), "0x0000002a (42)");
  EXPECT_EQ(Format({0, 0, 0, 0x80}, kTypeDword), "0x80000000 (-2147483648)");
}

TEST(FormatValueData, ShortDwordUsesTheBytesItHas) {
  EXPECT_EQ(Format({0x01, 0x02}, kTypeDword), "0x00000201 (513)");
  EXPECT_EQ(Format({0x07}, kTypeDword), "0x00000007 (7)");
  EXPECT_EQ(Format({}, kTypeDword), "0x00000000 (0)");
}

TEST(FormatValueData, BinaryShowsTwentyBytesThenDots) {
  EXPECT_EQ(Format(CountingBytes(25), kTypeBinary),
            "00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 11 12 13...");
  EXPECT_EQ(Format(CountingBytes(20), kTypeBinary),
            "00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 11 12 13");
  EXPECT_EQ(Format(CountingBytes(21), kTypeBinary).substr(57), "13...");
  EXPECT_EQ(Format({0xAB}, kTypeBinary), "ab");
  EXPECT_EQ(Format({}, kTypeBinary), "");
}

TEST(FormatValueData, Strings) {
  EXPECT_EQ(Format(Bytes(std::string("C:\\x.exe\0junk", 13)), kTypeString), "C:\\x.exe");
  EXPECT_EQ(Format(Bytes(std::string("%Path%\0", 7)), kTypeExpandString), "%Path%");
  // No terminator: the text ends with the data.
  EXPECT_EQ(Format(Bytes("abc"), kTypeString), "abc");
  EXPECT_EQ(FormatValueData(nullptr, 10, kTypeString), "");
}

TEST(FormatValueData, MultiString) {
  EXPECT_EQ(Format(Bytes(std::string("a\0b\0\0", 5)), kTypeMultiString), "a b");
  EXPECT_EQ(Format(Bytes(std::string("one\0two", 7)), kTypeMultiString), "one two");
  EXPECT_EQ(Format(Bytes(std::string("a\0\0b\0\0", 6)), kTypeMultiString), "a");
  EXPECT_EQ(Format({}, kTypeMultiString), "");
}

TEST(FormatValueData, OtherTypesAreEmpty) {
  for (std::uint32_t type : {0u, 5u, 6u, 8u, 11u, 0xFFFFu})
    EXPECT_EQ(Format({1, 2, 3, 4, 5, 6, 7, 8}, type), "") << type;
}

TEST(DataAsText, StopsAtNulOrLength) {
  EXPECT_EQ(DataAsText("ab\0cd", 5), "ab");
  EXPECT_EQ(DataAsText("abcd", 2), "ab");
  EXPECT_EQ(DataAsText(nullptr, 3), "");
}
