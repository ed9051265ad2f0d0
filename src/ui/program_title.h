#pragma once
// How the windows name the program.
#include <string>

namespace kelvane {

// Product name and version of the program's own version resource:
// "Kelvane v3.0".
std::string ProgramTitle();

}  // namespace kelvane
