#pragma once
// Deleting keys without ever following a registry link: a key is opened as
// it is (REG_OPTION_OPEN_LINK), so a link is removed as the link and its
// target, which may be any healthy key, is never touched.
#include <windows.h>

namespace kelvane {

// Deletes the key an open handle names (it needs DELETE access and must
// hold no subkeys).
bool DeleteOpenKey(HKEY key);

// Deletes every key below an open key (opened with KEY_ENUMERATE_SUB_KEYS),
// deepest first. True when none is left.
bool DeleteKeysBelow(HKEY key);

// Access for reading a tree and deleting it.
constexpr REGSAM kDeleteTreeAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | DELETE;

}  // namespace kelvane
