#include "support/scratch_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>

#include "foundation/file_checks.h"
#include "foundation/find_handle.h"

namespace {
std::atomic<int> g_folderSequence{0};
}

void RemoveFolderTree(const std::string& folder) {
  {
    FindHandle find(folder + "\\*");
    if (find.IsOpen()) {
      do {
        const std::string name = find.data().cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = folder + "\\" + name;
        if (find.data().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveFolderTree(child);
        else
          DeleteFileForced(child);
      } while (find.Next());
    }
  }
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(folder.c_str());
}

std::string ReadWholeFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::string();
  std::string content;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, n);
  std::fclose(file);
  return content;
}

ScratchFolder::ScratchFolder() {
  char name[96];
  std::snprintf(name, sizeof name, "C:\\KelvaneTest\\%lu-%d", GetCurrentProcessId(),
                ++g_folderSequence);
  path_ = name;
  RemoveFolderTree(path_);
  CreateFolderPath(path_ + "\\");
  EXPECT_TRUE(FolderExists(path_)) << path_;
}

ScratchFolder::~ScratchFolder() { RemoveFolderTree(path_); }

std::string ScratchFolder::MakeFolder(const std::string& relative) const {
  const std::string full = *this / relative;
  CreateFolderPath(full + "\\");
  return full;
}

std::string ScratchFolder::WriteFile(const std::string& relative,
                                     const std::string& content) const {
  const std::string full = *this / relative;
  CreateFolderPath(full);
  FILE* file = std::fopen(full.c_str(), "wb");
  EXPECT_NE(file, nullptr) << full;
  if (file != nullptr) {
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
  }
  return full;
}
