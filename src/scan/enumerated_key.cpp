#include "scan/enumerated_key.h"

#include "scan/registry_walker.h"

namespace kelvane {

std::string EnumeratedKeyPath(const std::string& parentPath, const std::string& subkeyName) {
  return parentPath.empty() ? subkeyName : parentPath + "\\" + subkeyName;
}

std::string ShowEnumeratedKey(ScanContext& context, const std::string& parentPath,
                              const std::string& subkeyName) {
  std::string path = EnumeratedKeyPath(parentPath, subkeyName);
  ReportCurrentKey(context, path, false);
  return path;
}

}  // namespace kelvane
