#include "foundation/version_info.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "foundation/program_paths.h"

namespace kelvane {

std::string GetVersionString(const std::string& name, const std::string& file) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
  if (size == 0) return std::string();
  std::vector<char> block(size, 0);
  if (!GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return std::string();

  void* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length) ||
      length <= 3)
    return std::string();
  const WORD* pair = static_cast<const WORD*>(translation);

  char query[256];
  std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", pair[0], pair[1],
                name.c_str());
  void* value = nullptr;
  UINT valueLength = 0;
  if (!VerQueryValueA(block.data(), query, &value, &valueLength) || value == nullptr)
    return std::string();
  // The string is zero-terminated inside the block; bound it by the block.
  const char* text = static_cast<const char*>(value);
  const char* end = block.data() + block.size();
  std::size_t n = 0;
  while (text + n < end && text[n] != 0) ++n;
  return std::string(text, n);
}

std::string GetProductName(const std::string& file) {
  return GetVersionString("ProductName", file);
}

std::string GetProductVersion(const std::string& file) {
  return GetVersionString("ProductVersion", file);
}

std::string ProgramProductName() { return GetProductName(GetProgramFilePath()); }

}  // namespace kelvane
