#pragma once
// Whether the registry holds what a REGEDIT4 backup puts there. The registry
// editor ends with exit code 0 even when an import failed, so a restore is
// known to have happened only when the backup's entries are found again.
#include <string>

namespace kelvane {

// True when every key of the file exists and every value of it is there
// with the same type and data. False when the file cannot be read, holds a
// line the export writer would not produce (what it restores cannot then be
// told), or any of its entries is missing or differs.
bool RegistryHoldsBackup(const std::string& regFilePath);

}  // namespace kelvane
