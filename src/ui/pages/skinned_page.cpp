#include "ui/pages/skinned_page.h"

#include <utility>

#include "resource_ids.h"
#include "ui/dialog_font.h"

namespace kelvane {

SkinnedPage::SkinnedPage(int templateId, PageContext context)
    : Page(templateId), context_(std::move(context)) {}

HWND SkinnedPage::MainWindowHandle() const { return GetAncestor(window(), GA_ROOT); }

HFONT SkinnedPage::DialogFont() const { return kelvane::DialogFont(window()); }

ScopedFont SkinnedPage::MakeFont(int pixelHeight, int weight) const {
  return FontLike(window(), pixelHeight, weight);
}

bool SkinnedPage::OnInit() {
  const HWND title = Item(IDC_PAGE_TITLE);
  if (title == nullptr) return true;
  titleFont_ = MakeFont(kPageTitleFontHeight, FW_BOLD);
  SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);
  RECT client;
  GetClientRect(window(), &client);
  SetWindowPos(title, nullptr, kPageTitleLeft, kPageTitleTop, client.right - 2 * kPageTitleLeft,
               kPageTitleHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void SkinnedPage::SetText(int id, const std::string& text) {
  const HWND control = Item(id);
  SetWindowTextA(control, text.c_str());
  RECT area = {};
  GetWindowRect(control, &area);
  MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(window(), &area, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool SkinnedPage::Route(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  const HWND title = Item(IDC_PAGE_TITLE);
  if (message == WM_SIZE && title != nullptr)
    SetWindowPos(title, nullptr, 0, 0, LOWORD(lParam) - 2 * kPageTitleLeft, kPageTitleHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  if (Page::Route(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_ERASEBKGND:
      if (context_.backdrop == nullptr) return false;
      context_.backdrop->PaintBehind(reinterpret_cast<HDC>(wParam), window());
      SetWindowLongPtrA(window(), DWLP_MSGRESULT, TRUE);
      result = TRUE;
      return true;
    case WM_CTLCOLORSTATIC: {
      // Texts lie straight on the background; SetText repaints it under
      // a text that changes.
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, kPageHeadingColour);
      result = reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
      return true;
    }
  }
  return false;
}

}  // namespace kelvane
