#pragma once
// Checkers of the history lists, shared DLL counters, start-up entries,
// locale entries (value visitors of WalkKey) and time zones (key visitor of
// EnumSubkeys without descent). The context is the ScanContext.
#include <cstdint>
#include <string>

#include "foundation/registry_path.h"
#include "scan/scan_issue.h"

namespace kelvane {

// Every value of a history list, described by its formatted data.
int CheckHistoryValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                      std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                      std::uint32_t dataLength, void* context);

// A shared DLL counter whose value name is a missing local path.
int CheckSharedDllValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                        std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                        std::uint32_t dataLength, void* context);

// A start-up entry whose data names a missing local program.
int CheckStartupValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                      std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                      std::uint32_t dataLength, void* context);

// A locale entry whose data text is empty.
int CheckLocaleValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                     std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                     std::uint32_t dataLength, void* context);

// A time zone key other than the zone in effect. The zone in effect is the
// one whose "Std" equals the current standard-time name, or whose key name
// is the current zone's key name; while the current standard-time name
// cannot be had, no zone is reported.
int CheckTimeZone(RootKey root, const std::string& parentPath, const std::string& subkeyName,
                  std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                  std::uint32_t dataLength, void* context);

}  // namespace kelvane
