// Feeds arbitrary registry text to the path rules.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/file_path_rules.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string path;
  if (ExtractFilePathWith(text, path, [](char c) { return c == 'C' || c == 'D'; })) {
    // A found path starts with a drive and holds none of the cut characters.
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') __builtin_trap();
    if (path.find_first_of(",;!*'\"/") != std::string::npos) __builtin_trap();
  }
  GetFileNameOf(text, size % 2 == 0);
  return 0;
}
