#pragma once
// The subkey an EnumSubkeys visitor is handed, as a path, shown on the scan
// page as it is visited.
#include <string>

#include "scan/scan_issue.h"

namespace kelvane {

// Builds the subkey's path and sends it as the current key, unthrottled:
// the enumerating checkers show every key they judge.
std::string ShowEnumeratedKey(ScanContext& context, const std::string& parentPath,
                              const std::string& subkeyName);

}  // namespace kelvane
