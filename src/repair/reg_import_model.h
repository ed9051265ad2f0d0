#pragma once
// What the system registry editor (`regedit /s`) makes of REGEDIT4 lines:
// the keys and values an import creates, as the wide-character registry
// API then reports them.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace kelvane {

// A value as the wide-character registry API reports it.
struct WideRegValue {
  DWORD type = 0;
  std::vector<unsigned char> data;
  bool operator==(const WideRegValue& other) const {
    return type == other.type && data == other.data;
  }
};

// Value name -> value.
using WideRegValues = std::map<std::wstring, WideRegValue>;
// Key path -> the values the key holds.
using WideRegTree = std::map<std::wstring, WideRegValues>;

// Adds to `tree` what importing `text` (lines ending in "\n", no header)
// creates, every missing parent key included. False for a line that is
// not one of those the export writer produces: such a text cannot be
// vouched for.
bool ImportModel(const std::string& text, WideRegTree& tree);

// The keys of `tree` at and below `path`.
WideRegTree Subtree(const WideRegTree& tree, const std::wstring& path);

}  // namespace kelvane
