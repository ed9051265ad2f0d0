#pragma once
// Byte counts as short texts for lists ("512B", "1.50KB", "84.27MB").
#include <cstdint>
#include <string>

namespace kelvane {

// Bytes below 1024 as a whole number, larger sizes in KB, MB or GB with two
// decimals; number and unit without a space.
std::string FormatFileSize(std::uint64_t bytes);

}  // namespace kelvane
