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

// An open registry key, closed on every way out. Keys are opened and
// created only through it; a call that fails leaves the object as it was.
class RegKey {
 public:
  RegKey() = default;
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

  // Opens an existing key (never creates one); `subkey` may be "" to open
  // `parent` itself again. Returns the status; 0 = opened.
  [[nodiscard]] LONG Open(HKEY parent, const std::string& subkey, REGSAM access = KEY_READ) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(parent, subkey.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) Adopt(opened);
    return status;
  }
  [[nodiscard]] LONG Open(RootKey root, const std::string& subkey, REGSAM access = KEY_READ) {
    return Open(ToHkey(root), subkey, access);
  }

  // Opens a subkey by its exact (UTF-16) name as it is: a registry link as
  // the link, never its target.
  [[nodiscard]] LONG OpenAsItIs(HKEY parent, const std::wstring& name, REGSAM access) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, access, &opened);
    if (status == ERROR_SUCCESS) Adopt(opened);
    return status;
  }

  // Opens a subkey by its exact (UTF-16) name, following a link.
  [[nodiscard]] LONG OpenFollowingLinks(HKEY parent, const std::wstring& name,
                                        REGSAM access = KEY_READ) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExW(parent, name.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) Adopt(opened);
    return status;
  }

  // Opens or creates a key (RegCreateKeyExA with `options`); `disposition`
  // tells which, when given.
  [[nodiscard]] LONG Create(HKEY parent, const std::string& subkey, DWORD options, REGSAM access,
                            DWORD* disposition = nullptr) {
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExA(parent, subkey.c_str(), 0, nullptr, options, access,
                                        nullptr, &created, disposition);
    if (status == ERROR_SUCCESS) Adopt(created);
    return status;
  }

  // The same with an exact (UTF-16) name; options may make it a link.
  [[nodiscard]] LONG Create(HKEY parent, const std::wstring& subkey, DWORD options, REGSAM access,
                            DWORD* disposition = nullptr) {
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExW(parent, subkey.c_str(), 0, nullptr, options, access,
                                        nullptr, &created, disposition);
    if (status == ERROR_SUCCESS) Adopt(created);
    return status;
  }

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
  void Adopt(HKEY handle) {
    Close();
    handle_ = handle;
  }

  HKEY handle_ = nullptr;
};

// The key opened for reading into a new RegKey; IsOpen() tells whether it
// worked.
inline RegKey OpenRegKey(RootKey root, const std::string& subkey) {
  RegKey key;
  static_cast<void>(key.Open(root, subkey));
  return key;
}

}  // namespace kelvane
