#include "scan/scan_config.h"

#include <gtest/gtest.h>

#include "foundation/file_checks.h"
#include "support/scratch_folder.h"

using namespace kelvane;

namespace {

using Strings = std::vector<std::string>;

// Only the Run switch, with `attributes`, and one user item.
std::string RunOnly(const std::string& attributes) {
  return "<Config><Areas><Run " + attributes +
         "/></Areas><Exclude><custom><item value=\"A\"/></custom></Exclude></Config>";
}
std::string Item(const std::string& value) { return "      <item value=\"" + value + "\"/>\n"; }

class ScanConfig : public ::testing::Test {
 protected:
  ComApartment com;
  ScratchFolder folder;
  const std::string xml = folder / "Settings.xml";

  void Write(const std::string& content) { folder.WriteFile("Settings.xml", content); }
  void TearDown() override { EXPECT_FALSE(FileExists(xml + ".tmp")) << "temporary file left"; }
};

TEST_F(ScanConfig, AnAreaIsOnOnlyWhenItsCustomSwitchIsADecimalOtherThanZero) {
  // A typo or an overflow switches the area off rather than on.
  const std::pair<const char*, bool> cases[] = {
      {"1", true}, {"-1", true},   {" 2 ", true},  {"0", false},
      {"", false}, {"yes", false}, {"1.5", false}, {"2147483648", false}};
  for (const auto& c : cases) {
    Write(RunOnly("default=\"1\" custom=\"" + std::string(c.first) + "\""));
    const ScanConfigDocument document = LoadScanConfig(xml);
    EXPECT_EQ(IsAreaEnabled(document, ScanArea::Run), c.second) << c.first;
    EXPECT_FALSE(IsAreaEnabled(document, ScanArea::UserSoft)) << "no element";
  }
  Write(RunOnly("default=\"1\""));
  EXPECT_FALSE(IsAreaEnabled(LoadScanConfig(xml), ScanArea::Run)) << "no custom switch";
  EXPECT_TRUE(ReadAreaFlags(xml, true)[AreaIndex(ScanArea::Run)]) << "the factory switch";
}

TEST_F(ScanConfig, WritingKeepsEverythingButTheUserListWhichTakesTheGivenOrder) {
  const std::string items = Item("A") + "      <item/>\n" + Item("") + Item("C");
  const std::string original =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- kept -->\n<Config build=\"7\">\n"
      "  <Areas>\n    <Run default=\"1\" custom=\"0\" extra=\"e\"/>\n    <Other x=\"1\"/>\n"
      "  </Areas>\n  <Exclude>\n    <default>\n      <item value=\"F\" why=\"factory\"/>\n"
      "    </default>\n    <custom>\n      <!-- user note -->\n" +
      items +
      "      <group><item value=\"nested\"/></group>\n    </custom>\n  </Exclude>\n"
      "  <Unknown a=\"b\">text &amp; more</Unknown>\n</Config>\n";
  Write(original);
  // An item without a value would, as a fragment of every path, switch the scan off.
  EXPECT_EQ(ReadExclusions(xml, false), (Strings{"A", "C"}));
  AreaFlags flags{};
  flags[AreaIndex(ScanArea::Run)] = true;
  ASSERT_TRUE(WriteAreaFlags(xml, flags));
  ASSERT_TRUE(WriteExclusions(xml, {"B", "", "A"}));
  ASSERT_TRUE(AddExclusion(xml, "C"));
  // The user's items come last in their list, each on its own line.
  std::string expected = original;
  expected.replace(expected.find("custom=\"0\""), 10, "custom=\"1\"");
  expected.replace(expected.find(items), items.size(), "");
  expected.insert(expected.find("    </custom>"), Item("B") + Item("A") + Item("C"));
  EXPECT_EQ(ReadWholeFile(xml), expected);
  const std::string odd = GetACP() == 1252 ? "a&b <\"c\"> *? Caf\xe9" : "a&b <\"c\"> *?";
  ASSERT_TRUE(AddExclusion(xml, odd));
  EXPECT_EQ(ReadExclusions(xml, false), (Strings{"B", "A", "C", odd}));
  EXPECT_EQ(ReadExclusions(xml, true), Strings{"F"});
  ASSERT_TRUE(WriteExclusions(xml, {}));
  EXPECT_EQ(CountExclusions(xml), 0);
}

TEST_F(ScanConfig, AFileThatDidNotLoadIsNeverWritten) {
  for (const std::string content : {"", "<Config><Areas>", "\xff\xfe<"}) {
    if (!content.empty()) Write(content);
    const ScanConfigDocument document = LoadScanConfig(xml);
    EXPECT_FALSE(document.IsLoaded()) << content;
    EXPECT_FALSE(document.Save()) << content;
    EXPECT_FALSE(WriteAreaFlags(xml, {})) << content;
    EXPECT_FALSE(WriteExclusions(xml, {"A"})) << content;
    EXPECT_FALSE(AddExclusion(xml, "A")) << content;
    EXPECT_EQ(FileExists(xml), !content.empty());
    EXPECT_EQ(ReadWholeFile(xml), content);
  }
  // Nor a read-only one.
  const std::string content = RunOnly("custom=\"1\"");
  Write(content);
  ASSERT_TRUE(SetFileAttributesA(xml.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(AddExclusion(xml, "B")) << "read-only";
  EXPECT_FALSE(WriteAreaFlags(xml, AreaFlags{})) << "read-only";
  SetFileAttributesA(xml.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadWholeFile(xml), content);
}

}  // namespace
