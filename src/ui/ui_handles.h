#pragma once
// Handles of the windows' drawing, owned the same way as every other handle
// (foundation/scoped_handle.h), and the selection of a GDI object into a
// device context undone on every way out.
#include <windows.h>

#include "foundation/scoped_handle.h"

namespace kelvane {

struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { DestroyIcon(handle); }
};

struct MemoryDcTraits {  // CreateCompatibleDC
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { DeleteDC(handle); }
};

using ScopedIcon = ScopedHandle<IconTraits>;
using ScopedMemoryDc = ScopedHandle<MemoryDcTraits>;

// Selects `object` into `dc` and puts the previous one back at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace kelvane
