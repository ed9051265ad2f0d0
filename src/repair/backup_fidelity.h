#pragma once
// Whether the partial backup of an entry gives it back exactly. The fix
// asks before it deletes: an entry its backup cannot restore is kept.
#include <string>

#include "foundation/registry_path.h"

// True when importing the backup lines of the entry (one value of `key`,
// or with `wholeKey` the key and its whole subtree) with `regedit /s` gives
// back every key name, value name, type and data byte that deleting the
// entry removes, as the wide-character registry API reports them. An entry
// that does not exist loses nothing and gives true; one that exists only
// under a name the ANSI API cannot spell (so the deletion could not reach
// it either), or that cannot be read completely, gives false.
bool BackupRestoresExactly(RootKey root, const std::string& key, const std::string& valueName,
                           bool wholeKey);

// The same check, with what the fix needs besides: whether the entry is
// there, and the backup lines the check judged (ExportValueText or
// ExportKeyText), to be written as they are.
struct BackupCheck {
  bool exists = false;
  bool exact = false;
  std::string lines;
};
BackupCheck CheckBackup(RootKey root, const std::string& key, const std::string& valueName,
                        bool wholeKey);
