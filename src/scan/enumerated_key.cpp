#include "scan/enumerated_key.h"

#include "scan/registry_walker.h"

namespace kelvane {

std::string ShowEnumeratedKey(ScanContext& context, const std::string& parentPath,
                              const std::string& subkeyName) {
  std::string path = JoinKeyPath(parentPath, subkeyName);
  ReportCurrentKey(context, path, false);
  return path;
}

}  // namespace kelvane
