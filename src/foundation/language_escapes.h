#pragma once
#include <string>

namespace kelvane {

// Replaces the two-character escapes \r, \n and \t of a language text, in
// that order, by carriage return, line feed and tab.
std::string ExpandLanguageEscapes(std::string text);

}  // namespace kelvane
