#include "scan/registry_walker.h"

#include <gtest/gtest.h>

#include "support/registry_sandbox.h"
#include "support/scan_recorder.h"

namespace {

// Records every callback as "V path|name|type|length" or "K path|name".
struct Trace {
  std::vector<std::string> calls;
  std::size_t stopAt = 0;  // answer 0 on this call (1-based); 0 = never
  int Answer() { return stopAt != 0 && calls.size() == stopAt ? 0 : 1; }
};

int TraceValue(RootKey, const std::string& path, const std::string& name, std::uint32_t nameLength,
               std::uint32_t type, const unsigned char* data, std::uint32_t dataLength,
               void* context) {
  auto* trace = static_cast<Trace*>(context);
  EXPECT_EQ(nameLength, name.size());
  EXPECT_NE(data, nullptr);
  trace->calls.push_back("V " + path + "|" + name + "|" + std::to_string(type) + "|" +
                         std::to_string(dataLength));
  return trace->Answer();
}

int TraceKey(RootKey, const std::string& path, const std::string& name, std::uint32_t nameLength,
             std::uint32_t type, const unsigned char* data, std::uint32_t dataLength,
             void* context) {
  EXPECT_EQ(nameLength, 0u);
  EXPECT_EQ(type, 0u);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(dataLength, 0u);
  auto* trace = static_cast<Trace*>(context);
  trace->calls.push_back("K " + path + "|" + name);
  return trace->Answer();
}

}  // namespace

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

  std::vector<std::string> Walk(const std::string& start, int recurse, const TypeFilter& filter,
                                const SkipList& skip, std::size_t stopAt = 0, int* result = nullptr) {
    Trace trace;
    trace.stopAt = stopAt;
    const int r = WalkKey(kCurrentUser, start, recurse, TraceValue, &trace, TraceKey, &trace, filter,
                          skip);
    if (result) *result = r;
    return trace.calls;
  }
};

TEST_F(RegistryWalker, PreOrderValuesThenEachSubkeyThenItsSubtree) {
  int result = -1;
  EXPECT_EQ(Walk("\\Software\\A\\", 1, {}, {}, 0, &result),
            (std::vector<std::string>{
                "V Software\\A|one|1|2", "V Software\\A|two|4|4", "K Software\\A\\B|B",
                "V Software\\A\\B|three|2|2", "K Software\\A\\B\\C|C",
                "V Software\\A\\B\\C|four|1|2", "K Software\\A\\D|D", "V Software\\A\\D|five|1|2"}));
  EXPECT_EQ(result, 1);
}

TEST_F(RegistryWalker, WithoutRecursionOnlyTheKeysOwnValuesAndSubkeyCallbacks) {
  EXPECT_EQ(Walk("Software\\A", 0, {}, {}),
            (std::vector<std::string>{"V Software\\A|one|1|2", "V Software\\A|two|4|4",
                                      "K Software\\A\\B|B", "K Software\\A\\D|D"}));
}

TEST_F(RegistryWalker, TypeFilterPassesOnlyListedTypes) {
  EXPECT_EQ(Walk("Software\\A", 1, {REG_SZ}, {}),
            (std::vector<std::string>{"V Software\\A|one|1|2", "K Software\\A\\B|B",
                                      "K Software\\A\\B\\C|C", "V Software\\A\\B\\C|four|1|2",
                                      "K Software\\A\\D|D", "V Software\\A\\D|five|1|2"}));
}

TEST_F(RegistryWalker, SkipListMatchesFragmentsAndPatternsInLowerCase) {
  // A skipped subkey is still handed to the key callback, then not walked.
  EXPECT_EQ(Walk("Software\\A", 1, {}, {"A\\b"}),
            (std::vector<std::string>{"V Software\\A|one|1|2", "V Software\\A|two|4|4",
                                      "K Software\\A\\B|B", "K Software\\A\\D|D",
                                      "V Software\\A\\D|five|1|2"}));
  EXPECT_EQ(Walk("Software\\A", 1, {}, {"*\\D"}).size(), 7u);
  EXPECT_EQ(Walk("Software\\A", 1, {}, {"HKEY_CURRENT_USER\\SOFTWARE\\A"}).size(), 0u);
  EXPECT_EQ(Walk("Software\\A", 1, {}, {""}).size(), 0u);
  // Neither a substring nor a whole match: walked.
  EXPECT_EQ(Walk("Software\\A", 1, {}, {"hkey_current_user\\software\\a\\b\\c\\x"}).size(), 8u);
}

