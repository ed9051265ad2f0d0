#include "scan/registry_walker.h"

#include <gtest/gtest.h>

#include "support/registry_sandbox.h"

using namespace kelvane;

namespace {

using Calls = std::vector<std::string>;

// Records callbacks as "V|K path|name|type|length" (K: no data); answers stop on call `stopAt`.
struct Trace {
  Calls calls;
  std::size_t stopAt = 0;
};

int Record(RootKey, const std::string& path, const std::string& name, std::uint32_t nameLength,
           std::uint32_t type, const unsigned char* data, std::uint32_t length, void* context) {
  Trace& trace = *static_cast<Trace*>(context);
  EXPECT_EQ(nameLength, data != nullptr ? name.size() : 0u);
  trace.calls.push_back((data != nullptr ? "V " : "K ") + path + "|" + name + "|" +
                        std::to_string(type) + "|" + std::to_string(length));
  return trace.calls.size() == trace.stopAt ? 0 : 1;
}

const std::string V1 = "V Software\\A|one|1|2", V2 = "V Software\\A|two|4|4",
                  KB = "K Software\\A\\B|B|0|0", V3 = "V Software\\A\\B|three|2|2",
                  KC = "K Software\\A\\B\\C|C|0|0", V4 = "V Software\\A\\B\\C|four|1|2",
                  KD = "K Software\\A\\D|D|0|0", V5 = "V Software\\A\\D|five|1|2";

class RegistryWalker : public ::testing::Test {
 protected:
  RegistrySandbox sandbox;
  void SetUp() override {
    SetString(kCurrentUser, "Software\\A", "one", "1");
    SetDword(kCurrentUser, "Software\\A", "two", 2);
    SetString(kCurrentUser, "Software\\A\\B", "three", "3", REG_EXPAND_SZ);
    SetString(kCurrentUser, "Software\\A\\B\\C", "four", "4");
    SetString(kCurrentUser, "Software\\A\\D", "five", "5");
  }

  Calls Walk(const std::string& start, int recurse, const TypeFilter& filter = {},
             const SkipList& skip = {}, std::size_t stopAt = 0) {
    Trace trace{{}, stopAt};
    EXPECT_EQ(WalkKey(kCurrentUser, start, recurse, Record, &trace, Record, &trace, filter, skip),
              stopAt == 0 ? 1 : 0);
    return trace.calls;
  }
};

TEST_F(RegistryWalker, PreOrderWalkWithTypeFilterAndSkipList) {
  const Calls all = {V1, V2, KB, V3, KC, V4, KD, V5};
  EXPECT_EQ(Walk("\\Software\\A\\", 1), all);
  EXPECT_EQ(Walk("Software\\A", 0), (Calls{V1, V2, KB, KD}));
  EXPECT_EQ(Walk("Software\\A", 1, {REG_SZ}), (Calls{V1, KB, KC, V4, KD, V5}));
  // A skipped key is still shown to the key callback. Items match the
  // lower-cased full path as a fragment or as a whole pattern.
  EXPECT_EQ(Walk("Software\\A", 1, {}, {"A\\b"}), (Calls{V1, V2, KB, KD, V5}));
  EXPECT_EQ(Walk("Software\\A", 1, {}, {"*\\D"}), (Calls{V1, V2, KB, V3, KC, V4, KD}));
  EXPECT_EQ(Walk("Software\\A", 1, {}, {"HKEY_CURRENT_USER\\SOFTWARE\\A"}), Calls{});
  EXPECT_EQ(Walk("Software\\A", 1, {}, {"hkey_current_user\\software\\a\\b\\c\\x"}), all);
  EXPECT_EQ(Walk("", 1, {}, {"hkey_current_user\\?*"}), Calls{"K Software|Software|0|0"});
}

TEST_F(RegistryWalker, UnopenableKeysAreLeftOutAndLargeValuesArriveWhole) {
  EXPECT_EQ(Walk("Software\\Missing", 1), Calls{});
  const std::string name(300, 'n'), huge(100000, 'h');
  SetString(kCurrentUser, "Software\\Big", name, std::string(3000, 'x'));
  SetValue(kCurrentUser, "Software\\Big\\Deeper", "huge", REG_BINARY, huge.data(), huge.size());
  SetString(kCurrentUser, "Software\\Big\\Deeper", "zafter", "x");
  EXPECT_EQ(Walk("Software\\Big", 1),
            (Calls{"V Software\\Big|" + name + "|1|3001", "K Software\\Big\\Deeper|Deeper|0|0",
                   "V Software\\Big\\Deeper|huge|3|100000", "V Software\\Big\\Deeper|zafter|1|2"}));
}

TEST_F(RegistryWalker, StopAnswerUnwindsAWalkAndEndsAnEnumeration) {
  EXPECT_EQ(Walk("Software\\A", 1, {}, {}, 6), (Calls{V1, V2, KB, V3, KC, V4}));
  EXPECT_EQ(Walk("Software\\A", 1, {}, {}, 3), (Calls{V1, V2, KB}));
  EXPECT_EQ(Walk("Software\\A", 1, {}, {}, 2), (Calls{V1, V2}));
  Trace direct, stopped{{}, 1};
  EnumSubkeys(kCurrentUser, " \\Software\\A\\ ", Record, &direct, 0, 0xFFFFFFFFu, 0);
  EXPECT_EQ(direct.calls, (Calls{"K Software\\A|B|0|0", "K Software\\A|D|0|0"}));
  EnumSubkeys(kCurrentUser, "Software\\A", Record, &stopped, 0, 0xFFFFFFFFu, 0);
  EXPECT_EQ(stopped.calls, Calls{"K Software\\A|B|0|0"});
  EXPECT_FALSE(HasNoSubkeys(kCurrentUser, "Software\\A"));
  EXPECT_TRUE(HasNoSubkeys(kCurrentUser, "Software\\A\\D")) << "values only";
  EXPECT_TRUE(HasNoSubkeys(kCurrentUser, "Software\\Missing")) << "a missing key has none";
}

}  // namespace
