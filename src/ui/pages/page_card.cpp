#include "ui/pages/page_card.h"

#include "ui/buffered_paint.h"
#include "foundation/scoped_handle.h"

namespace kelvane {

namespace {

Gdiplus::Color GdiplusColour(COLORREF colour) {
  return Gdiplus::Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

}  // namespace

void DrawCard(Gdiplus::Graphics& graphics, const RECT& place) {
  const Gdiplus::REAL left = static_cast<Gdiplus::REAL>(place.left);
  const Gdiplus::REAL top = static_cast<Gdiplus::REAL>(place.top);
  const Gdiplus::REAL width = static_cast<Gdiplus::REAL>(place.right - place.left - 1);
  const Gdiplus::REAL height = static_cast<Gdiplus::REAL>(place.bottom - place.top - 1);
  const Gdiplus::REAL arc = 2.0f * kPageCardCorner;
  Gdiplus::GraphicsPath outline;
  outline.AddArc(left, top, arc, arc, 180, 90);
  outline.AddArc(left + width - arc, top, arc, arc, 270, 90);
  outline.AddArc(left + width - arc, top + height - arc, arc, arc, 0, 90);
  outline.AddArc(left, top + height - arc, arc, arc, 90, 90);
  outline.CloseFigure();
  Gdiplus::SolidBrush fill(GdiplusColour(kPageCardColour));
  Gdiplus::Pen edge(GdiplusColour(kPageCardEdgeColour), 1.0f);
  graphics.FillPath(&fill, &outline);
  graphics.DrawPath(&edge, &outline);
}

void PaintCardPage(HWND page, const SkinBackdrop* backdrop,
                   const std::function<void(Gdiplus::Graphics&)>& drawCards) {
  PaintBuffered(page, [&](HDC dc, const RECT& client) {
    if (backdrop != nullptr) {
      backdrop->PaintBehind(dc, page);
    } else {
      FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    }
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    drawCards(graphics);
  });
}

void FillCardColour(HDC dc, const RECT& face) {
  ScopedBrush card(CreateSolidBrush(kPageCardColour));
  FillRect(dc, &face, card.Get());
}

}  // namespace kelvane
