#pragma once
// Stand-in pages for the main window's tests: each notes what reached it and
// can claim to be busy, as the scan page is while a scan runs.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "resource_ids.h"
#include "ui/main_window.h"
#include "ui/pages/home_page.h"
#include "ui/pages/skinned_page.h"
#include "ui/window_messages.h"

namespace kelvane {

class FakePage : public SkinnedPage {
 public:
  FakePage(int templateId, PageContext context) : SkinnedPage(templateId, std::move(context)) {}
  ~FakePage() override { Destroy(); }

  bool IsBusy() const override { return busy; }

  bool busy = false;
  // What the page heard, in order: "on", "off", "scan", "exclusions", "start" (command 1000).
  std::string heard;

 protected:
  void OnActivated() override { Note("on"); }
  void OnDeactivated() override { Note("off"); }
  bool OnCommand(int id, int notifyCode, HWND control) override {
    if (id != 1000) return SkinnedPage::OnCommand(id, notifyCode, control);
    Note("start");
    return true;
  }
  bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR&) override {
    if (message == WM_START_SCAN) Note("scan");
    if (message == WM_EXCLUSIONS_CHANGED) Note("exclusions");
    return false;
  }

 private:
  void Note(const char* what) { heard += heard.empty() ? what : std::string(" ") + what; }
};

// Makes fake pages (the home page too, unless `realHome`) and keeps a
// pointer to each; the main window owns them.
class FakePages {
 public:
  explicit FakePages(bool realHome = false) : realHome_(realHome) {}

  MainWindow::PageFactory Factory() {
    return [this](int index, PageContext context) -> std::unique_ptr<SkinnedPage> {
      if (index == MainWindow::kHomePage && realHome_)
        return std::make_unique<HomePage>(std::move(context));
      static constexpr int kTemplates[MainWindow::kPageCount] = {
          IDD_PAGE_HOME, IDD_PAGE_SCAN, IDD_PAGE_DEFRAG, IDD_PAGE_BACKUP, IDD_PAGE_OPTIONS};
      auto page = std::make_unique<FakePage>(kTemplates[index], std::move(context));
      made_[static_cast<std::size_t>(index)] = page.get();
      return page;
    };
  }

  FakePage& operator[](int index) { return *made_[static_cast<std::size_t>(index)]; }

 private:
  bool realHome_;
  std::array<FakePage*, MainWindow::kPageCount> made_ = {};
};

}  // namespace kelvane
