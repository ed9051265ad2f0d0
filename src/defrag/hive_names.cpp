#include "defrag/hive_names.h"

#include "foundation/ansi_chars.h"
#include "foundation/case_map.h"

namespace kelvane {

RootKey HiveRootAndKey(const std::string& name, std::string& subkey) {
  const std::string upper = ToUpperText(name);
  RootKey root = 0;
  if (upper.find("MACHINE") != std::string::npos)
    root = kLocalMachine;
  else if (upper.find("USER") != std::string::npos)
    root = kUsers;
  else
    return 0;
  const std::size_t last = name.rfind('\\');
  if (last != std::string::npos && last != 0 && last + 1 != name.size())
    subkey = name.substr(last + 1);
  return root;
}

bool DevicePathToDrivePath(const DeviceMap& devices, const std::string& devicePath,
                           std::string& drivePath) {
  const std::string lowerPath = ToLowerText(devicePath);
  const DeviceMap::value_type* best = nullptr;
  std::size_t bestLength = 0;
  for (const auto& device : devices) {
    // A trailing backslash belongs to the rest of the path, not to the name.
    const std::string lowerDevice = WithoutTrailingBackslashes(ToLowerText(device.first));
    const std::size_t length = lowerDevice.size();
    if (length == 0 || length <= bestLength) continue;
    if (lowerPath.compare(0, length, lowerDevice) != 0) continue;
    if (lowerPath.size() != length && lowerPath[length] != '\\') continue;
    best = &device;
    bestLength = length;
  }
  if (best == nullptr) return false;
  drivePath = best->second + devicePath.substr(bestLength);
  return true;
}

}  // namespace kelvane
