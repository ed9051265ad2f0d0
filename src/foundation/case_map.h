#pragma once
// Case mapping of narrow text. On Windows it follows the ANSI code page
// (CharLowerBuffA / CharUpperBuffA); the native build maps ASCII only.
#include <string>

namespace kelvane {

std::string ToLowerText(std::string text);
std::string ToUpperText(std::string text);

}  // namespace kelvane
