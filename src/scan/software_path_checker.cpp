#include "scan/software_path_checker.h"

#include "foundation/value_format.h"
#include "scan/missing_path.h"
#include "scan/scan_issue.h"

namespace kelvane {

int CheckSoftwareValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                       std::uint32_t, std::uint32_t type, const unsigned char* data,
                       std::uint32_t dataLength, void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  // Expandable and other types are left alone: their text is not a plain path.
  if (type == kTypeString) {
    const std::string text = DataAsText(data, dataLength);
    std::string missing;
    // A value named after a path is judged by its name first; its data is
    // looked at only when the name names nothing that is gone.
    if (FindMissingPath(valueName, missing) || FindMissingPath(text, missing))
      AddIssue(scan, MakeIssue(root, keyPath, valueName, text, IssueCategory::kSoftwarePath,
                               missing, kTypeString));
  }
  return ContinueAnswer(scan);
}

}  // namespace kelvane
