#include "foundation/registry_path.h"

#include "foundation/ansi_chars.h"
#include "foundation/case_map.h"

namespace kelvane {

namespace {

const char* const kRootNames[] = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};
constexpr RootKey kFirstRoot = kClassesRoot;
constexpr std::size_t kRootCount = sizeof(kRootNames) / sizeof(kRootNames[0]);

}  // namespace

std::string RootKeyName(RootKey root) {
  if (root < kFirstRoot || root - kFirstRoot >= kRootCount) return std::string();
  return kRootNames[root - kFirstRoot];
}

RootKey ParseRootKeyName(const std::string& name) {
  const std::string upper = ToUpperText(name);
  for (std::size_t i = 0; i < kRootCount; ++i)
    if (upper == kRootNames[i]) return kFirstRoot + static_cast<RootKey>(i);
  return 0;
}

bool SplitRegistryPath(const std::string& fullPath, RootKey& root, std::string& subkey) {
  const std::size_t first = fullPath.find_first_not_of('\\');
  if (first == std::string::npos) return false;
  // Whole characters only: in a double-byte code page a character may end
  // in the byte of a backslash.
  const std::string rest = TrimTrailingAnsiChars(fullPath.substr(first), "\\");

  const std::size_t slash = FindAnsiChar(rest, '\\');
  const std::string rootName = slash == std::string::npos ? rest : rest.substr(0, slash);
  const RootKey parsed = ParseRootKeyName(rootName);
  if (parsed == 0) return false;
  root = parsed;
  subkey = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
  return true;
}

std::string FullRegistryPath(RootKey root, const std::string& subkey) {
  return RootKeyName(root) + "\\" + subkey;
}

std::string JoinKeyPath(const std::string& parent, const std::string& name) {
  return parent.empty() ? name : parent + "\\" + name;
}

}  // namespace kelvane
