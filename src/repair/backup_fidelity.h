#pragma once
// One entry of a fix, read once before anything is deleted: whether it is
// there, whether its partial backup gives it back exactly, the backup lines
// formatted from that same read, and the open keys through which it is then
// deleted. Nothing here follows a registry link: the entry's own key is
// opened as it is (a link as the link), and so is every key below it.
#include <string>
#include <vector>

#include "foundation/registry_key.h"
#include "foundation/registry_path.h"

namespace kelvane {

struct FixEntry {
  bool exists = false;  // something stands behind the path
  // Deleting it touches nothing else and a REGEDIT4 file can give it back:
  // no registry link at or below it, every name spelt exactly in the ANSI
  // code page, and everything read completely.
  bool deletable = false;
  bool exact = false;         // deletable, and its backup lines restore it exactly
  std::string lines;          // the backup lines (key line before every value line)
  RegKey key;                 // the entry's key, held for the deletion
  std::vector<RegKey> below;  // every key below it, deepest first
};

// Reads one value of `key` (or with `wholeKey` the key and its subtree).
// With `formatLines` the backup lines are built and judged against what
// `regedit /s` would make of them; without, `exact` stays false.
FixEntry ReadFixEntry(RootKey root, const std::string& key, const std::string& valueName,
                      bool wholeKey, bool formatLines);

// Deletes what ReadFixEntry read, through the keys it holds: the value, or
// the keys below the entry (deepest first) and then the entry's key. True
// when it is gone. Never follows a link.
bool DeleteFixEntry(FixEntry& entry, const std::string& valueName, bool wholeKey);

// True when importing the entry's backup lines with `regedit /s` gives back
// every key name, value name, type and data byte that deleting the entry
// removes, as the wide-character registry API reports them. An entry that
// does not exist loses nothing and gives true; one that exists only under a
// name the ANSI API cannot spell, holds a link or cannot be read completely
// gives false.
bool BackupRestoresExactly(RootKey root, const std::string& key, const std::string& valueName,
                           bool wholeKey);

}  // namespace kelvane
