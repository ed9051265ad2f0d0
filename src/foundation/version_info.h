#pragma once
// Strings of a file's version resource.
#include <string>

namespace kelvane {

// One string of the first translation of `file`'s version resource; "" when
// the file has none.
std::string GetVersionString(const std::string& name, const std::string& file);
std::string GetProductName(const std::string& file);
std::string GetProductVersion(const std::string& file);

// The caption of the program's message boxes: its own product name.
std::string ProgramProductName();

}  // namespace kelvane
