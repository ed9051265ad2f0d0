#pragma once
// tmp_rccantremove.lst: the paths whose deletion failed, appended to for the
// life of the installation and left out of later interactive scans.
#include <string>

namespace kelvane {

// programFolder + "\tmp_rccantremove.lst".
std::string CannotRemoveListPath(const std::string& programFolder);

// Appends one line; nothing happens when the file cannot be opened.
void RecordCannotRemove(const std::string& programFolder, const std::string& path);

// Refills the in-memory list from the file (trimmed, empty lines dropped);
// a missing file leaves it empty.
void LoadCannotRemoveList(const std::string& programFolder);

}  // namespace kelvane
