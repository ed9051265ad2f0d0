#pragma once
// The backup page (page 3). For now it shows its title; the main window
// already presses its start button (1000) for the home page.
#include <utility>

#include "resource_ids.h"
#include "ui/pages/skinned_page.h"

namespace kelvane {

class BackupPage : public SkinnedPage {
 public:
  explicit BackupPage(PageContext context) : SkinnedPage(IDD_PAGE_BACKUP, std::move(context)) {}
  ~BackupPage() override { Destroy(); }
};

}  // namespace kelvane
