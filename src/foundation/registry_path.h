#pragma once
// Root keys and full registry paths ("HKEY_LOCAL_MACHINE\Software\...").
#include <cstdint>
#include <string>

namespace kelvane {

// A predefined root key as its 32-bit handle value.
using RootKey = std::uint32_t;

constexpr RootKey kClassesRoot = 0x80000000u;
constexpr RootKey kCurrentUser = 0x80000001u;
constexpr RootKey kLocalMachine = 0x80000002u;
constexpr RootKey kUsers = 0x80000003u;
constexpr RootKey kPerformanceData = 0x80000004u;
constexpr RootKey kCurrentConfig = 0x80000005u;
constexpr RootKey kDynData = 0x80000006u;

// The long name of a root ("HKEY_CURRENT_USER"); "" for an unknown value.
std::string RootKeyName(RootKey root);

// The root whose long name equals `name`, ignoring case; 0 when none does.
RootKey ParseRootKeyName(const std::string& name);

// Splits a full path into its root and subkey. Leading and trailing
// backslashes are ignored; a root alone gives an empty subkey. On failure
// the outputs are left unchanged.
bool SplitRegistryPath(const std::string& fullPath, RootKey& root, std::string& subkey);

// `parent` + "\" + `name`, or just `name` below an empty parent (the root).
std::string JoinKeyPath(const std::string& parent, const std::string& name);

// RootKeyName(root) + "\" + subkey.
std::string FullRegistryPath(RootKey root, const std::string& subkey);

}  // namespace kelvane
