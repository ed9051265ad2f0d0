#include "ui/message_loop.h"

namespace kelvane {

int RunMessageLoop(HWND dialog) {
  MSG message = {};
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) break;
    if (got == -1) return 1;  // the queue itself failed
    if (IsWindow(dialog) && IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace kelvane
