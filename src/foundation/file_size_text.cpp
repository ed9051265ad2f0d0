#include "foundation/file_size_text.h"

#include <cstdio>

namespace kelvane {

namespace {

constexpr std::uint64_t kKilo = 1024;
constexpr std::uint64_t kMega = 1024 * kKilo;
constexpr std::uint64_t kGiga = 1024 * kMega;

std::string Scaled(std::uint64_t bytes, std::uint64_t unit, const char* suffix) {
  char number[64];
  std::snprintf(number, sizeof number, "%.2lf",
                static_cast<double>(bytes) / static_cast<double>(unit));
  return std::string(number) + suffix;
}

}  // namespace

std::string FormatFileSize(std::uint64_t bytes) {
  if (bytes < kKilo) {
    char number[16];
    std::snprintf(number, sizeof number, "%ld", static_cast<long>(bytes));
    return std::string(number) + "B";
  }
  if (bytes < kMega) return Scaled(bytes, kKilo, "KB");
  if (bytes < kGiga) return Scaled(bytes, kMega, "MB");
  return Scaled(bytes, kGiga, "GB");
}

}  // namespace kelvane
