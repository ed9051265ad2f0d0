#include "foundation/file_checks.h"

#include <gtest/gtest.h>

#include "support/scratch_folder.h"

class FileChecks : public ::testing::Test {
 protected:
  ScratchFolder folder;
};

TEST_F(FileChecks, ExistenceOfFilesAndFolders) {
  const std::string file = folder.WriteFile("App\\app.exe");
  const std::string dir = folder / "App";

  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_TRUE(PathExists(file));
  EXPECT_FALSE(PathExists(file + "\\"));

  EXPECT_FALSE(FileExists(dir));
  EXPECT_FALSE(FileExists(dir + "\\"));
  EXPECT_TRUE(FolderExists(dir));
  EXPECT_TRUE(FolderExists(dir + "\\"));
  EXPECT_TRUE(PathExists(dir + "\\"));
  EXPECT_TRUE(FolderExists("C:\\"));

  EXPECT_FALSE(PathExists(folder / "Gone\\x.exe"));
  EXPECT_FALSE(PathExists(folder / "Gone"));
  EXPECT_FALSE(PathExists("C:\\bad<name>"));
}

TEST_F(FileChecks, FixedDrivesOfThisMachine) {
  const std::string letters = GetFixedDriveLetters();
  EXPECT_NE(letters.find('C'), std::string::npos) << letters;
  EXPECT_EQ(letters.find('E'), std::string::npos) << "E: is a CD-ROM drive: " << letters;
  for (char c : letters) EXPECT_TRUE(IsFixedDriveLetter(c)) << c;
  for (char c = 'A'; c <= 'Z'; ++c)
    if (letters.find(c) == std::string::npos) {
      EXPECT_FALSE(IsFixedDriveLetter(c)) << c;
    }
}

TEST_F(FileChecks, ExtractFilePathUsesTheRealDrives) {
  std::string path;
  EXPECT_TRUE(ExtractFilePath("\"C:\\Program Files\\App\\app.exe\" /S", path));
  EXPECT_EQ(path, "C:\\Program Files\\App\\app.exe");
  EXPECT_FALSE(ExtractFilePath("E:\\setup.exe", path));
  EXPECT_EQ(path, "");
  EXPECT_FALSE(ExtractFilePath("Q:\\nowhere.exe", path));
}

TEST_F(FileChecks, CreateFolderPathCreatesPrefixesBeforeBackslashes) {
  CreateFolderPath(folder / "A\\B");
  EXPECT_TRUE(FolderExists(folder / "A"));
  EXPECT_FALSE(FolderExists(folder / "A\\B"));
  CreateFolderPath(folder / "A\\B\\C\\");
  EXPECT_TRUE(FolderExists(folder / "A\\B\\C"));
  CreateFolderPath(folder / "A\\B\\C\\");  // existing folders are fine
  EXPECT_TRUE(FolderExists(folder / "A\\B\\C"));
}

TEST_F(FileChecks, DeleteFileForcedRemovesReadOnlyFiles) {
  const std::string file = folder.WriteFile("ro.txt");
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(DeleteFileForced(file));
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(DeleteFileForced(file));
}

TEST_F(FileChecks, FileSizeComesFromTheDirectoryEntry) {
  EXPECT_EQ(GetFileSize64(folder.WriteFile("five.bin", "12345")), 5u);
  EXPECT_EQ(GetFileSize64(folder.WriteFile("empty.bin", "")), 0u);
  EXPECT_EQ(GetFileSize64(folder / "missing.bin"), 0u);
}

TEST_F(FileChecks, ThisProcessIsNotUnderWow64) {
  // The tests run as a 64-bit process.
  EXPECT_FALSE(IsRunningUnderWow64());
}

