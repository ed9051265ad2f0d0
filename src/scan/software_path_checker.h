#pragma once
// Value checker of the software areas: a text value whose name or data
// names a local file or folder that is gone.
#include <cstdint>
#include <string>

#include "scan/registry_walker.h"

namespace kelvane {

// A ValueVisitor whose context is the ScanContext. Reports at most one
// value issue per REG_SZ value: the name's missing path, else the data's.
// Answers 0 once the scan's cancel flag is set, after handling the value.
int CheckSoftwareValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                       std::uint32_t valueNameLength, std::uint32_t type, const unsigned char* data,
                       std::uint32_t dataLength, void* context);

}  // namespace kelvane
