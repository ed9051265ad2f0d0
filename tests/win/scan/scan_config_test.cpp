#include "scan/scan_config.h"

#include <gtest/gtest.h>

#include <thread>

#include "foundation/file_checks.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

namespace {

using Strings = std::vector<std::string>;

std::string Config(const std::string& areas, const std::string& exclude) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config>\n  <Areas>\n" + areas +
         "  </Areas>\n  <Exclude>\n" + exclude + "  </Exclude>\n</Config>\n";
}
std::string RunArea(const std::string& attributes) { return "    <Run " + attributes + "/>\n"; }
std::string Item(const std::string& value) { return "      <item value=\"" + value + "\"/>\n"; }
std::string Custom(const std::string& items) {
  return "    <custom>\n" + items + "    </custom>\n";
}
const std::string kFactory =
    "    <default>\n" + Item("HKEY_LOCAL_MACHINE\\Software\\F") + "    </default>\n";

class ScanConfig : public ::testing::Test {
 protected:
  ComApartment com;
  ScratchFolder folder;
  const std::string xml = folder / "Settings.xml";

  void Write(const std::string& content) { folder.WriteFile("Settings.xml", content); }
  void TearDown() override { EXPECT_FALSE(FileExists(xml + ".tmp")) << "temporary file left"; }
};

TEST_F(ScanConfig, AnAreaIsOnOnlyWhenItsCustomSwitchIsADecimalOtherThanZero) {
  const struct {
    const char* attributes;
    bool on;
  } cases[] = {
      {"default=\"1\"", false},         {"custom=\"1\"", true},           {"custom=\"0\"", false},
      {"custom=\"-1\"", true},          {"custom=\" 2 \"", true},         {"custom=\"+7\"", true},
      {"custom=\"00\"", false},         {"custom=\"\"", false},           {"custom=\"yes\"", false},
      {"custom=\"1.5\"", false},        {"custom=\"0x1\"", false},        {"custom=\"1 2\"", false},
      {"custom=\"2147483647\"", true},  {"custom=\"2147483648\"", false}, {"custom=\"-\"", false},
      {"custom=\"-2147483648\"", true}, {"custom=\"4294967296\"", false},
  };
  for (const auto& c : cases) {
    Write(Config(RunArea(c.attributes), ""));
    const ScanConfigDocument document = LoadScanConfig(xml);
    ASSERT_TRUE(document.IsLoaded());
    EXPECT_EQ(IsAreaEnabled(document, ScanArea::Run), c.on) << c.attributes;
    EXPECT_EQ(ReadAreaFlags(xml, false)[AreaIndex(ScanArea::Run)], c.on) << c.attributes;
    EXPECT_FALSE(IsAreaEnabled(document, ScanArea::UserSoft)) << "no element";
  }
  Write(Config(RunArea("default=\"1\" custom=\"0\""), ""));
  EXPECT_TRUE(ReadAreaFlags(xml, true)[AreaIndex(ScanArea::Run)]);
}

TEST_F(ScanConfig, WriteExclusionsReplacesTheUserListInOrder) {
  // Items without a value exclude nothing: as a fragment of every path
  // they would switch the whole scan off.
  Write(Config("", kFactory + Custom(Item("A") + "      <item/>\n" + Item("") + Item("C"))));
  EXPECT_EQ(ReadExclusions(xml, false), (Strings{"A", "C"}));
  ASSERT_TRUE(WriteExclusions(xml, {"B", "", "A"}));
  EXPECT_EQ(ReadExclusions(xml, false), (Strings{"B", "A"}));
  EXPECT_EQ(ReadExclusions(xml, true), Strings{"HKEY_LOCAL_MACHINE\\Software\\F"});
  // Each item on its own line, indented like the ones it replaced.
  EXPECT_NE(ReadWholeFile(xml).find(kFactory + Custom(Item("B") + Item("A"))), std::string::npos)
      << ReadWholeFile(xml);
  const std::string odd = GetACP() == 1252 ? "a&b <\"c\"> *? Caf\xe9" : "a&b <\"c\"> *?";
  ASSERT_TRUE(AddExclusion(xml, odd));
  EXPECT_EQ(ReadExclusions(xml, false), (Strings{"B", "A", odd}));
  EXPECT_EQ(CountExclusions(xml), 3);
  ASSERT_TRUE(WriteExclusions(xml, {}));
  EXPECT_EQ(CountExclusions(xml), 0);
}

