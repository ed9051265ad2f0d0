#pragma once
// Painting a whole window through one buffer in WM_PAINT, with nothing done
// in WM_ERASEBKGND, so the window never flickers.
#include <windows.h>

#include <functional>

namespace kelvane {

// Paints the client area of `window`: `draw` fills every pixel of `client`
// in the buffer `dc`.
void PaintBuffered(HWND window, const std::function<void(HDC dc, const RECT& client)>& draw);

// For a dialog that paints every pixel itself: true, with `result` set, when
// `message` is WM_ERASEBKGND (answered as done) or WM_PAINT (`paint` runs).
bool AnswerPaintMessage(HWND dialog, UINT message, INT_PTR& result,
                        const std::function<void()>& paint);

}  // namespace kelvane
