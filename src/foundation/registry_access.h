#pragma once
// Reading and deleting single registry values by path.
#include <windows.h>

#include <string>

#include "foundation/registry_path.h"

// Deletes one value of the key named by its full path; true only when the
// value was deleted.
bool DeleteRegistryValue(const std::string& fullKeyPath, const std::string& valueName);

// The value's text up to its first zero byte, whatever its type; "" on any
// failure or for an absent value.
std::string ReadRegistryString(RootKey root, const std::string& subkey,
                               const std::string& valueName);

// The longest value data of an open key in bytes (0 when unknown).
DWORD LongestValueData(HKEY key);
