#pragma once
// The white cards with rounded corners that group a page's controls on the
// skin's background.
#include <windows.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

#include <functional>

#include "ui/pages/skin_backdrop.h"

namespace kelvane {

constexpr COLORREF kPageCardColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kPageCardEdgeColour = RGB(0xD5, 0xDB, 0xE3);
constexpr int kPageCardCorner = 10;

// Fills `place` with the card colour and draws its edge.
void DrawCard(Gdiplus::Graphics& graphics, const RECT& place);

// Paints the whole of `page` through a buffer: the part of `backdrop`
// behind it (the dialog colour without one), then `drawCards` with smooth
// edges on top.
void PaintCardPage(HWND page, const SkinBackdrop* backdrop,
                   const std::function<void(Gdiplus::Graphics&)>& drawCards);

// Fills `face`, a button lying on a card, with the card colour that its
// rounded corners show.
void FillCardColour(HDC dc, const RECT& face);

}  // namespace kelvane
