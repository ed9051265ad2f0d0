#include "scan/scan_config.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "foundation/file_checks.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

namespace {

std::string Config(const std::string& areas, const std::string& exclude) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config>\n  <Areas>\n" + areas +
         "  </Areas>\n  <Exclude>\n" + exclude + "  </Exclude>\n</Config>\n";
}

std::string Area(const char* name, const std::string& attributes) {
  return std::string("    <") + name + " " + attributes + "/>\n";
}

const std::string kDefaultList =
    "    <default>\n      <item value=\"HKEY_LOCAL_MACHINE\\Software\\Factory\"/>\n    "
    "</default>\n";

std::string CustomList(const std::string& items) {
  return "    <custom>\n" + items + "    </custom>\n";
}

std::string Item(const std::string& value) { return "      <item value=\"" + value + "\"/>\n"; }

using Strings = std::vector<std::string>;

}  // namespace

class ScanConfigTest : public ::testing::Test {
 protected:
  ComApartment com;
  ScratchFolder folder;
  std::string xml = folder / "Settings.xml";

  void Write(const std::string& content) { folder.WriteFile("Settings.xml", content); }
  void TearDown() override { EXPECT_FALSE(FileExists(xml + ".tmp")) << "temporary file left"; }
};

TEST_F(ScanConfigTest, CustomAttributeTextsAsSwitches) {
  const struct {
    const char* attributes;
    bool on;
  } cases[] = {
      {"default=\"1\"", false},         {"custom=\"2\"", true},
      {"custom=\"1\"", true},           {"custom=\"0\"", false},
      {"custom=\"-1\"", true},          {"custom=\" 1 \"", true},
      {"custom=\"+7\"", true},          {"custom=\"00\"", false},
      {"custom=\"\"", false},           {"custom=\"yes\"", false},
      {"custom=\"true\"", false},       {"custom=\"1.5\"", false},
      {"custom=\"0x1\"", false},        {"custom=\"1 2\"", false},
      {"custom=\"2147483647\"", true},  {"custom=\"-2147483648\"", true},
      {"custom=\"4294967296\"", false}, {"custom=\"-\"", false},
  };
  for (const auto& c : cases) {
    Write(Config(Area("Run", c.attributes), ""));
    const ScanConfigDocument document = LoadScanConfig(xml);
    ASSERT_TRUE(document.IsLoaded());
    EXPECT_EQ(document.path(), xml);
    EXPECT_EQ(IsAreaEnabled(document, ScanArea::Run), c.on) << c.attributes;
    EXPECT_EQ(ReadAreaFlags(xml, false)[AreaIndex(ScanArea::Run)], c.on) << c.attributes;
    EXPECT_FALSE(IsAreaEnabled(document, ScanArea::UserSoft)) << "missing element";
  }
}

TEST_F(ScanConfigTest, FactoryAndUserSwitchesAreReadSeparately) {
  Write(Config(Area("UserSoft", "default=\"1\" custom=\"0\"") + Area("Com", "custom=\"1\"") +
                   Area("TimeZone", "default=\"3\" custom=\"3\""),
               ""));
  AreaFlags factory{}, user{};
  factory[AreaIndex(ScanArea::UserSoft)] = true;
  factory[AreaIndex(ScanArea::TimeZone)] = true;
  user[AreaIndex(ScanArea::Com)] = true;
  user[AreaIndex(ScanArea::TimeZone)] = true;
  EXPECT_EQ(ReadAreaFlags(xml, true), factory);
  EXPECT_EQ(ReadAreaFlags(xml, false), user);
}

