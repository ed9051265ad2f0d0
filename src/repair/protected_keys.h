#pragma once
// Keys no fix may delete whole, whatever issue names them: the roots, the
// hive of each user, and the containers the scan areas look into (and every
// key above those). No checker reports them; this guard makes sure a
// checker fault could not delete one either.
#include <string>

#include "foundation/registry_path.h"

namespace kelvane {

// `subkey` as the fix addresses it: no leading or trailing backslash.
bool IsProtectedKey(RootKey root, const std::string& subkey);

}  // namespace kelvane
