#include "repair/reg_export_writer.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"

namespace {

// Lines as they stand on disk: the stream is a text stream, so every line
// ends in CR LF.
std::string OnDisk(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

class RegExportWriter : public ::testing::Test {
 protected:
  // Runs `write` on a stream opened like the fix opens its backup file and
  // returns the file's bytes.
  template <typename Write>
  std::string Written(Write write, const std::string& existing = std::string()) {
    const std::string path = folder / "backup.reg";
    FILE* out = std::fopen(path.c_str(), "w");
    EXPECT_NE(out, nullptr);
    if (out == nullptr) return std::string();
    std::fputs(existing.c_str(), out);
    write(out);
    std::fclose(out);
    return ReadWholeFile(path);
  }

  RegistrySandbox sandbox;
  ScratchFolder folder;
};

}  // namespace

TEST_F(RegExportWriter, HeaderOnceThenKeyLineBeforeEveryValue) {
  SetString(kCurrentUser, "Software\\Demo", "Path", "C:\\Demo\\demo.exe");
  SetDword(kCurrentUser, "Software\\Demo", "", 42);
  const std::string file = Written([](FILE* out) {
    ExportValue("HKEY_CURRENT_USER\\Software\\Demo", "Path", out);
    ExportValue("HKEY_CURRENT_USER\\Software\\Demo", "", out);
  });
  EXPECT_EQ(file, OnDisk({"REGEDIT4", "[HKEY_CURRENT_USER\\Software\\Demo]",
                          "\"Path\"=\"C:\\\\Demo\\\\demo.exe\"",
                          "[HKEY_CURRENT_USER\\Software\\Demo]", "@=dword:0000002a"}));
}

TEST_F(RegExportWriter, AStreamThatHoldsDataGetsNoHeader) {
  SetString(kLocalMachine, "Software\\Demo", "a", "1");
  const std::string file = Written(
      [](FILE* out) { ExportValue("HKEY_LOCAL_MACHINE\\Software\\Demo", "a", out); }, "REGEDIT4\n");
  EXPECT_EQ(file, OnDisk({"REGEDIT4", "[HKEY_LOCAL_MACHINE\\Software\\Demo]", "\"a\"=\"1\""}));
}

TEST_F(RegExportWriter, WhatCannotBeReadLeavesTheFileUnchanged) {
  SetString(kCurrentUser, "Software\\Demo", "Path", "x");
  auto nothing = [](FILE* out) {
    ExportValue("HKEY_CURRENT_USER\\Software\\Demo", "Missing", out);
    ExportValue("HKEY_CURRENT_USER\\Software\\NoSuchKey", "Path", out);
    ExportValue("HKCU\\Software\\Demo", "Path", out);
    ExportValue("", "Path", out);
    ExportKey("HKEY_CURRENT_USER\\Software\\NoSuchKey", out, 1);
    ExportKey("HKEY_NOWHERE\\Software\\Demo", out, 1);
  };
  EXPECT_EQ(Written(nothing), "");
  EXPECT_EQ(Written(nothing, "kept\n"), "kept\r\n");
  EXPECT_EQ(ExportValueText("HKEY_CURRENT_USER\\Software\\Demo", "Missing"), "");
}

TEST_F(RegExportWriter, EveryTypeAsTheRegistryHoldsIt) {
  const char* key = "Software\\Types";
  SetString(kCurrentUser, key, "a sz", "q\"uote\\back");
  SetString(kCurrentUser, key, "b expand", "%TEMP%\\x", REG_EXPAND_SZ);
  SetValue(kCurrentUser, key, "c multi", REG_MULTI_SZ, "a\0b\0", 5);
  SetValue(kCurrentUser, key, "d binary", REG_BINARY, "", 0);
  SetValue(kCurrentUser, key, "e none", REG_NONE, "\x01\x02", 2);
  SetValue(kCurrentUser, key, "f big endian", REG_DWORD_BIG_ENDIAN, "\x00\x00\x01\x02", 4);
  SetValue(kCurrentUser, key, "g requirements", 10, "\x0a", 1);
  SetValue(kCurrentUser, key, "h qword", REG_QWORD, "\x01\x02\x03\x04\x05\x06\x07\x08", 8);
  SetValue(kCurrentUser, key, "i short dword", REG_DWORD, "\x07\x00", 2);
  SetValue(kCurrentUser, key, "j unknown", 0x1234, "\xff", 1);
  SetValue(kCurrentUser, key, "k lines", REG_SZ, "one\r\ntwo", 9);
  // "X" follows the counted bytes: with a NUL there the setter would count
  // it as the terminator.
  SetValue(kCurrentUser, key, "l no terminator", REG_SZ, "abX", 2);
  SetValue(kCurrentUser, key, "m empty", REG_SZ, "", 0);
  const std::string file =
      Written([](FILE* out) { ExportKey("HKEY_CURRENT_USER\\Software\\Types", out, 1); });
  const char* k = "[HKEY_CURRENT_USER\\Software\\Types]";
  // clang-format off
  EXPECT_EQ(file, OnDisk({"REGEDIT4",
                          k, "\"a sz\"=\"q\\\"uote\\\\back\"",
                          k, "\"b expand\"=hex(2):25,54,45,4d,50,25,5c,78,00",
                          k, "\"c multi\"=hex(7):61,00,62,00,00",
                          k, "\"d binary\"=hex:",
                          k, "\"e none\"=hex(0):01,02",
                          k, "\"f big endian\"=hex(5):00,00,01,02",
                          k, "\"g requirements\"=hex(a):0a",
                          k, "\"h qword\"=hex(b):01,02,03,04,05,06,07,08",
                          k, "\"i short dword\"=hex(4):07,00",
                          k, "\"j unknown\"=hex(1234):ff",
                          k, "\"k lines\"=hex(1):6f,6e,65,0d,0a,74,77,6f,00",
                          k, "\"l no terminator\"=hex(1):61,62",
                          k, "\"m empty\"=hex(1):"}));
  // clang-format on
}

TEST_F(RegExportWriter, LongBinaryWrapsOnDisk) {
  unsigned char bytes[24];
  for (int i = 0; i < 24; ++i) bytes[i] = static_cast<unsigned char>(0xA0 + i);
  SetValue(kCurrentUser, "Software\\Bin", "b", REG_BINARY, bytes, 24);
  const std::string file =
      Written([](FILE* out) { ExportValue("HKEY_CURRENT_USER\\Software\\Bin", "b", out); });
  EXPECT_EQ(file, OnDisk({"REGEDIT4", "[HKEY_CURRENT_USER\\Software\\Bin]",
                          "\"b\"=hex:a0,a1,a2,a3,a4,a5,a6,a7,a8,a9,aa,ab,ac,ad,ae,af,b0,b1,b2,"
                          "b3,b4,b5,b6,\\",
                          "b7"}));
}

TEST_F(RegExportWriter, KeyWithSubtreeAndEmptyKeys) {
  // Names in sorted order, so that the enumeration order is the same
  // whether the registry keeps creation order or sorts.
  CreateKey(kCurrentUser, "Software\\Tree");
  SetString(kCurrentUser, "Software\\Tree\\A", "x", "1");
  CreateKey(kCurrentUser, "Software\\Tree\\A\\Empty");
  SetDword(kCurrentUser, "Software\\Tree\\A\\Full", "n", 1);
  CreateKey(kCurrentUser, "Software\\Tree\\B\\C");
  SetString(kCurrentUser, "Software\\Tree\\B\\C\\D", "", "deep");
  SetString(kCurrentUser, "Software\\Other", "y", "not in the tree");

  const std::string file =
      Written([](FILE* out) { ExportKey("HKEY_CURRENT_USER\\Software\\Tree", out, 1); });
  // clang-format off
  EXPECT_EQ(file, OnDisk({"REGEDIT4",
                          "[HKEY_CURRENT_USER\\Software\\Tree]",
                          "[HKEY_CURRENT_USER\\Software\\Tree\\A]",
                          "\"x\"=\"1\"",
                          "[HKEY_CURRENT_USER\\Software\\Tree\\A\\Empty]",
                          "[HKEY_CURRENT_USER\\Software\\Tree\\A\\Full]",
                          "\"n\"=dword:00000001",
                          "[HKEY_CURRENT_USER\\Software\\Tree\\B]",
                          "[HKEY_CURRENT_USER\\Software\\Tree\\B\\C]",
                          "[HKEY_CURRENT_USER\\Software\\Tree\\B\\C\\D]",
                          "@=\"deep\""}));
  // clang-format on
  // The backup check models exactly these lines.
  std::string text = ExportKeyText("HKEY_CURRENT_USER\\Software\\Tree", 1);
  for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
    text.insert(at, "\r");
  EXPECT_EQ("REGEDIT4\r\n" + text, file);
}

TEST_F(RegExportWriter, WithoutRecursionOnlyTheKeysOwnValues) {
  SetString(kCurrentUser, "Software\\Flat", "v", "1");
  SetString(kCurrentUser, "Software\\Flat\\Sub", "w", "2");
  CreateKey(kCurrentUser, "Software\\Flat\\Empty");
  EXPECT_EQ(Written([](FILE* out) { ExportKey("HKEY_CURRENT_USER\\Software\\Flat", out, 0); }),
            OnDisk({"REGEDIT4", "[HKEY_CURRENT_USER\\Software\\Flat]", "\"v\"=\"1\""}));
}

TEST_F(RegExportWriter, AnEmptyKeyAloneIsItsKeyLine) {
  CreateKey(kClassesRoot, "Empty");
  EXPECT_EQ(Written([](FILE* out) { ExportKey("HKEY_CLASSES_ROOT\\Empty", out, 1); }),
            OnDisk({"REGEDIT4", "[HKEY_CLASSES_ROOT\\Empty]"}));
}

TEST_F(RegExportWriter, KeyPathIsWrittenInItsCanonicalForm) {
  SetString(kCurrentUser, "Software\\Demo", "v", "1");
  EXPECT_EQ(
      Written([](FILE* out) { ExportValue("\\hkey_current_user\\Software\\Demo\\", "v", out); }),
      OnDisk({"REGEDIT4", "[HKEY_CURRENT_USER\\Software\\Demo]", "\"v\"=\"1\""}));
}

TEST_F(RegExportWriter, NamesWithLineBreaksAreLeftOutAndCannotInjectLines) {
  // Written as they are, these would add a value to another key on import.
  SetString(kCurrentUser, "Software\\Odd", "a\n[HKEY_LOCAL_MACHINE\\Software\\X]\n\"b", "1");
  SetString(kCurrentUser, "Software\\Odd", "c\r", "2");
  SetString(kCurrentUser, "Software\\Odd\\line\nbreak", "d", "3");
  SetString(kCurrentUser, "Software\\Odd", "kept", "4");
  EXPECT_EQ(Written([](FILE* out) { ExportKey("HKEY_CURRENT_USER\\Software\\Odd", out, 1); }),
            OnDisk({"REGEDIT4", "[HKEY_CURRENT_USER\\Software\\Odd]", "\"kept\"=\"4\""}));
  EXPECT_EQ(Written([](FILE* out) { ExportValue("HKEY_CURRENT_USER\\Software\\Odd", "c\r", out); }),
            "");
}

TEST_F(RegExportWriter, ValueVisitorExportsByPathWhateverDataItIsHanded) {
  SetString(kUsers, "S-1\\Env", "Path", "C:\\x");
  const std::string file = Written([](FILE* out) {
    EXPECT_EQ(ExportValueVisitor(kUsers, "S-1\\Env", "Path", 4, REG_DWORD, nullptr, 0, out), 1);
    EXPECT_EQ(ExportValueVisitor(kUsers, "S-1\\Env", "Gone", 4, REG_SZ, nullptr, 0, out), 1);
  });
  EXPECT_EQ(file, OnDisk({"REGEDIT4", "[HKEY_USERS\\S-1\\Env]", "\"Path\"=\"C:\\\\x\""}));
}
