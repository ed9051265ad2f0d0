#include "ui/update_endpoint.h"

namespace kelvane {

UpdateEndpoint ShippedUpdateEndpoint() {
  return UpdateEndpoint{"www.kelvane.com", 443, "/version.txt", "/download.htm"};
}

std::string DownloadPageUrl(const UpdateEndpoint& endpoint) {
  std::string url = "https://" + endpoint.host;
  if (endpoint.port != 443) url += ":" + std::to_string(endpoint.port);
  return url + endpoint.downloadPath;
}

}  // namespace kelvane
