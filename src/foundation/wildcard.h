#pragma once
#include <string>

namespace kelvane {

// True when the whole `text` matches `pattern`: '*' any run (also none),
// '?' exactly one character, anything else itself, byte for byte. Callers
// lower-case both sides where case must not matter.
bool WildcardMatch(const std::string& pattern, const std::string& text);

}  // namespace kelvane
