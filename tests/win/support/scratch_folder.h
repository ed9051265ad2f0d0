#pragma once
// A scratch folder on C: for file tests, removed with its content afterwards.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>

#include "foundation/file_checks.h"
#include "foundation/find_handle.h"

namespace kelvane {

// Deletes a folder with everything in it.
inline void RemoveFolderTree(const std::string& folder) {
  {
    FindHandle find(folder + "\\*");
    for (bool more = find.IsOpen(); more; more = find.Next()) {
      const std::string name = find.data().cFileName;
      if (name == "." || name == "..") continue;
      if (find.data().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveFolderTree(folder + "\\" + name);
      else
        DeleteFileForced(folder + "\\" + name);
    }
  }  // the search is closed before the folder is removed
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(folder.c_str());
}

// Reads a whole file in binary; "" when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> sequence{0};
    path_ = "C:\\KelvaneTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++sequence);
    RemoveFolderTree(path_);  // left by a crashed run under a process id now reused
    CreateFolderPath(path_ + "\\");
    EXPECT_TRUE(FolderExists(path_)) << path_;
  }
  ~ScratchFolder() { RemoveFolderTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }  // no trailing backslash
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

  // Creates the file with `content` (and its folders); returns its path.
  std::string WriteFile(const std::string& relative, const std::string& content = "x") const {
    const std::string full = *this / relative;
    CreateFolderPath(full);
    std::ofstream file(full, std::ios::binary);
    EXPECT_TRUE(file << content) << full;
    return full;
  }
  // Creates the folder (and its parents); returns its path.
  std::string MakeFolder(const std::string& relative) const {
    CreateFolderPath(*this / relative + "\\");
    return *this / relative;
  }

 private:
  std::string path_;
};

}  // namespace kelvane
