#pragma once
// One ownership template for every kind of handle the program takes: the
// traits give the value that means "none" and the call that closes it, so
// every way out of a function releases what it took.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <utility>

namespace kelvane {

template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  // Takes over a handle the caller owns.
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { Reset(); }

  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  bool IsValid() const { return handle_ != Traits::Invalid(); }
  Handle Get() const { return handle_; }

  // Gives up ownership without closing.
  Handle Release() {
    Handle handle = handle_;
    handle_ = Traits::Invalid();
    return handle;
  }

  // Closes the handle held (if any) and takes `handle`.
  void Reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }

  // For calls that hand a new handle out through a pointer: the old one is
  // closed first.
  Handle* Receive() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // processes, threads, tokens, events, mutexes
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { CloseHandle(handle); }
};

struct FileHandleTraits {  // CreateFile answers INVALID_HANDLE_VALUE
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { CloseHandle(handle); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { FindClose(handle); }
};

struct StdioFileTraits {
  using Handle = std::FILE*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { std::fclose(handle); }
};

template <typename GdiObject>
struct GdiObjectTraits {  // bitmaps, fonts, brushes, pens, regions
  using Handle = GdiObject;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { DeleteObject(handle); }
};

struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { DestroyMenu(handle); }
};

struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ImageList_Destroy(handle); }
};

using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedFileHandle = ScopedHandle<FileHandleTraits>;
using ScopedFindHandle = ScopedHandle<FindHandleTraits>;
using ScopedStdioFile = ScopedHandle<StdioFileTraits>;
using ScopedBitmap = ScopedHandle<GdiObjectTraits<HBITMAP>>;
using ScopedFont = ScopedHandle<GdiObjectTraits<HFONT>>;
using ScopedBrush = ScopedHandle<GdiObjectTraits<HBRUSH>>;
using ScopedPen = ScopedHandle<GdiObjectTraits<HPEN>>;
using ScopedMenu = ScopedHandle<MenuTraits>;
using ScopedImageList = ScopedHandle<ImageListTraits>;

// Closes a stream and tells whether everything written reached the file.
inline bool CloseStdioFile(ScopedStdioFile& file) {
  std::FILE* stream = file.Release();
  if (stream == nullptr) return false;
  const bool flushed = std::fflush(stream) == 0 && std::ferror(stream) == 0;
  return std::fclose(stream) == 0 && flushed;
}

}  // namespace kelvane