TEST_F(ScanConfigTest, WriteAreaFlagsSetsOnlyTheUserSwitches) {
  Write(Config(Area("UserSoft", "default=\"1\" custom=\"1\" note=\"x\"") +
                   Area("Dll", "default=\"0\"") + Area("Run", "custom=\"2\""),
               CustomList("")));
  AreaFlags flags{};
  flags[AreaIndex(ScanArea::Dll)] = true;
  flags[AreaIndex(ScanArea::Run)] = true;
  flags[AreaIndex(ScanArea::Com)] = true;  // no element: stays missing
  ASSERT_TRUE(WriteAreaFlags(xml, flags));
  const std::string saved = ReadWholeFile(xml);
  EXPECT_NE(saved.find("<UserSoft default=\"1\" custom=\"0\" note=\"x\"/>"), std::string::npos)
      << saved;
  EXPECT_NE(saved.find("<Dll default=\"0\" custom=\"1\"/>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<Run custom=\"1\"/>"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("<Com"), std::string::npos) << saved;
  AreaFlags expected{};
  expected[AreaIndex(ScanArea::Dll)] = true;
  expected[AreaIndex(ScanArea::Run)] = true;
  EXPECT_EQ(ReadAreaFlags(xml, false), expected);
}

TEST_F(ScanConfigTest, WriteExclusionsReplacesTheUserListInOrder) {
  Write(Config("", kDefaultList + CustomList(Item("A") + Item("C") + Item("D"))));
  ASSERT_TRUE(WriteExclusions(xml, {"B", "A"}));
  EXPECT_EQ(ReadExclusions(xml, false), (Strings{"B", "A"}));
  EXPECT_EQ(ReadExclusions(xml, true), (Strings{"HKEY_LOCAL_MACHINE\\Software\\Factory"}));
  EXPECT_EQ(CountExclusions(xml), 2);
  const std::string saved = ReadWholeFile(xml);
  EXPECT_NE(saved.find(kDefaultList), std::string::npos) << saved;
  // Each item on its own line, indented like the ones it replaced.
  EXPECT_NE(saved.find(CustomList(Item("B") + Item("A"))), std::string::npos) << saved;

  ASSERT_TRUE(WriteExclusions(xml, {}));
  EXPECT_TRUE(ReadExclusions(xml, false).empty());
  EXPECT_EQ(ReadExclusions(xml, true).size(), 1u);
}

TEST_F(ScanConfigTest, AddExclusionAppendsAfterTheOthers) {
  Write(Config("", "    <default/>\n    <custom/>\n"));
  ASSERT_TRUE(AddExclusion(xml, "HKEY_LOCAL_MACHINE\\Software\\Foo"));
  ASSERT_TRUE(AddExclusion(xml, "a&b <\"c\"> *?"));
  EXPECT_EQ(ReadExclusions(xml, false),
            (Strings{"HKEY_LOCAL_MACHINE\\Software\\Foo", "a&b <\"c\"> *?"}));
  EXPECT_TRUE(ReadExclusions(xml, true).empty());
  EXPECT_NE(ReadWholeFile(xml).find("    <custom>\n      <item value=\"HKEY_LOCAL_MACHINE"
                                    "\\Software\\Foo\"/>\n      <item "),
            std::string::npos)
      << ReadWholeFile(xml);
  EXPECT_FALSE(AddExclusion(xml, ""));
  EXPECT_EQ(CountExclusions(xml), 2);
}

TEST_F(ScanConfigTest, TextInTheAnsiCodePageSurvivesTheRoundTrip) {
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  Write(Config("", CustomList("")));
  const std::string value = "HKEY_CURRENT_USER\\Software\\Caf\xe9 \xc4rger";
  ASSERT_TRUE(AddExclusion(xml, value));
  EXPECT_EQ(ReadExclusions(xml, false), Strings{value});
  EXPECT_NE(ReadWholeFile(xml).find("Caf\xc3\xa9"), std::string::npos) << "stored as UTF-8";
}

TEST_F(ScanConfigTest, SavingKeepsEverythingElseOfTheFile) {
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
  expected.replace(expected.find("      <item value=\"A\"/>\n"), 24, "");
  expected.insert(expected.find("    </custom>"),
                  "      <item value=\"B\"/>\n      <item value=\"C\"/>\n");
  EXPECT_EQ(ReadWholeFile(xml), expected);
}

TEST_F(ScanConfigTest, MissingOrMalformedFileReadsEmptyAndIsNeverWritten) {
  AreaFlags on;
  on.fill(true);
  for (const char* content : {"", "<Config><Areas>", "not xml at all", "\xff\xfe<\x00"}) {
    const bool missing = *content == '\0';
    if (missing)
      DeleteFileA(xml.c_str());
    else
      Write(content);
    const ScanConfigDocument document = LoadScanConfig(xml);
    EXPECT_FALSE(document.IsLoaded()) << content;
    EXPECT_FALSE(document.Save());
    for (ScanArea area : kScanAreas) EXPECT_FALSE(IsAreaEnabled(document, area));
    EXPECT_EQ(ReadAreaFlags(xml, true), AreaFlags{});
    EXPECT_EQ(ReadAreaFlags(xml, false), AreaFlags{});
    EXPECT_TRUE(ReadExclusions(xml, true).empty());
    EXPECT_TRUE(ReadExclusions(xml, false).empty());
    EXPECT_EQ(CountExclusions(xml), 0);
    EXPECT_FALSE(WriteAreaFlags(xml, on));
    EXPECT_FALSE(WriteExclusions(xml, {"A"}));
    EXPECT_FALSE(AddExclusion(xml, "A"));
    if (missing)
      EXPECT_FALSE(FileExists(xml));
    else
      EXPECT_EQ(ReadWholeFile(xml), content);
  }
}

TEST_F(ScanConfigTest, WithoutAUserListNothingIsAppended) {
  const std::string content = Config(Area("Run", "custom=\"1\""), kDefaultList);
  Write(content);
  EXPECT_FALSE(WriteExclusions(xml, {"A"}));
  EXPECT_FALSE(AddExclusion(xml, "A"));
  EXPECT_EQ(ReadWholeFile(xml), content);
  EXPECT_EQ(ReadExclusions(xml, true).size(), 1u);

  Write(Config(Area("Run", "custom=\"1\""), CustomList(Item("A"))));
  EXPECT_TRUE(ReadExclusions(xml, true).empty()) << "no default list";
  EXPECT_EQ(ReadExclusions(xml, false), Strings{"A"});
}

TEST_F(ScanConfigTest, ItemsWithoutAValueExcludeNothing) {
  Write(Config(
      "", CustomList("      <item/>\n" + Item("A") + Item("") + "      <item other=\"x\"/>\n")));
  EXPECT_EQ(ReadExclusions(xml, false), Strings{"A"});
  EXPECT_EQ(CountExclusions(xml), 1);
  // Rewriting the list drops them; empty strings are never written.
  ASSERT_TRUE(WriteExclusions(xml, {"", "B"}));
  const std::string saved = ReadWholeFile(xml);
  EXPECT_NE(saved.find(CustomList(Item("B"))), std::string::npos) << saved;
}

TEST_F(ScanConfigTest, ItemsOfEveryUserListAreReplaced) {
  Write(Config("", CustomList(Item("A")) + CustomList(Item("B"))));
  EXPECT_EQ(ReadExclusions(xml, false), (Strings{"A", "B"}));
  ASSERT_TRUE(WriteExclusions(xml, {"C"}));
  EXPECT_EQ(ReadExclusions(xml, false), Strings{"C"});
}

TEST_F(ScanConfigTest, AFailedSaveLeavesTheFileAsItWas) {
  const std::string content = Config(Area("Run", "custom=\"1\""), CustomList(Item("A")));
  Write(content);
  ASSERT_TRUE(SetFileAttributesA(xml.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(AddExclusion(xml, "B"));
  EXPECT_FALSE(WriteAreaFlags(xml, AreaFlags{}));
  SetFileAttributesA(xml.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadWholeFile(xml), content);
}

TEST_F(ScanConfigTest, WithoutComNothingLoads) {
  Write(Config(Area("Run", "custom=\"1\""), ""));
  bool loaded = true, enabled = true;
  std::thread([&] {
    const ScanConfigDocument document = LoadScanConfig(xml);
    loaded = document.IsLoaded();
    enabled = IsAreaEnabled(document, ScanArea::Run);
  }).join();
  EXPECT_FALSE(loaded);
  EXPECT_FALSE(enabled);
}

TEST_F(ScanConfigTest, ShippedSettingsSwitchEverythingOnButTimeZones) {
  const std::string shipped = SourcePath("package\\Settings.xml");
  AreaFlags expected;
  expected.fill(true);
  expected[AreaIndex(ScanArea::TimeZone)] = false;
  EXPECT_EQ(ReadAreaFlags(shipped, true), expected);
  EXPECT_EQ(ReadAreaFlags(shipped, false), expected);
  EXPECT_TRUE(ReadExclusions(shipped, true).empty());
  EXPECT_TRUE(ReadExclusions(shipped, false).empty());

  // A copy accepts the user's edits and keeps the factory switches.
  Write(ReadWholeFile(shipped));
  ASSERT_TRUE(AddExclusion(xml, "HKEY_CURRENT_USER\\Software\\Foo"));
  ASSERT_TRUE(WriteAreaFlags(xml, AreaFlags{}));
  EXPECT_EQ(ReadExclusions(xml, false), Strings{"HKEY_CURRENT_USER\\Software\\Foo"});
  EXPECT_EQ(ReadAreaFlags(xml, false), AreaFlags{});
  EXPECT_EQ(ReadAreaFlags(xml, true), expected);
}
