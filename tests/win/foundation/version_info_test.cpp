#include "foundation/version_info.h"

#include <gtest/gtest.h>

#include "support/scratch_folder.h"
#include "support/test_paths.h"

TEST(VersionInfo, ReadsTheBuiltProgramsOwnResource) {
  const std::string exe = KelvaneExePath();
  EXPECT_EQ(GetProductName(exe), "Kelvane");
  EXPECT_EQ(GetProductVersion(exe), "3.0");
  EXPECT_EQ(GetVersionString("FileDescription", exe), "Kelvane registry cleaner");
  EXPECT_EQ(GetVersionString("NoSuchString", exe), "");
}

TEST(VersionInfo, FilesWithoutAResourceGiveEmptyText) {
  ScratchFolder folder;
  EXPECT_EQ(GetProductName(folder.WriteFile("plain.txt", "hello")), "");
  EXPECT_EQ(GetProductName(folder / "missing.exe"), "");
}