TEST_F(ScanConfig, SavingKeepsEverythingElseOfTheFile) {
  const std::string original =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- kept -->\n<Config build=\"7\">\n"
      "  <Areas>\n    <Run default=\"1\" custom=\"0\" extra=\"e\"/>\n    <Other x=\"1\"/>\n"
      "  </Areas>\n  <Exclude>\n    <default>\n      <item value=\"F\" why=\"factory\"/>\n"
      "    </default>\n    <custom>\n      <!-- user note -->\n      <item value=\"A\"/>\n"
      "      <group><item value=\"nested\"/></group>\n    </custom>\n  </Exclude>\n"
      "  <Unknown a=\"b\">text &amp; more</Unknown>\n</Config>\n";
  Write(original);
  AreaFlags flags{};
  flags[AreaIndex(ScanArea::Run)] = true;
  ASSERT_TRUE(WriteAreaFlags(xml, flags));
  ASSERT_TRUE(WriteExclusions(xml, {"B"}));
  ASSERT_TRUE(AddExclusion(xml, "C"));
  // The user's items come last in their list, after the nodes they do not own.
  std::string expected = original;
  expected.replace(expected.find("custom=\"0\""), 10, "custom=\"1\"");
  expected.replace(expected.find(Item("A")), Item("A").size(), "");
  expected.insert(expected.find("    </custom>"), Item("B") + Item("C"));
  EXPECT_EQ(ReadWholeFile(xml), expected);
}

TEST_F(ScanConfig, AFileThatDidNotLoadIsNeverWritten) {
  AreaFlags on;
  on.fill(true);
  for (const std::string content : {"", "<Config><Areas>", "\xff\xfe<"}) {
    if (content.empty())
      DeleteFileA(xml.c_str());
    else
      Write(content);
    const ScanConfigDocument document = LoadScanConfig(xml);
    EXPECT_FALSE(document.IsLoaded()) << content;
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(ReadAreaFlags(xml, true), AreaFlags{});
    EXPECT_EQ(ReadAreaFlags(xml, false), AreaFlags{});
    EXPECT_EQ(CountExclusions(xml), 0);
    EXPECT_FALSE(WriteAreaFlags(xml, on) || WriteExclusions(xml, {"A"}) || AddExclusion(xml, "A"));
    EXPECT_EQ(FileExists(xml), !content.empty());
    EXPECT_EQ(ReadWholeFile(xml), content);
  }
  // Nor one without a user list, nor a read-only one.
  const std::string noList = Config(RunArea("custom=\"1\""), kFactory);
  Write(noList);
  EXPECT_FALSE(WriteExclusions(xml, {"A"}) || AddExclusion(xml, "A"));
  EXPECT_EQ(ReadWholeFile(xml), noList);
  const std::string content = Config(RunArea("custom=\"1\""), Custom(Item("A")));
  Write(content);
  ASSERT_TRUE(SetFileAttributesA(xml.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(AddExclusion(xml, "B") || WriteAreaFlags(xml, AreaFlags{}));
  SetFileAttributesA(xml.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadWholeFile(xml), content);
  // Without COM on the thread nothing loads.
  bool loaded = true;
  std::thread([&] { loaded = LoadScanConfig(xml).IsLoaded(); }).join();
  EXPECT_FALSE(loaded);
}

TEST_F(ScanConfig, ShippedSettingsSwitchEverythingOnButTimeZones) {
  const std::string shipped = SourcePath("package\\Settings.xml");
  AreaFlags expected;
  expected.fill(true);
  expected[AreaIndex(ScanArea::TimeZone)] = false;
  EXPECT_EQ(ReadAreaFlags(shipped, true), expected);
  EXPECT_EQ(ReadAreaFlags(shipped, false), expected);
  EXPECT_TRUE(ReadExclusions(shipped, true).empty() && ReadExclusions(shipped, false).empty());
  // A copy takes the user's edits and keeps the factory switches.
  Write(ReadWholeFile(shipped));
  ASSERT_TRUE(AddExclusion(xml, "HKEY_CURRENT_USER\\Software\\Foo"));
  ASSERT_TRUE(WriteAreaFlags(xml, AreaFlags{}));
  EXPECT_EQ(ReadExclusions(xml, false), Strings{"HKEY_CURRENT_USER\\Software\\Foo"});
  EXPECT_EQ(ReadAreaFlags(xml, false), AreaFlags{});
  EXPECT_EQ(ReadAreaFlags(xml, true), expected);
}

}  // namespace
