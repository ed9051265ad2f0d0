#pragma once
// Short size texts for lists and result lines ("512B", "1.50KB", "84.27MB").
#include <cstdint>
#include <string>

// Whole bytes below 1 KB, otherwise two decimals of KB, MB or GB (binary
// units), number and unit without a space.
std::string FormatFileSize(std::uint64_t bytes);
