#include "scan/value_checkers.h"

#include <string>
#include <vector>

#include "foundation/file_checks.h"
#include "scan/registry_walker.h"
#include "support/checker_harness.h"

namespace {

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kRunMru = std::string(kExplorer) + "\\RunMRU";
const std::string kOpenSaveMru = std::string(kExplorer) + "\\ComDlg32\\OpenSaveMRU";
const char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedUrls";
const char kSharedDlls[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kLocale[] = "System\\CurrentControlSet\\Control\\Nls\\Locale";
const char kTimeZones[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

const TypeFilter kEveryType = {};
const TypeFilter kStringsOnly = {REG_SZ};

std::string Narrow(const WCHAR* text) {
  char buffer[512] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

}  // namespace

class ValueCheckers : public CheckerHarness {
 protected:
  // As the scan drives a value checker: the scan's key visitor, the area's
  // type filter and its fixed skip item.
  int Walk(RootKey root, const std::string& key, int recurse, ValueVisitor checker,
           const TypeFilter& filter) {
    return WalkKey(root, key, recurse, checker, &context, ReportKeyAndCheckCancel, &context, filter,
                   {"Wow6432Node"});
  }
};

TEST_F(ValueCheckers, HistoryListReportsEveryValueByItsFormattedData) {
  SetString(kCurrentUser, kRunMru, "a", "notepad\\1");
  SetString(kCurrentUser, kRunMru, "b", "cmd\\1");
  SetString(kCurrentUser, kRunMru, "MRUList", "ba");
  const unsigned char pidl[] = {0x14, 0x00, 0x1f, 0x50};
  SetValue(kCurrentUser, kOpenSaveMru + "\\txt", "0", REG_BINARY, pidl, sizeof pidl);
  SetDword(kCurrentUser, kOpenSaveMru + "\\txt", "Count", 2);
  SetString(kCurrentUser, kOpenSaveMru + "\\Wow6432Node", "a", "skipped");
  SetString(kCurrentUser, kTypedUrls, "url1", "http://example.invalid/%s%d");
  SetDword(kCurrentUser, kTypedUrls, "url2", 7);

  Walk(kCurrentUser, kRunMru, 1, CheckHistoryValue, kEveryType);
  Walk(kCurrentUser, kOpenSaveMru, 1, CheckHistoryValue, kEveryType);
  Walk(kCurrentUser, kTypedUrls, 1, CheckHistoryValue, kStringsOnly);

  const std::string txt = kOpenSaveMru + "\\txt";
  EXPECT_EQ(
      DescribeIssues(context.issues),
      DescribeIssues({
          ExpectedIssue(kCurrentUser, kRunMru, "a", "notepad\\1", "History list entry: notepad\\1",
                        REG_SZ),
          ExpectedIssue(kCurrentUser, kRunMru, "b", "cmd\\1", "History list entry: cmd\\1", REG_SZ),
          ExpectedIssue(kCurrentUser, kRunMru, "MRUList", "ba", "History list entry: ba", REG_SZ),
          ExpectedIssue(kCurrentUser, txt, "0", "14 00 1f 50", "History list entry: 14 00 1f 50",
                        REG_BINARY),
          ExpectedIssue(kCurrentUser, txt, "Count", "0x00000002 (2)",
                        "History list entry: 0x00000002 (2)", REG_DWORD),
          ExpectedIssue(kCurrentUser, kTypedUrls, "url1", "http://example.invalid/%s%d",
                        "History list entry: http://example.invalid/%s%d", REG_SZ),
      }));
  ExpectAnnounced();
}

TEST_F(ValueCheckers, HistoryListStopsAfterTheValueInHandWhenCancelled) {
  SetString(kCurrentUser, kRunMru, "a", "notepad\\1");
  SetString(kCurrentUser, kRunMru, "b", "cmd\\1");
  cancel = 1;
  EXPECT_EQ(Walk(kCurrentUser, kRunMru, 1, CheckHistoryValue, kEveryType), 0);
  ASSERT_EQ(context.issues.size(), 1u);
  EXPECT_EQ(context.issues[0].valueName, "a");
}

TEST_F(ValueCheckers, SharedDllReportsCountersOfGoneFilesByValueName) {
  const std::string present = folder.WriteFile("Common\\here.dll");
  const std::string gone = folder / "Common Files\\Gone\\x.dll";
  const std::string goneText = folder / "Gone\\text.dll";
  SetDword(kLocalMachine, kSharedDlls, gone, 1);
  SetDword(kLocalMachine, kSharedDlls, present, 3);
  SetDword(kLocalMachine, kSharedDlls, folder / "Common", 1);  // an existing folder
  SetDword(kLocalMachine, kSharedDlls, "C:\\WINDOWS\\system32\\gone.dll", 1);
  SetDword(kLocalMachine, kSharedDlls, "E:\\gone.dll", 1);
  SetDword(kLocalMachine, kSharedDlls, "%SystemRoot%\\gone.dll", 1);
  SetDword(kLocalMachine, kSharedDlls, gone + ",1", 1);
  SetString(kLocalMachine, kSharedDlls, goneText, "2");  // the data type is not looked at
  SetDword(kLocalMachine, std::string(kSharedDlls) + "\\Sub", gone, 1);  // not walked
  ASSERT_FALSE(PathExists(gone));

  Walk(kLocalMachine, kSharedDlls, 0, CheckSharedDllValue, kEveryType);

  EXPECT_EQ(DescribeIssues(context.issues),
            DescribeIssues({ExpectedIssue(kLocalMachine, kSharedDlls, gone, "0x00000001 (1)",
                                          "Missing shared DLL: " + gone, REG_DWORD),
                            ExpectedIssue(kLocalMachine, kSharedDlls, goneText, "2",
                                          "Missing shared DLL: " + goneText, REG_SZ)}));
  ExpectAnnounced();
}

TEST_F(ValueCheckers, StartupReportsEntriesOfGonePrograms) {
  const std::string present = folder.WriteFile("Tool\\here.exe");
  const std::string gone = folder / "Tool\\tool.exe";
  const std::string quoted = "\"" + gone + "\" /min";
  const std::string lm = kRun;
  const std::string cu = std::string(kRun) + "Once";
  SetString(kLocalMachine, lm, "Slash", quoted);
  SetString(kLocalMachine, lm, "Dash", "\"" + gone + "\" -min");
  SetString(kLocalMachine, lm, "Rundll", "rundll32.exe " + gone + ",Start");
  SetString(kLocalMachine, lm, "Present", "\"" + present + "\" /min");
  SetString(kLocalMachine, lm, "Folder", folder / "Tool");
  SetString(kLocalMachine, lm, "CdRom", "E:\\autorun.exe");
  SetString(kLocalMachine, lm, "Expand", gone, REG_EXPAND_SZ);  // filtered out by the area
  // Text after the terminator is not part of the data's text.
  const std::string trailing = gone + std::string(1, '\0') + "junk";
  SetValue(kLocalMachine, lm, "Trailing", REG_SZ, trailing.data(),
           static_cast<DWORD>(trailing.size()));
  // Text stored without a terminator ends at its length.
  SetValue(kCurrentUser, cu, "Bare", REG_SZ, gone.data(), static_cast<DWORD>(gone.size()));

  Walk(kLocalMachine, lm, 0, CheckStartupValue, kStringsOnly);
  Walk(kCurrentUser, cu, 0, CheckStartupValue, kStringsOnly);

  EXPECT_EQ(DescribeIssues(context.issues),
            DescribeIssues({ExpectedIssue(kLocalMachine, lm, "Slash", quoted,
                                          "Missing start-up program: " + gone, REG_SZ),
                            ExpectedIssue(kLocalMachine, lm, "Trailing", gone,
                                          "Missing start-up program: " + gone, REG_SZ),
                            ExpectedIssue(kCurrentUser, cu, "Bare", gone,
                                          "Missing start-up program: " + gone, REG_SZ)}));
  ExpectAnnounced();
}

TEST_F(ValueCheckers, LocaleReportsValuesWithEmptyText) {
  SetString(kLocalMachine, kLocale, "00000409", "1");
  SetString(kLocalMachine, kLocale, "00000c1a", "");
  SetValue(kLocalMachine, kLocale, "00000c1b", REG_SZ, "", 0);  // no bytes at all
  SetString(kLocalMachine, kLocale, "00000c1c", std::string(1, '\0') + "1");
  SetDword(kLocalMachine, kLocale, "00000c1d", 0);  // not a string: filtered out
  SetString(kLocalMachine, std::string(kLocale) + "\\Alternate Sorts", "00000c1e", "");

  Walk(kLocalMachine, kLocale, 0, CheckLocaleValue, kStringsOnly);

  std::vector<ScanIssue> expected;
  for (const char* name : {"00000c1a", "00000c1b", "00000c1c"})
    expected.push_back(ExpectedIssue(kLocalMachine, kLocale, name, "",
                                     std::string("Locale entry without data: ") + name, REG_SZ));
  EXPECT_EQ(DescribeIssues(context.issues), DescribeIssues(expected));
  ExpectAnnounced();
}

class TimeZoneChecker : public CheckerHarness {
 protected:
  void SetUp() override {
    TIME_ZONE_INFORMATION info = {};
    ASSERT_NE(GetTimeZoneInformation(&info), TIME_ZONE_ID_INVALID);
    standardName = Narrow(info.StandardName);
    ASSERT_FALSE(standardName.empty());
    DYNAMIC_TIME_ZONE_INFORMATION dynamic = {};
    ASSERT_NE(GetDynamicTimeZoneInformation(&dynamic), TIME_ZONE_ID_INVALID);
    keyName = Narrow(dynamic.TimeZoneKeyName);
  }

  void Scan() {
    EnumSubkeys(kLocalMachine, kTimeZones, CheckTimeZone, &context, 0, 0xFFFFFFFFu, 0);
  }

  static std::string Zone(const std::string& name) { return std::string(kTimeZones) + "\\" + name; }

  static ScanIssue ZoneIssue(const std::string& name, const std::string& std) {
    return ExpectedIssue(kLocalMachine, Zone(name), "", std, "Unused time zone: " + std,
                         kWholeKeyType);
  }

  std::string standardName;  // of the zone in effect in this prefix
  std::string keyName;
};

TEST_F(TimeZoneChecker, ReportsEveryZoneButTheOneInEffect) {
  std::string otherCase = standardName;
  for (char& c : otherCase) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  ASSERT_NE(otherCase, standardName);

  SetString(kLocalMachine, Zone("Test A Current"), "Std", standardName);
  SetString(kLocalMachine, Zone("Test B Other"), "Std", "W. Europe Standard Time X");
  SetString(kLocalMachine, Zone("Test C Other Case"), "Std", otherCase);
  SetString(kLocalMachine, Zone("Test D No Std"), "Dlt", standardName);
  SetString(kLocalMachine, Zone("Test E Long"), "Std", std::string(600, 'x'));
  SetString(kLocalMachine, Zone("Test F Spaced"), "Std", standardName + " ");
  SetString(kLocalMachine, Zone("Test G Lower Name"), "std", "Lower Standard Time");
  SetValue(kLocalMachine, Zone("Test H Bare"), "Std", REG_SZ, "Bare Time", 9);

  Scan();

  EXPECT_EQ(DescribeIssues(context.issues),
            DescribeIssues({ZoneIssue("Test B Other", "W. Europe Standard Time X"),
                            ZoneIssue("Test C Other Case", otherCase),
                            ZoneIssue("Test F Spaced", standardName + " "),
                            ZoneIssue("Test G Lower Name", "Lower Standard Time"),
                            ZoneIssue("Test H Bare", "Bare Time")}));
  ExpectAnnounced();
  ASSERT_EQ(recorder.currentKeys.size(), 8u);
  EXPECT_EQ(recorder.currentKeys[3], Zone("Test D No Std"));
}

// The standard-time name follows the display language while a zone's "Std"
// keeps the install's: the zone in effect is also known by its key name.
TEST_F(TimeZoneChecker, NeverReportsTheZoneInEffectByItsKeyName) {
  ASSERT_FALSE(keyName.empty());
  SetString(kLocalMachine, Zone(keyName), "Std", "Name In Another Language");
  SetString(kLocalMachine, Zone("Test Other"), "Std", "Other Standard Time");

  Scan();

  EXPECT_EQ(DescribeIssues(context.issues),
            DescribeIssues({ZoneIssue("Test Other", "Other Standard Time")}));
}

TEST_F(TimeZoneChecker, StopsAfterTheZoneInHandWhenCancelled) {
  SetString(kLocalMachine, Zone("Test One"), "Std", "One Time");
  SetString(kLocalMachine, Zone("Test Two"), "Std", "Two Time");
  cancel = 1;
  Scan();
  EXPECT_EQ(DescribeIssues(context.issues), DescribeIssues({ZoneIssue("Test One", "One Time")}));
  EXPECT_EQ(recorder.currentKeys, std::vector<std::string>{Zone("Test One")});
}
