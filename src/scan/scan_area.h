#pragma once
// The eleven scan areas in scan order, with the element that switches each
// one in Settings.xml and the language key of its label.
#include <array>
#include <cstddef>

namespace kelvane {

enum class ScanArea {
  UserSoft,
  CommonSoft,
  SysSoft,
  Com,
  Uninstall,
  Recent,
  StartMenu,
  Dll,
  Language,
  TimeZone,
  Run,
};

constexpr std::size_t kScanAreaCount = 11;

// Every area, in the order a scan runs them.
constexpr std::array<ScanArea, kScanAreaCount> kScanAreas = {
    ScanArea::UserSoft,  ScanArea::CommonSoft, ScanArea::SysSoft,   ScanArea::Com,
    ScanArea::Uninstall, ScanArea::Recent,     ScanArea::StartMenu, ScanArea::Dll,
    ScanArea::Language,  ScanArea::TimeZone,   ScanArea::Run,
};

// Position of the area in scan order (0 for UserSoft).
constexpr std::size_t AreaIndex(ScanArea area) { return static_cast<std::size_t>(area); }

// Element below Config/Areas ("UserSoft").
constexpr const char* AreaElementName(ScanArea area) {
  constexpr const char* kNames[kScanAreaCount] = {
      "UserSoft",  "CommonSoft", "SysSoft",  "Com",      "Uninstall", "Recent",
      "StartMenu", "Dll",        "Language", "TimeZone", "Run",
  };
  return kNames[AreaIndex(area)];
}

// Language key of the area's label on the settings page ("L0127").
constexpr const char* AreaLabelKey(ScanArea area) {
  constexpr const char* kKeys[kScanAreaCount] = {
      "L0127", "L0128", "L0129", "L0130", "L0131", "L0132",
      "L0133", "L0134", "L0135", "L0136", "L0137",
  };
  return kKeys[AreaIndex(area)];
}

// One on/off switch per area, indexed by AreaIndex.
using AreaFlags = std::array<bool, kScanAreaCount>;

}  // namespace kelvane
