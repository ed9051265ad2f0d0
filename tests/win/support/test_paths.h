#pragma once
// Where the test programs find the repository's files under wine.
#include <string>

namespace kelvane {

// The source tree as a Windows path (Z:\...).
std::string SourcePath(const std::string& relative);
// The built Kelvane.exe as a Windows path.
std::string KelvaneExePath();
// Opens the process language table on the repository's English.txt.
void UseRepositoryLanguage();

}  // namespace kelvane
