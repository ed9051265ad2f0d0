#include "foundation/file_size_text.h"

#include <cstdio>

std::string FormatFileSize(std::uint64_t bytes) {
  constexpr std::uint64_t kKilo = 1024;
  constexpr std::uint64_t kMega = kKilo * 1024;
  constexpr std::uint64_t kGiga = kMega * 1024;
  char number[64];
  const char* unit;
  if (bytes < kKilo) {
    std::snprintf(number, sizeof number, "%u", static_cast<unsigned>(bytes));
    unit = "B";
  } else if (bytes < kMega) {
    std::snprintf(number, sizeof number, "%.2f", static_cast<double>(bytes) / kKilo);
    unit = "KB";
  } else if (bytes < kGiga) {
    std::snprintf(number, sizeof number, "%.2f", static_cast<double>(bytes) / kMega);
    unit = "MB";
  } else {
    std::snprintf(number, sizeof number, "%.2f", static_cast<double>(bytes) / kGiga);
    unit = "GB";
  }
  return std::string(number) + unit;
}
