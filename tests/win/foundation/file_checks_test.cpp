#include "foundation/file_checks.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/scratch_folder.h"

using namespace kelvane;

using Seen = std::vector<std::string>;

static int CollectFile(const std::string& path, const std::string& text, WIN32_FIND_DATAA,
                       void* seen) {
  static_cast<Seen*>(seen)->push_back(path + "|" + text);
  return text == "stop" ? 0 : 1;
}

static int CollectFolder(const std::string& path, const std::string& name, const std::string& text,
                         WIN32_FIND_DATAA, void* seen) {
  static_cast<Seen*>(seen)->push_back(path + "|" + name + "|" + text);
  return 0;  // the answer is not used: the search goes on
}

static std::string Existence(const std::string& path) {
  return std::string(FileExists(path) ? "file " : "") + (FolderExists(path) ? "folder " : "") +
         (PathExists(path) ? "path " : "") + (FastPathExists(path) ? "fast" : "");
}

TEST(FileChecks, ExistenceCreationForcedDeletionAndFixedDrives) {
  ScratchFolder folder;
  const std::string file = folder.WriteFile("App\\app.exe"), dir = folder / "App";
  const std::pair<std::string, std::string> cases[] = {
      {file, "file path fast"},     {file + "\\", ""},
      {dir, "folder path fast"},    {dir + "\\", "folder path fast"},
      {"C:\\", "folder path fast"}, {folder / "Gone\\x", ""},
      {folder / "Gone", ""},        {"C:\\bad<name>", ""}};
  for (const auto& c : cases) EXPECT_EQ(Existence(c.first), c.second) << c.first;

  CreateFolderPath(folder / "A\\B");  // only the prefixes that end before a backslash
  EXPECT_TRUE(FolderExists(folder / "A"));
  EXPECT_FALSE(PathExists(folder / "A\\B")) << "no backslash follows B";
  CreateFolderPath(folder / "A\\B\\C\\");
  EXPECT_TRUE(FolderExists(folder / "A\\B\\C"));
  std::string path;  // the text rules over the real drives
  EXPECT_TRUE(ExtractFilePath("\"" + file + "\" /S", path));
  EXPECT_EQ(path, file);
  EXPECT_FALSE(ExtractFilePath("E:\\setup.exe", path)) << "E: is a CD-ROM drive";
  EXPECT_EQ(GetFileSize64(folder.WriteFile("five.bin", "12345")), 5u);
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(DeleteFileForced(file));
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(DeleteFileForced(file)) << "a second deletion finds nothing";

  const std::string letters = GetFixedDriveLetters();  // E: is a CD-ROM drive
  EXPECT_TRUE(IsFixedDriveLetter('C')) << letters;
  EXPECT_FALSE(IsFixedDriveLetter('E')) << letters;
  for (char c = 'A'; c <= 'Z'; ++c)
    EXPECT_EQ(IsFixedDriveLetter(c), letters.find(c) != std::string::npos) << c;
}

TEST(FileChecks, FolderListingsAndSearches) {
  ScratchFolder folder;
  for (const char* sub : {"User\\Accessories", "User\\Games", "Common\\Games", "Common\\Tools"})
    folder.MakeFolder(sub);
  folder.WriteFile("User\\file.lnk");
  SetFileAttributesA(folder.MakeFolder("Common\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  std::map<std::string, std::string> map{{"stale", "x"}};
  ListSubfolders(folder / "User", map, ListInto::kEmptied, 0);
  ListSubfolders(folder / "Common\\", map, ListInto::kKept, 0);
  EXPECT_EQ(map, (std::map<std::string, std::string>{{"Accessories", folder / "User\\Accessories"},
                                                     {"Games", folder / "Common\\Games"},
                                                     {"Hidden", folder / "Common\\Hidden"},
                                                     {"Tools", folder / "Common\\Tools"}}));

  for (const char* name : {"English.TXT", "Deutsch.txt", "notes.md", "Sub.txt\\inner.txt"})
    folder.WriteFile(std::string("Lang\\") + name);
  const std::string lang = folder / "Lang";
  const PatternTable patterns = {{"?*", "any"}, {"*.TXT", "text"}};  // "*.TXT" comes first
  Seen files, folders, stopped, excluded;
  EXPECT_EQ(SearchFiles(lang + "\\", patterns, CollectFile, &files, {}), 1);
  SearchFolders(lang, patterns, CollectFolder, &folders);
  EXPECT_EQ(SearchFiles(lang, {{"*", "stop"}}, CollectFile, &stopped, {}), 0);
  for (const char* exclusion : {"KELVANETEST", "c:\\*\\lang"})
    EXPECT_EQ(SearchFiles(lang, patterns, CollectFile, &excluded, {exclusion}), 1);
  EXPECT_EQ(SearchFiles(folder / "Missing", patterns, CollectFile, &excluded, {}), 1);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (Seen{lang + "\\Deutsch.txt|text", lang + "\\English.TXT|text",
                         lang + "\\notes.md|any"}));
  EXPECT_EQ(folders, Seen{lang + "\\Sub.txt|Sub.txt|text"});
  EXPECT_EQ(stopped.size(), 1u);
  EXPECT_TRUE(excluded.empty());
}
