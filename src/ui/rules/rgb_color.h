#pragma once
// A colour as the window system stores it: 0x00BBGGRR, red in the low byte.
#include <cstdint>

namespace kelvane {

using RgbColor = std::uint32_t;

constexpr RgbColor MakeRgb(int red, int green, int blue) {
  return static_cast<RgbColor>(red & 0xFF) | (static_cast<RgbColor>(green & 0xFF) << 8) |
         (static_cast<RgbColor>(blue & 0xFF) << 16);
}

constexpr int RedOf(RgbColor color) { return static_cast<int>(color & 0xFF); }
constexpr int GreenOf(RgbColor color) { return static_cast<int>((color >> 8) & 0xFF); }
constexpr int BlueOf(RgbColor color) { return static_cast<int>((color >> 16) & 0xFF); }

}  // namespace kelvane
