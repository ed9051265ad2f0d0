#pragma once
// The white cards with rounded corners that group a page's controls on the
// skin's background.
#include <windows.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

namespace kelvane {

constexpr COLORREF kPageCardColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kPageCardEdgeColour = RGB(0xD5, 0xDB, 0xE3);
constexpr int kPageCardCorner = 10;

// Fills `place` with the card colour and draws its edge.
void DrawCard(Gdiplus::Graphics& graphics, const RECT& place);

}  // namespace kelvane
