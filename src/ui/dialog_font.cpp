#include "ui/dialog_font.h"

namespace kelvane {

HFONT DialogFont(HWND dialog) {
  return reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
}

ScopedFont FontLike(HWND dialog, int pixelHeight, int weight) {
  LOGFONTA font = {};
  const HFONT dialogFont = DialogFont(dialog);
  if (dialogFont != nullptr) GetObjectA(dialogFont, sizeof font, &font);
  if (pixelHeight > 0) {
    font.lfHeight = -pixelHeight;
    font.lfWidth = 0;
  }
  font.lfWeight = weight;
  return ScopedFont(CreateFontIndirectA(&font));
}

}  // namespace kelvane
