#pragma once
// A scratch folder on C: for file tests, removed with its content afterwards.
#include <string>

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Full path without a trailing backslash.
  const std::string& path() const { return path_; }
  // path() + "\" + relative.
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

  // Creates the file (and its folders) with `content`; returns its path.
  std::string WriteFile(const std::string& relative, const std::string& content = "x") const;
  // Creates the folder (and its parents); returns its path.
  std::string MakeFolder(const std::string& relative) const;

 private:
  std::string path_;
};

// Deletes a folder with everything in it.
void RemoveFolderTree(const std::string& folder);

// Reads a whole file in binary; "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
