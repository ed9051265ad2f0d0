#include "ui/buffered_paint.h"

#include "ui/buffered_dc.h"

namespace kelvane {

void PaintBuffered(HWND window, const std::function<void(HDC dc, const RECT& client)>& draw) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(window, &client);
  {
    BufferedDc buffer(dc, client.right, client.bottom);
    draw(buffer.dc(), client);
  }
  EndPaint(window, &paint);
}

bool AnswerPaintMessage(HWND dialog, UINT message, INT_PTR& result,
                        const std::function<void()>& paint) {
  switch (message) {
    case WM_ERASEBKGND:
      result = TRUE;  // WM_PAINT covers every pixel
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
      return true;
    case WM_PAINT:
      paint();
      result = TRUE;
      return true;
  }
  return false;
}

}  // namespace kelvane