TEST_F(FileChecks, ListSubfoldersKeepsTheUnionSecondPathWinning) {
  folder.MakeFolder("User\\Accessories");
  folder.MakeFolder("User\\Games");
  folder.WriteFile("User\\file.lnk");
  folder.MakeFolder("Common\\Games");
  folder.MakeFolder("Common\\Tools");
  const std::string hidden = folder.MakeFolder("Common\\Hidden");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);

  std::map<std::string, std::string> map{{"stale", "x"}};
  ListSubfolders(folder / "User", map, true, 0);
  ListSubfolders(folder / "Common\\", map, false, 0);
  EXPECT_EQ(map.size(), 4u);
  EXPECT_EQ(map.count("stale"), 0u);
  EXPECT_EQ(map["Accessories"], folder / "User\\Accessories");
  EXPECT_EQ(map["Games"], folder / "Common\\Games");
  EXPECT_EQ(map["Hidden"], folder / "Common\\Hidden");

  ListSubfolders(folder / "Common", map, true, FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(map.size(), 2u);
  ListSubfolders("", map, false, 0);
  EXPECT_EQ(map.size(), 2u);
  ListSubfolders(folder / "Missing", map, true, 0);
  EXPECT_TRUE(map.empty());
}

namespace {

struct Seen {
  std::vector<std::string> items;
  std::size_t stopAfter = 1000;
};

int CollectFile(const std::string& path, const std::string& text, WIN32_FIND_DATAA, void* data) {
  auto* seen = static_cast<Seen*>(data);
  seen->items.push_back(path + "|" + text);
  return seen->items.size() < seen->stopAfter ? 1 : 0;
}

int CollectFolder(const std::string& path, const std::string& name, const std::string& text,
                  WIN32_FIND_DATAA, void* data) {
  static_cast<Seen*>(data)->items.push_back(path + "|" + name + "|" + text);
  return 0;  // the result is not used: the search goes on
}

}  // namespace

TEST_F(FileChecks, SearchFilesMatchesLowerCasedNamesInTableOrder) {
  folder.WriteFile("Lang\\English.TXT");
  folder.WriteFile("Lang\\Deutsch.txt");
  folder.WriteFile("Lang\\notes.md");
  folder.MakeFolder("Lang\\Sub.txt");
  folder.WriteFile("Lang\\Sub.txt\\inner.txt");

  Seen seen;
  // Table order is byte order of the keys: "*.TXT" before "?*".
  EXPECT_EQ(SearchFiles(folder / "Lang\\", {{"*.TXT", "text"}, {"?*", "any"}}, CollectFile,
                        &seen, {}),
            1);
  std::sort(seen.items.begin(), seen.items.end());
  ASSERT_EQ(seen.items.size(), 3u);
  EXPECT_EQ(seen.items[0], folder / "Lang\\Deutsch.txt|text");
  EXPECT_EQ(seen.items[1], folder / "Lang\\English.TXT|text");
  EXPECT_EQ(seen.items[2], folder / "Lang\\notes.md|any");
}

TEST_F(FileChecks, SearchFilesStopsAndHonoursExcludedFolders) {
  folder.WriteFile("B\\1.reg");
  folder.WriteFile("B\\2.reg");
  folder.WriteFile("B\\3.reg");
  Seen stopping;
  stopping.stopAfter = 2;
  EXPECT_EQ(SearchFiles(folder / "B", {{"*", ""}}, CollectFile, &stopping, {}), 0);
  EXPECT_EQ(stopping.items.size(), 2u);

  Seen excluded;
  EXPECT_EQ(SearchFiles(folder / "B", {{"*", ""}}, CollectFile, &excluded, {"KELVANETEST"}), 1);
  EXPECT_TRUE(excluded.items.empty());
  EXPECT_EQ(SearchFiles(folder / "B", {{"*", ""}}, CollectFile, &excluded, {"c:\\*\\b"}), 1);
  EXPECT_TRUE(excluded.items.empty());
  EXPECT_EQ(SearchFiles(folder / "Missing", {{"*", ""}}, CollectFile, &excluded, {}), 1);
}

TEST_F(FileChecks, SearchFoldersReportsSubfoldersOnly) {
  folder.MakeFolder("Backup\\2009-03-14-08-05-09");
  folder.MakeFolder("Backup\\old");
  folder.WriteFile("Backup\\file.reg");
  Seen seen;
  SearchFolders(folder / "Backup", {{"*", "all"}}, CollectFolder, &seen);
  std::sort(seen.items.begin(), seen.items.end());
  ASSERT_EQ(seen.items.size(), 2u);
  EXPECT_EQ(seen.items[0],
            folder / "Backup\\2009-03-14-08-05-09|2009-03-14-08-05-09|all");
  EXPECT_EQ(seen.items[1], folder / "Backup\\old|old|all");
}
