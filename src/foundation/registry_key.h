#pragma once
// RAII ownership of an open registry key handle.
#include <windows.h>

#include <string>

#include "foundation/registry_path.h"

namespace kelvane {

// The HKEY of a predefined root. Roots are 32-bit values that the 64-bit
// API expects sign-extended.
inline HKEY ToHkey(RootKey root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY handle) : handle_(handle) {}
  ~RegKey() { Close(); }

  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : handle_(other.Release()) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }

  // RegOpenKeyA: opens an existing key (never creates one); `subkey` may be
  // "" to reopen `parent` itself. Returns the status; 0 = opened.
  LONG Open(HKEY parent, const std::string& subkey) {
    Close();
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyA(parent, subkey.c_str(), &opened);
    if (status == ERROR_SUCCESS) handle_ = opened;
    return status;
  }
  LONG Open(RootKey root, const std::string& subkey) { return Open(ToHkey(root), subkey); }

  bool IsOpen() const { return handle_ != nullptr; }
  HKEY Get() const { return handle_; }

  HKEY Release() {
    HKEY h = handle_;
    handle_ = nullptr;
    return h;
  }

  void Close() {
    if (handle_ != nullptr) {
      RegCloseKey(handle_);
      handle_ = nullptr;
    }
  }

 private:
  HKEY handle_ = nullptr;
};

// RegOpenKeyA into a new RegKey; IsOpen() tells whether it worked.
inline RegKey OpenRegKey(RootKey root, const std::string& subkey) {
  RegKey key;
  key.Open(root, subkey);
  return key;
}

}  // namespace kelvane
