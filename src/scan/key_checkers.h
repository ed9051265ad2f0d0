#pragma once
// Checkers that judge whole keys, one immediate subkey at a time: each is
// the visitor of an EnumSubkeys run without descent and reports the subkey
// as a whole-key issue (valueName and data empty).
#include <cstdint>
#include <map>
#include <string>

#include "foundation/registry_path.h"
#include "scan/scan_issue.h"

namespace kelvane {

// What the start-menu order checker needs: the scan, and the names of the
// immediate subfolders of the user's and the common Programs folders
// (name -> full path, as ListSubfolders fills it).
struct StartMenuContext {
  ScanContext* scan;
  const std::map<std::string, std::string>* folders;
};

// Uninstall entries (context: ScanContext*): an entry without any value, or
// whose "UninstallString" names a missing local program.
int CheckUninstallEntry(RootKey root, const std::string& parentPath, const std::string& subkeyName,
                        std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                        std::uint32_t dataLength, void* context);

// Menu-order entries (context: StartMenuContext*): an entry named after no
// start-menu program folder, compared by name ignoring case. Nothing is
// reported while the folder map is empty or missing: the folders could not
// be listed, so no entry can be judged.
int CheckStartMenuOrder(RootKey root, const std::string& parentPath, const std::string& subkeyName,
                        std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                        std::uint32_t dataLength, void* context);

// Software keys (context: ScanContext*): a key with neither values nor
// subkeys.
int CheckEmptySoftwareKey(RootKey root, const std::string& parentPath,
                          const std::string& subkeyName, std::uint32_t nameLength,
                          std::uint32_t type, const unsigned char* data, std::uint32_t dataLength,
                          void* context);

}  // namespace kelvane
