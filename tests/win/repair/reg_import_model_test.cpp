#include "repair/reg_import_model.h"

#include <gtest/gtest.h>

namespace {

std::vector<unsigned char> Wide(const std::wstring& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  return std::vector<unsigned char>(bytes, bytes + text.size() * 2);
}

WideRegValue Value(DWORD type, std::vector<unsigned char> data) {
  WideRegValue value;
  value.type = type;
  value.data = std::move(data);
  return value;
}

}  // namespace

TEST(RegImportModel, LinesBecomeKeysAndValuesAsTheEditorStoresThem) {
  WideRegTree tree;
  ASSERT_TRUE(
      ImportModel("[HKEY_CURRENT_USER\\A\\B]\n"
                  "@=\"C:\\\\x \\\"y\\\"\"\n"
                  "\"q\\\"n\\\\\"=dword:0000002a\n"
                  "\"s\"=hex(1):61,62\n"
                  "\"e\"=hex(2):25,00\n"
                  "\"m\"=hex(7):\n"
                  "\"b\"=hex:00,01,\\\n02\n"
                  "\"t\"=hex(a):ff\n"
                  "[HKEY_CURRENT_USER\\A\\Empty]\n",
                  tree));
  const WideRegValues& b = tree[L"HKEY_CURRENT_USER\\A\\B"];
  EXPECT_EQ(b.size(), 7u);
  EXPECT_EQ(b.at(L""), Value(REG_SZ, Wide(std::wstring(L"C:\\x \"y\"") + L'\0')));
  EXPECT_EQ(b.at(L"q\"n\\"), Value(REG_DWORD, {0x2a, 0, 0, 0}));
  // String types in hex are ANSI text that gains a terminator.
  EXPECT_EQ(b.at(L"s"), Value(REG_SZ, Wide(std::wstring(L"ab") + L'\0')));
  EXPECT_EQ(b.at(L"e"), Value(REG_EXPAND_SZ, Wide(std::wstring(L"%") + L'\0')));
  EXPECT_EQ(b.at(L"m"), Value(REG_MULTI_SZ, {}));
  EXPECT_EQ(b.at(L"b"), Value(REG_BINARY, {0, 1, 2}));
  EXPECT_EQ(b.at(L"t"), Value(10, {0xff}));
  // Parents are created with the keys named.
  for (const wchar_t* key :
       {L"HKEY_CURRENT_USER", L"HKEY_CURRENT_USER\\A", L"HKEY_CURRENT_USER\\A\\Empty"}) {
    ASSERT_EQ(tree.count(key), 1u) << key;
    EXPECT_TRUE(tree[key].empty());
  }
  EXPECT_EQ(Subtree(tree, L"HKEY_CURRENT_USER\\A").size(), 3u);
  EXPECT_EQ(Subtree(tree, L"HKEY_CURRENT_USER\\A\\B").size(), 1u);
}

TEST(RegImportModel, ALaterValueLineReplacesAnEarlierOne) {
  WideRegTree tree;
  ASSERT_TRUE(ImportModel("[HKEY_USERS\\K]\n\"v\"=\"1\"\n[HKEY_USERS\\K]\n\"v\"=hex:\n", tree));
  EXPECT_EQ(tree[L"HKEY_USERS\\K"].at(L"v"), Value(REG_BINARY, {}));
}

TEST(RegImportModel, RefusesWhatTheWriterNeverWrites) {
  const char* refused[] = {
      "\"v\"=\"1\"\n",                               // a value before any key
      "[HKEY_USERS\\K]\n\"v\"=\n",                   // no data
      "[HKEY_USERS\\K]\n\"v\"=\"a\\nb\"\n",          // an escape other than \\ and \"
      "[HKEY_USERS\\K]\n\"v\"=\"open\n",             // no closing quote
      "[HKEY_USERS\\K]\n\"v\"=\"a\"x\n",             // text after the closing quote
      "[HKEY_USERS\\K]\nv=\"a\"\n",                  // an unquoted name
      "[HKEY_USERS\\K]\n\"v\"=dword:2a\n",           // a short number
      "[HKEY_USERS\\K]\n\"v\"=hex:1,02\n",           // a single digit
      "[HKEY_USERS\\K]\n\"v\"=hex:01,\n",            // a trailing comma
      "[HKEY_USERS\\K]\n\"v\"=hex(100000000):01\n",  // a type beyond 32 bits
      "[HKEY_USERS\\K]\n\"v\"=hex(x):01\n",          // a type that is no number
      "[HKEY_USERS\\K]\n\"v\"=hex:01,\\\n",          // a continuation without its line
      "[HKEY_USERS\\K\\]\n",                         // an empty key name
      "[HKEY_USERS\\\\K]\n",                         // an empty name between two backslashes
      "[HKEY_USERS\\K]\n\n",                         // an empty line
  };
  for (const char* text : refused) {
    WideRegTree tree;
    EXPECT_FALSE(ImportModel(text, tree)) << text;
  }
}