TEST_F(RegistryWalker, FragmentInsideANameSkipsThatKeyButNotItsSiblings) {
  SetString(kCurrentUser, "Software\\xclsidy", "v", "x");
  SetString(kCurrentUser, "Software\\Sibling", "v", "x");
  const std::vector<std::string> calls = Walk("Software", 1, {}, {"CLSID"});
  EXPECT_NE(std::find(calls.begin(), calls.end(), "K Software\\xclsidy|xclsidy"), calls.end());
  EXPECT_EQ(std::find(calls.begin(), calls.end(), "V Software\\xclsidy|v|1|2"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "V Software\\Sibling|v|1|2"), calls.end());
}

TEST_F(RegistryWalker, StopAnswerUnwindsEveryLevel) {
  int result = -1;
  // Stop on the value inside the deepest key: nothing after it.
  std::vector<std::string> calls = Walk("Software\\A", 1, {}, {}, 6, &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls.back(), "V Software\\A\\B\\C|four|1|2");
  // Stop at a key callback: its subtree is not walked.
  calls = Walk("Software\\A", 1, {}, {}, 3, &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(calls.back(), "K Software\\A\\B|B");
  // Stop on the second value: no further values, no subkeys.
  calls = Walk("Software\\A", 1, {}, {}, 2, &result);
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_EQ(result, 0);
}

TEST_F(RegistryWalker, MissingKeysAndNullVisitorsCountAsAWalkToTheEnd) {
  EXPECT_EQ(WalkKey(kCurrentUser, "Software\\Missing", 1, TraceValue, nullptr, TraceKey, nullptr,
                    {}, {}),
            1);
  EXPECT_EQ(WalkKey(kCurrentUser, "Software", 1, nullptr, nullptr, nullptr, nullptr, {}, {}), 1);
  EXPECT_EQ(WalkKey(0x90000000u, "Software", 1, TraceValue, nullptr, TraceKey, nullptr, {}, {}),
            1);
}

TEST_F(RegistryWalker, ValuesLargerThanTheMinimumBufferArriveWhole) {
  const std::string big(3000, 'x');
  SetString(kCurrentUser, "Software\\Big", std::string(300, 'n'), big);
  const std::string huge(100000, 'h');
  SetValue(kCurrentUser, "Software\\Big\\Deeper", "huge", REG_BINARY, huge.data(),
           static_cast<DWORD>(huge.size()));
  SetString(kCurrentUser, "Software\\Big\\Deeper", "zafter", "x");
  std::vector<std::string> calls = Walk("Software\\Big", 1, {}, {});
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "V Software\\Big|" + std::string(300, 'n') + "|1|3001",
                       "K Software\\Big\\Deeper|Deeper", "V Software\\Big\\Deeper|huge|3|100000",
                       "V Software\\Big\\Deeper|zafter|1|2"}));
}

TEST_F(RegistryWalker, WalkOfAWholeRootStartsWithTheRootName) {
  // Skip everything below the root but the root itself: "hkey_current_user\" only.
  EXPECT_EQ(Walk("", 1, {}, {"hkey_current_user\\?*"}),
            (std::vector<std::string>{"K Software|Software"}));
  EXPECT_EQ(Walk("", 1, {}, {"hkey_current_user\\"}).size(), 0u);
}

namespace {

int CountOrStop(RootKey, const std::string& parent, const std::string& name, std::uint32_t,
                std::uint32_t, const unsigned char*, std::uint32_t, void* context) {
  auto* trace = static_cast<Trace*>(context);
  trace->calls.push_back(parent + "|" + name);
  return trace->Answer();
}

}  // namespace

