#pragma once
// A canonical text form of registry subtrees, read through the
// wide-character API, so that two states of the registry compare with diff.
//
//   [HKEY_CURRENT_USER\Software\Demo]
//   @=1:43003a005c0000
//   "Count"=4:2a000000
//
// Keys are sorted by path and every key is listed, also an empty one; each
// value is name (escaped, "@" for the default), type number and its bytes
// in hexadecimal, sorted by name. A key that cannot be opened or read gets
// the single line "!unreadable". Symbolic links are not followed: a link key
// shows its "SymbolicLinkValue" (type 6) and no subkeys.
#include <cstdio>
#include <string>
#include <vector>

// Writes the subtrees below `roots` (full paths "HKEY_...\sub\key"), leaving
// out every key at or below a path of `skip` (case-insensitive). Returns
// false when a root cannot be parsed.
bool DumpRegistry(const std::vector<std::wstring>& roots, const std::vector<std::wstring>& skip,
                  std::FILE* out);
