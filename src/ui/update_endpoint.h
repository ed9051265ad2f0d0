#pragma once
// Where the update check asks and where its offer leads. The shipped
// addresses are fixed here and nowhere else: the program runs elevated, so
// nothing a user or another program can write (Settings.ini, the registry,
// the command line) may choose the page it opens. Tests build an endpoint of
// their own and hand it in.
#include <string>

namespace kelvane {

struct UpdateEndpoint {
  std::string host;  // https only, checked against the system's roots
  int port = 443;
  std::string versionPath;   // a small text file holding the current version
  std::string downloadPath;  // the page the offer opens
};

UpdateEndpoint ShippedUpdateEndpoint();

// "https://host[:port]/downloadPath".
std::string DownloadPageUrl(const UpdateEndpoint& endpoint);

}  // namespace kelvane
