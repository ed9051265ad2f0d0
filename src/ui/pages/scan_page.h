#pragma once
// The scan page (page 1). For now it shows its title; the main window
// already sends it WM_START_SCAN and asks it whether a scan keeps it busy.
#include <utility>

#include "resource_ids.h"
#include "ui/pages/skinned_page.h"

namespace kelvane {

class ScanPage : public SkinnedPage {
 public:
  explicit ScanPage(PageContext context) : SkinnedPage(IDD_PAGE_SCAN, std::move(context)) {}
  ~ScanPage() override { Destroy(); }
};

}  // namespace kelvane