TEST_F(RegistryWalker, EnumSubkeysVisitsDirectSubkeysWithTheParentsPath) {
  Trace trace;
  EnumSubkeys(kCurrentUser, " \\Software\\A\\ ", CountOrStop, &trace, 0, 0xFFFFFFFFu, 0);
  EXPECT_EQ(trace.calls, (std::vector<std::string>{"Software\\A|B", "Software\\A|D"}));

  Trace deep;
  EnumSubkeys(kCurrentUser, "Software\\A", CountOrStop, &deep, 1, 0xFFFFFFFFu, 0);
  EXPECT_EQ(deep.calls, (std::vector<std::string>{"Software\\A|B", "Software\\A\\B|C",
                                                  "Software\\A|D"}));
  Trace limited;
  EnumSubkeys(kCurrentUser, "Software\\A", CountOrStop, &limited, 1, 1, 0);
  EXPECT_EQ(limited.calls.size(), 2u);
}

TEST_F(RegistryWalker, EnumSubkeysStopEndsOnlyThatKeysLoop) {
  Trace first;
  first.stopAt = 1;
  EnumSubkeys(kCurrentUser, "Software\\A", CountOrStop, &first, 0, 0xFFFFFFFFu, 0);
  EXPECT_EQ(first.calls.size(), 1u);

  Trace nested;
  nested.stopAt = 2;  // stops inside B: the outer loop goes on with D
  EnumSubkeys(kCurrentUser, "Software\\A", CountOrStop, &nested, 1, 0xFFFFFFFFu, 0);
  EXPECT_EQ(nested.calls, (std::vector<std::string>{"Software\\A|B", "Software\\A\\B|C",
                                                    "Software\\A|D"}));
}

TEST_F(RegistryWalker, HasNoSubkeys) {
  EXPECT_FALSE(HasNoSubkeys(kCurrentUser, "Software\\A"));
  EXPECT_TRUE(HasNoSubkeys(kCurrentUser, "Software\\A\\D"));
  EXPECT_TRUE(HasNoSubkeys(kCurrentUser, "Software\\Missing"));
}

TEST_F(RegistryWalker, ScanKeyVisitorReportsThrottledAndHonoursTheStopFlag) {
  ScanRecorder recorder;
  ScanContext context;
  recorder.Attach(context);
  volatile LONG stop = 0;
  context.cancelFlag = &stop;

  Sleep(100);  // the throttle remembers the last send process-wide
  EXPECT_EQ(WalkKey(kCurrentUser, "Software", 1, nullptr, nullptr, ReportKeyAndCheckCancel,
                    &context, {}, {}),
            1);
  // Five keys visited within far less than 70 ms: one report.
  ASSERT_GE(recorder.currentKeys.size(), 1u);
  EXPECT_LT(recorder.currentKeys.size(), 5u);
  EXPECT_EQ(recorder.currentKeys[0], "Software\\A");

  ReportCurrentKey(context, "unthrottled 1", false);
  ReportCurrentKey(context, "unthrottled 2", false);
  EXPECT_EQ(recorder.currentKeys.back(), "unthrottled 2");

  stop = 1;
  std::size_t before = recorder.currentKeys.size();
  Trace trace;
  EXPECT_EQ(WalkKey(kCurrentUser, "Software", 1, TraceValue, &trace, ReportKeyAndCheckCancel,
                    &context, {}, {}),
            0);
  EXPECT_TRUE(trace.calls.empty());  // stopped at the first subkey
  EXPECT_LE(recorder.currentKeys.size(), before + 1);
  for (WPARAM w : recorder.wParams) EXPECT_EQ(w, 0u);
}

TEST_F(RegistryWalker, ReportsGoOnlyToWindowsThatExist) {
  ScanContext context;
  ReportProgressPercent(context, 50);  // null handles: nothing, no crash
  ReportCurrentKey(context, "x", false);

  ScanRecorder recorder;
  recorder.Attach(context);
  ReportProgressPercent(context, 42);
  EXPECT_EQ(recorder.progress, (std::vector<int>{42}));

  HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  context.hwndProgress = gone;
  context.hwndCurrentKey = gone;
  ReportProgressPercent(context, 43);
  ReportCurrentKey(context, "y", false);
  EXPECT_EQ(recorder.progress, (std::vector<int>{42}));
}
