#pragma once
// Settings.xml: which scan areas are switched on and which registry paths
// the scan leaves alone, each as a factory copy ("default") and the user's
// copy ("custom").
//
// Every operation loads the file into its own MSXML DOM document and
// releases it before returning; the changing ones save at once. COM must be
// initialised on the calling thread. A document that did not load is never
// saved, and saving keeps every other node of the file as it was.
#include <windows.h>
#include <msxml.h>

#include <string>
#include <utility>
#include <vector>

#include "foundation/com_ptr.h"
#include "scan/scan_area.h"

namespace kelvane {

// One loaded Settings.xml.
class ScanConfigDocument {
 public:
  ScanConfigDocument() = default;
  ScanConfigDocument(ComPtr<IXMLDOMDocument> dom, std::string path, bool loaded)
      : dom_(std::move(dom)), path_(std::move(path)), loaded_(loaded) {}

  ScanConfigDocument(ScanConfigDocument&&) = default;
  ScanConfigDocument& operator=(ScanConfigDocument&&) = default;
  ScanConfigDocument(const ScanConfigDocument&) = delete;
  ScanConfigDocument& operator=(const ScanConfigDocument&) = delete;

  // False for a missing or malformed file, or when no DOM document could be
  // created; such a document is empty.
  bool IsLoaded() const { return loaded_; }
  // The file it was loaded from, and the only file it saves to.
  const std::string& path() const { return path_; }
  // Null when no DOM document could be created.
  IXMLDOMDocument* dom() const { return dom_.Get(); }

  // Writes the whole document back to path() through a sibling file that
  // then replaces it, so that a failed write leaves the old file whole.
  // Refused (false) for a document that did not load.
  bool Save() const;

 private:
  ComPtr<IXMLDOMDocument> dom_;
  std::string path_;
  bool loaded_ = false;
};

// Creates a DOM document and loads the file; never shows anything.
ScanConfigDocument LoadScanConfig(const std::string& path);

// The area's "custom" attribute read as a number, non-zero = on. A document
// that did not load, a missing element or attribute, and a text that is not
// a decimal 32-bit integer all read as off.
bool IsAreaEnabled(const ScanConfigDocument& document, ScanArea area);

// All eleven switches, from "default" (useFactory) or "custom".
AreaFlags ReadAreaFlags(const std::string& path, bool useFactory);

// Sets each area's "custom" attribute to 1 or 0 (an area element that is
// missing stays missing). True when the file holds the flags afterwards;
// false when it did not load or could not be saved.
bool WriteAreaFlags(const std::string& path, const AreaFlags& flags);

// The "value" texts of Config/Exclude/default/item (useFactory) or
// Config/Exclude/custom/item, in document order. Items without a value, or
// with an empty one, are left out: as a fragment of every path they would
// switch the whole scan off.
std::vector<std::string> ReadExclusions(const std::string& path, bool useFactory);

// Replaces the user's items by `items`, in this order (empty strings are
// left out, see ReadExclusions). Without a Config/Exclude/custom element
// nothing changes and the result is false; otherwise true once saved.
bool WriteExclusions(const std::string& path, const std::vector<std::string>& items);

// Appends one item after the user's others. False for an empty value, a
// missing Config/Exclude/custom element, or a failed load or save.
bool AddExclusion(const std::string& path, const std::string& value);

// The number of user items that ReadExclusions(path, false) gives (an int,
// as the settings page formats it with %d).
int CountExclusions(const std::string& path);

}  // namespace kelvane
