#pragma once
// Checks on printf formats that come from outside the program (language
// files), before they are filled.
#include <string>

namespace kelvane {

// Whether `format` has at most `count` conversions and each of them takes an
// int (d, i, u, o, x, X, c, optionally with flags, width, precision and an
// h or l length), so that filling it with `count` ints is safe. "%%" is text.
bool TakesOnlyInts(const std::string& format, int count);

// Whether `format` has at most `count` conversions and each of them is "%s"
// (with flags, width or precision), so that filling it with `count` strings
// is safe.
bool TakesOnlyStrings(const std::string& format, int count);

}  // namespace kelvane
