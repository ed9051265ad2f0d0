#include "app/report_file.h"

#include <gtest/gtest.h>

#include "app/handover.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

using namespace kelvane;

namespace {

int FilesIn(const std::string& folder) {
  int count = 0;
  FindHandle find(folder + "\\*");
  for (bool more = find.IsOpen(); more; more = find.Next())
    if (!(find.data().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  return count;
}

}  // namespace

TEST(WriteReportFile, WritesExactlyAndReplacesAnEarlierReport) {
  ScratchFolder folder;
  const std::string path = folder / "Reports\\Run One\\run.json";  // folders made on the way
  ASSERT_TRUE(WriteReportFile(path, "{\"a\": 1}\n"));
  EXPECT_EQ(ReadWholeFile(path), "{\"a\": 1}\n");
  ASSERT_TRUE(WriteReportFile(path, "{}\n"));
  EXPECT_EQ(ReadWholeFile(path), "{}\n");
  EXPECT_EQ(FilesIn(folder / "Reports\\Run One"), 1);  // no temporary file stays
}

TEST(WriteReportFile, AFailureLeavesNoFileBehind) {
  ScratchFolder folder;
  // The folder of the report is a file: nothing can be written.
  folder.WriteFile("Blocked", "not a folder");
  EXPECT_FALSE(WriteReportFile(folder / "Blocked\\run.json", "{}\n"));
  // The report's name is taken by a folder: the new file cannot be moved there.
  folder.WriteFile("Taken\\run.json\\inside.txt");
  EXPECT_FALSE(WriteReportFile(folder / "Taken\\run.json", "{}\n"));
  EXPECT_EQ(FilesIn(folder / "Taken"), 0);
  EXPECT_EQ(FilesIn(folder.path()), 1);  // only "Blocked"
  EXPECT_FALSE(WriteReportFile("", "{}\n"));
}

TEST(HandOverToNativeBuild, NeverOutsideWow64NorToAProgramThatIsNot64Bit) {
  EXPECT_TRUE(IsNative64BitProgram(KelvaneExePath()));
  ScratchFolder folder;
  EXPECT_FALSE(IsNative64BitProgram(folder.WriteFile("Kelvane64.exe", "MZ but no program")));
  EXPECT_FALSE(IsNative64BitProgram(folder / "missing.exe"));
  // This test process is 64-bit: even with the 64-bit build beside it,
  // nothing is started and the run stays here.
  ASSERT_TRUE(CopyFileA(KelvaneExePath().c_str(), (folder / "Kelvane64.exe").c_str(), FALSE));
  int exitCode = -1;
  EXPECT_FALSE(HandOverToNativeBuild(folder.path(), "/fix", SW_HIDE, exitCode));
  EXPECT_EQ(exitCode, -1);
}
