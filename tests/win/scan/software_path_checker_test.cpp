#include "scan/software_path_checker.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scan/issue_text.h"
#include "support/registry_sandbox.h"
#include "support/scan_recorder.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

namespace {

constexpr const char* kApp = "Software\\App";

std::string Missing(const std::string& path) { return "Missing file or folder: " + path; }

class SoftwarePathChecker : public CheckerHarness {
 protected:
  // As the user software area walks it.
  int WalkUserSoftware(const TypeFilter& filter = {REG_SZ}) {
    return WalkKey(kCurrentUser, "Software", 1, CheckSoftwareValue, &context,
                   ReportKeyAndCheckCancel, &context, filter, {"CLSID", "Wow6432Node"});
  }

  // The issues of the context, after checking that each one was announced.
  std::vector<std::string> Found() {
    ExpectAnnounced();
    return SortedIssueTexts(context.issues);
  }
};

TEST_F(SoftwarePathChecker, ReportsValuesWhoseNameOrDataNamesAMissingPath) {
  const std::string here = folder.WriteFile("Here\\app.exe");
  const std::string gone = folder / "Gone\\app.exe";
  const std::string quoted = "\"" + gone + "\" /run";
  const std::string longTail = folder / "Gone\\tool.exe /" + std::string(700, 'x');

  SetString(kCurrentUser, kApp, "", quoted);
  SetString(kCurrentUser, kApp, folder / "Old\\tool.exe", "any data");
  // Name and data both gone: one issue, for the name.
  SetString(kCurrentUser, kApp, folder / "Old\\both.exe", folder / "Gone\\both.exe");
  // The name exists, so the data is looked at.
  SetString(kCurrentUser, kApp, here, folder / "Gone\\data.exe");
  SetString(kCurrentUser, kApp, "Long", longTail);
  SetString(kCurrentUser, "Software\\App\\Deeper\\Still", "Folder", folder / "GoneFolder\\");

  EXPECT_EQ(WalkUserSoftware(), 1);

  EXPECT_EQ(Found(),
            Sorted({
                ExpectedIssueText(kCurrentUser, kApp, "", quoted, Missing(gone), REG_SZ),
                ExpectedIssueText(kCurrentUser, kApp, folder / "Old\\tool.exe", "any data",
                              Missing(folder / "Old\\tool.exe"), REG_SZ),
                ExpectedIssueText(kCurrentUser, kApp, folder / "Old\\both.exe",
                              folder / "Gone\\both.exe", Missing(folder / "Old\\both.exe"), REG_SZ),
                ExpectedIssueText(kCurrentUser, kApp, here, folder / "Gone\\data.exe",
                              Missing(folder / "Gone\\data.exe"), REG_SZ),
                ExpectedIssueText(kCurrentUser, kApp, "Long", longTail,
                              Missing(folder / "Gone\\tool.exe"), REG_SZ),
                ExpectedIssueText(kCurrentUser, "Software\\App\\Deeper\\Still", "Folder",
                              folder / "GoneFolder\\", Missing(folder / "GoneFolder\\"), REG_SZ),
            }));
  for (WPARAM wParam : recorder.wParams) EXPECT_EQ(wParam, 0u);
}

TEST_F(SoftwarePathChecker, LeavesHealthyAndUnjudgeableTextAlone) {
  const std::string file = folder.WriteFile("Here\\app.exe");
  const std::string dir = folder.MakeFolder("Program Files\\My App");
  const std::string gone = folder / "Gone\\app.exe";
  const char* kept[] = {"", "some text", "1", "http://example.com/x.exe"};
  const std::string texts[] = {
      file,
      "\"" + file + "\" \"%1\"",
      dir,
      dir + "\\",
      "  " + dir + "  ",
      "C:\\Windows\\System32\\gone-for-good.dll",
      "c:\\WINDOWS\\SYSTEM32\\Sub\\gone.exe",
      "E:\\Gone\\setup.exe",  // CD-ROM drive
      "Q:\\Gone\\setup.exe",  // no such drive
      gone + ",-101",
      gone + " arg",
      gone + " -silent",
      gone + ";" + file,
      folder / "Gone\\Documents and Settings\\j.doe\\My Documents\\a.doc",
      folder / "Gone\\file.txt[2]",
      gone + " " + folder / "Gone\\other.exe",
      "%ProgramFiles%\\Gone\\app.exe",
      "@" + gone,
      "rundll32.exe " + gone,
      "\\\\server\\share\\gone.exe",
      "Gone\\relative.exe",
      // Stored for its reader to expand: the literal text says nothing.
      folder / "%USERNAME%\\Gone\\app.exe",
  };
  for (const char* text : kept) SetString(kCurrentUser, kApp, std::string("k") + text, text);
  int index = 0;
  for (const std::string& text : texts) {
    SetString(kCurrentUser, kApp, "data" + std::to_string(index++), text);
    SetString(kCurrentUser, "Software\\Names", text, "plain");
  }

  EXPECT_EQ(WalkUserSoftware(), 1);

  EXPECT_EQ(Found(), std::vector<std::string>{});
}

TEST_F(SoftwarePathChecker, OnlyPlainTextValuesAreExamined) {
  const std::string gone = folder / "Gone\\app.exe";
  SetString(kCurrentUser, kApp, "Expand", gone, REG_EXPAND_SZ);
  SetString(kCurrentUser, kApp, gone, gone, REG_EXPAND_SZ);
  const std::string multi = gone + std::string(1, '\0') + gone + std::string(2, '\0');
  SetValue(kCurrentUser, kApp, "Multi", REG_MULTI_SZ, multi.data(), DWORD(multi.size()));
  SetValue(kCurrentUser, kApp, "Binary", REG_BINARY, gone.c_str(), DWORD(gone.size() + 1));
  SetValue(kCurrentUser, kApp, "None", REG_NONE, gone.c_str(), DWORD(gone.size() + 1));
  SetDword(kCurrentUser, kApp, gone + "-dword", 1);

  // Even when the walk hands every type over.
  EXPECT_EQ(WalkUserSoftware({}), 1);
  EXPECT_EQ(Found(), std::vector<std::string>{});

  SetString(kCurrentUser, kApp, "Plain", gone);
  EXPECT_EQ(WalkUserSoftware({}), 1);
  EXPECT_EQ(Found(), std::vector<std::string>{
                         ExpectedIssueText(kCurrentUser, kApp, "Plain", gone, Missing(gone), REG_SZ)});
}

TEST_F(SoftwarePathChecker, DataEndsAtItsLengthOrItsFirstZero) {
  const std::string here = folder.WriteFile("Here\\app.exe");
  const std::string gone = folder / "Gone\\app.exe";

  // Stored text after the first zero byte is not part of the value's text.
  const std::string twoTexts = here + std::string(1, '\0') + gone + std::string(1, '\0');
  SetValue(kCurrentUser, kApp, "TwoTexts", REG_SZ, twoTexts.data(), DWORD(twoTexts.size()));
  EXPECT_EQ(WalkUserSoftware(), 1);
  EXPECT_EQ(Found(), std::vector<std::string>{});

  // Bytes beyond the reported length are never read: "...app.exe" without
  // a terminator, followed by more text in memory.
  const std::string bytes = gone + "\\more.exe";
  EXPECT_EQ(CheckSoftwareValue(kCurrentUser, kApp, "Direct", 6, REG_SZ,
                               reinterpret_cast<const unsigned char*>(bytes.data()),
                               std::uint32_t(gone.size()), &context),
            1);
  EXPECT_EQ(CheckSoftwareValue(kCurrentUser, kApp, "Empty", 5, REG_SZ,
                               reinterpret_cast<const unsigned char*>(bytes.data()), 0, &context),
            1);
  EXPECT_EQ(Found(), std::vector<std::string>{
                         ExpectedIssueText(kCurrentUser, kApp, "Direct", gone, Missing(gone), REG_SZ)});
}

TEST_F(SoftwarePathChecker, StopsAfterTheValueInHandWhenCancelled) {
  const std::string gone = folder / "Gone\\app.exe";
  SetString(kCurrentUser, kApp, "First", gone);
  SetString(kCurrentUser, kApp, "Second", gone);
  SetString(kCurrentUser, "Software\\App\\Sub", "Third", gone);
  volatile LONG stop = 1;
  context.cancelFlag = &stop;

  EXPECT_EQ(WalkKey(kCurrentUser, kApp, 1, CheckSoftwareValue, &context, ReportKeyAndCheckCancel,
                    &context, {REG_SZ}, {}),
            0);
  ASSERT_EQ(context.issues.size(), 1u);
  EXPECT_EQ(recorder.issues.size(), 1u);

  // A healthy value also answers stop; a cleared flag lets the walk go on.
  const std::string text = "no path";
  const auto* data = reinterpret_cast<const unsigned char*>(text.c_str());
  EXPECT_EQ(CheckSoftwareValue(kCurrentUser, kApp, "x", 1, REG_SZ, data, 8, &context), 0);
  EXPECT_EQ(CheckSoftwareValue(kCurrentUser, kApp, "x", 1, REG_EXPAND_SZ, data, 8, &context), 0);
  stop = 0;
  EXPECT_EQ(CheckSoftwareValue(kCurrentUser, kApp, "x", 1, REG_SZ, data, 8, &context), 1);
  context.cancelFlag = nullptr;
  EXPECT_EQ(CheckSoftwareValue(kCurrentUser, kApp, "x", 1, REG_SZ, data, 8, &context), 1);
  EXPECT_EQ(context.issues.size(), 1u);
}

}  // namespace
