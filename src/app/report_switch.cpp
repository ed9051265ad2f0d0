#include "app/report_switch.h"

#include "foundation/case_map.h"

namespace kelvane {

namespace {

bool IsSwitchWord(const std::string& lowerWord) {
  return lowerWord == "backup" || lowerWord == "fix" || lowerWord == "defrag" ||
         lowerWord == "report";
}

}  // namespace

ReportRequest FindReportRequest(const std::vector<std::string>& words) {
  ReportRequest request;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (ToLowerText(words[i]) != "report") continue;
    request.asked = true;
    if (i + 1 < words.size() && !IsSwitchWord(ToLowerText(words[i + 1])))
      request.path = words[i + 1];
    return request;
  }
  return request;
}

}  // namespace kelvane
