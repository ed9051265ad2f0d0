#pragma once
// Pictures of windows for a person to look at: a window as the screen shows
// it, saved as PNG under gui-shots beside the tests folder of the build.
// GDI+ must be started (GdiplusScope).
#include <windows.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

#include <string>

namespace kelvane {

// <build folder>\gui-shots\<name>, the folder made when missing.
inline std::string ShotPath(const std::string& name) {
  char exe[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder = exe;
  folder = folder.substr(0, folder.find_last_of('\\'));  // ...\tests
  folder = folder.substr(0, folder.find_last_of('\\')) + "\\gui-shots";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name;
}

// Copies `window` from the screen into a PNG file; false when it was not saved.
inline bool SaveScreenshot(HWND window, const std::string& path) {
  for (int i = 0; i < 20; ++i) {  // let the window and the X server settle
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  bool saved = false;
  {
    Gdiplus::Bitmap picture(bitmap, nullptr);
    const CLSID png = {
        0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    const std::wstring wide(path.begin(), path.end());
    saved = picture.Save(wide.c_str(), &png, nullptr) == Gdiplus::Ok;
  }
  DeleteObject(bitmap);
  return saved;
}

}  // namespace kelvane
