#pragma once
// The defragmentation page (page 2). For now it shows its title; the main
// window already presses its start button (1000) for the home page.
#include <utility>

#include "resource_ids.h"
#include "ui/pages/skinned_page.h"

namespace kelvane {

class DefragPage : public SkinnedPage {
 public:
  explicit DefragPage(PageContext context) : SkinnedPage(IDD_PAGE_DEFRAG, std::move(context)) {}
  ~DefragPage() override { Destroy(); }
};

}  // namespace kelvane
