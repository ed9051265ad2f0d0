#pragma once
// The kind of page the main window shows: a child dialog painted with the
// skin's background behind it, its static texts drawn straight onto that
// background, and its title (the control IDC_PAGE_TITLE, when the template
// has one) in the heading font.
#include <windows.h>

#include <string>

#include "foundation/scoped_handle.h"
#include "ui/page.h"
#include "ui/pages/skin_backdrop.h"

namespace kelvane {

// What every page gets from the main window. The backdrop outlives the page.
struct PageContext {
  std::string programFolder;  // the skin and language folders lie in it
  const SkinBackdrop* backdrop = nullptr;
};

class SkinnedPage : public Page {
 public:
  SkinnedPage(int templateId, PageContext context);

  // While true the main window keeps this page in front: the navigation
  // buttons do nothing and closing the window asks first.
  virtual bool IsBusy() const { return false; }

 protected:
  bool OnInit() override;
  bool Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  const PageContext& context() const { return context_; }
  // The main window the page lies in.
  HWND MainWindowHandle() const;
  // The dialog's font, and one like it of `weight` that is `pixelHeight`
  // high (0 keeps its height).
  HFONT DialogFont() const;
  ScopedFont MakeFont(int pixelHeight, int weight) const;
  // Changes the text of a static that lies on the background: its old text
  // is painted over with the background first (a transparent static alone
  // would draw the new text on top of the old).
  void SetText(int id, const std::string& text);

 private:
  PageContext context_;
  ScopedFont titleFont_;
};

// The colour of page titles and other headings on the page background.
constexpr COLORREF kPageHeadingColour = RGB(0x2A, 0x3B, 0x58);
constexpr int kPageTitleLeft = 24;
constexpr int kPageTitleTop = 18;
constexpr int kPageTitleHeight = 28;
constexpr int kPageTitleFontHeight = 20;

}  // namespace kelvane
