#pragma once
// The main window's measures in pixels. They follow the skin's main.bmp
// (tools/skin/README.md): header rows 0..71, an accent line in row 72, the
// page area from row 73 on.
#include <windows.h>

namespace kelvane {

constexpr int kMainClientWidth = 760;
constexpr int kMainClientHeight = 520;
constexpr int kHeaderHeight = 73;  // the header with its accent line

// The band above the navigation buttons: the product name at the left, the
// help button at the right.
constexpr int kTitleBandHeight = 33;
constexpr int kTitleLeft = 16;
constexpr int kTitleFontHeight = 20;

// The navigation buttons sit on the header's lower edge, side by side, each
// at least as wide as its pictures and wider when its caption needs it.
// When the captions of a language do not fit in one row, the buttons share
// the row evenly and their captions wrap.
constexpr int kNavButtonTop = 33;
constexpr int kNavButtonWidth = 110;
constexpr int kNavButtonHeight = 40;
constexpr int kNavLeft = 16;
constexpr int kNavGap = 4;
constexpr int kNavRightMargin = 16;
constexpr int kNavPadding = 12;  // on each side of a caption

constexpr int kHelpButtonTop = 5;
constexpr int kHelpButtonHeight = 24;
constexpr int kHelpButtonRightMargin = 10;
constexpr int kHelpButtonMinWidth = 72;
constexpr int kHelpButtonPadding = 14;  // on each side of its caption
constexpr int kSkinButtonCorner = 6;    // the radius of the button pictures' corners

constexpr COLORREF kHeaderTextColour = RGB(0xFF, 0xFF, 0xFF);
// The caption of the selected page's button, which has the page's colour.
constexpr COLORREF kSelectedTabTextColour = RGB(0x2A, 0x3B, 0x58);
// The header's colour when the skin has no main.bmp.
constexpr COLORREF kHeaderFallbackColour = RGB(0x2A, 0x3B, 0x58);

}  // namespace kelvane
