#pragma once
// tmp_rccantremove.lst: the paths whose deletion failed, appended to by the
// fix for the life of the installation, and the in-memory copy that keeps
// them out of later interactive scans.
#include <string>
#include <vector>

#include "scan/scan_issue.h"

namespace kelvane {

// programFolder + "\tmp_rccantremove.lst".
std::string CannotRemoveListPath(const std::string& programFolder);

// Appends one line; nothing happens when the file cannot be opened.
void RecordCannotRemove(const std::string& programFolder, const std::string& path);

// Refills the in-memory list from the file (trimmed, empty lines dropped);
// a missing file leaves it empty.
void LoadCannotRemoveList(const std::string& programFolder);

// A full path as one line of the list: a CR or LF in a name (the registry
// allows both) would cut the line in two and never match, so they are
// written as the control characters 0x1D and 0x1C.
std::string CannotRemoveLineOf(const std::string& path);

// The in-memory list. Filled before interactive scans; read by the scanning
// thread while no one writes it.
void SetCannotRemoveList(const std::vector<std::string>& paths);
const std::vector<std::string>& CannotRemoveList();
bool IsKnownUnremovable(const ScanIssue& issue);

}  // namespace kelvane
