#pragma once
// Class registrations whose program files are gone: COM classes whose
// server or icon file is missing, and file extensions whose open command
// names a missing program. Both report whole keys.
#include <cstdint>
#include <string>

#include "scan/registry_walker.h"

namespace kelvane {

// A ValueVisitor over the CLSID trees whose context is the ScanContext.
// Looks at the default REG_SZ value of each subkey of a class key
// (CLSID\{GUID}\InprocServer32 and the like) and reports the class key
// CLSID\{GUID} when the file it names is missing.
int CheckComServerValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                        std::uint32_t valueNameLength, std::uint32_t type,
                        const unsigned char* data, std::uint32_t dataLength, void* context);

// A KeyVisitor of EnumSubkeys over a classes key whose context is the
// ScanContext. Shows every subkey as the current key; for an extension key
// (".abc") follows its program identifier to Shell\Open\Command and, when
// the command's program is missing, reports the extension key and the
// identifier's key.
int CheckFileAssociation(RootKey root, const std::string& parentPath, const std::string& subkeyName,
                         std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                         std::uint32_t dataLength, void* context);

}  // namespace kelvane
