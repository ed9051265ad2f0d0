#pragma once
// Full registry paths in wide characters, and an owned key handle.
#include <windows.h>

#include <string>

// "HKEY_LOCAL_MACHINE\Software\X" into root and subkey; false when the
// root name is unknown.
bool SplitPathW(const std::wstring& path, HKEY& root, std::wstring& subkey);

class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (handle_ != nullptr) RegCloseKey(handle_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;

  HKEY* Out() { return &handle_; }
  HKEY Get() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};
