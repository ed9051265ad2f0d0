#pragma once
// Reading and deleting single registry values by path.
#include <windows.h>

#include <cstddef>
#include <string>

#include "foundation/registry_path.h"

namespace kelvane {

// Deletes one value of the key named by its full path; true only when the
// value was deleted.
bool DeleteRegistryValue(const std::string& fullKeyPath, const std::string& valueName);

// The value's text up to its first zero byte, whatever its type; "" on any
// failure or for an absent value.
std::string ReadRegistryString(RootKey root, const std::string& subkey,
                               const std::string& valueName);

// A value's data as text, read through the wide-character API: string
// types in the ANSI code page without best-fit letters (a character the
// code page lacks becomes "?", so the text never names some other path),
// other types as their bytes; the text ends at its first NUL. False when
// the value is absent or unreadable, or its text with a terminator would
// take more than `limit` bytes.
bool ReadValueText(HKEY key, const std::string& valueName, std::size_t limit, std::string& text);

// The longest value data of an open key in bytes (0 when unknown).
DWORD LongestValueData(HKEY key);

}  // namespace kelvane
