#pragma once
#include "scan/scan_issue.h"

namespace kelvane {

// One whole scan: empties context.issues, reads the user's exclusions, then
// runs the eleven areas in order, each only when Settings.xml switches it on
// just before it starts, and reports the progress after every area.
void RunScan(ScanContext& context);

}  // namespace kelvane
