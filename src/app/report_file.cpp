#include "app/report_file.h"

#include <windows.h>

#include <cstdio>

#include "foundation/file_checks.h"
#include "foundation/scoped_handle.h"

namespace kelvane {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

bool WriteWhole(const std::string& file, const std::string& text) {
  ScopedStdioFile stream(std::fopen(file.c_str(), "wb"));
  if (!stream.IsValid()) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), stream.Get()) == text.size();
  return CloseStdioFile(stream) && written;
}

// A file of a unique name in `folder`, created empty; "" when none could be.
std::string NewTemporaryFile(const std::string& folder) {
  char name[MAX_PATH] = {};
  if (GetTempFileNameA(folder.c_str(), "krp", 0, name) == 0) return std::string();
  return name;
}

}  // namespace

bool WriteReportFile(const std::string& path, const std::string& text) {
  if (path.empty()) return false;
  char full[MAX_PATH] = {};
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string target(full, length);
  const std::string folder = FolderOf(target);
  CreateFolderPath(folder);
  const std::string temporary = NewTemporaryFile(folder);
  const bool placed = !temporary.empty() && WriteWhole(temporary, text) &&
                      MoveFileExA(temporary.c_str(), target.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (placed) return true;
  if (!temporary.empty()) DeleteFileA(temporary.c_str());
  DeleteFileForced(target);
  return false;
}

}  // namespace kelvane
