#pragma once
// The options page (page 4). For now it shows its title; the main window
// already tells it when the exclusion list changed (WM_EXCLUSIONS_CHANGED).
#include <utility>

#include "resource_ids.h"
#include "ui/pages/skinned_page.h"

namespace kelvane {

class OptionsPage : public SkinnedPage {
 public:
  explicit OptionsPage(PageContext context) : SkinnedPage(IDD_PAGE_OPTIONS, std::move(context)) {}
  ~OptionsPage() override { Destroy(); }
};

}  // namespace kelvane
