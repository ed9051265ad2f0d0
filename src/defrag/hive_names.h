#pragma once
// Text rules of hive discovery: where a hive is mounted, and which drive
// path an NT device path names.
#include <map>
#include <string>

#include "foundation/registry_path.h"

namespace kelvane {

// NT device name ("\Device\HarddiskVolume1") -> drive without a trailing
// backslash ("C:").
using DeviceMap = std::map<std::string, std::string>;

// The root a hive is mounted under: HKEY_LOCAL_MACHINE when the upper-cased
// name contains "MACHINE", else HKEY_USERS when it contains "USER", else 0
// (and `subkey` is left alone). `subkey` becomes the text after the last
// backslash, only when that backslash is neither the first nor the last
// character; otherwise it is left alone (callers pass it empty).
RootKey HiveRootAndKey(const std::string& name, std::string& subkey);

// Replaces the device name at the front of `devicePath` by its drive. The
// device name is compared ignoring case and must end at a backslash (or at
// the end) of the path, and the longest such name wins, so that a hive on
// \Device\HarddiskVolume10 is never read as one on \Device\HarddiskVolume1.
// The rest of the path keeps its letter case. False when no device matches
// (`drivePath` is left alone).
bool DevicePathToDrivePath(const DeviceMap& devices, const std::string& devicePath,
                           std::string& drivePath);

}  // namespace kelvane
