#pragma once
// RAII ownership of COM interface pointers, BSTRs and VARIANTs, and of the
// COM initialisation of a thread, so that every way out of a call releases
// what it took.
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <string>

#include "foundation/ansi_text.h"

namespace kelvane {

// Holds one reference to an interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already owns.
  explicit ComPtr(T* owned) : pointer_(owned) {}
  ~ComPtr() { Reset(); }

  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_ != nullptr) pointer_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) {
    if (this != &other) {
      if (other.pointer_ != nullptr) other.pointer_->AddRef();
      Reset();
      pointer_ = other.pointer_;
    }
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(other.Detach()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = other.Detach();
    }
    return *this;
  }

  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // Releases the current reference and gives the address for an out
  // parameter that returns a new one.
  T** Put() {
    Reset();
    return &pointer_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  void Reset() {
    if (pointer_ != nullptr) {
      T* old = pointer_;
      pointer_ = nullptr;
      old->Release();
    }
  }
  T* Detach() {
    T* p = pointer_;
    pointer_ = nullptr;
    return p;
  }

  // Another interface of the same object; empty when it has none.
  template <typename U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> other;
    if (pointer_ != nullptr) pointer_->QueryInterface(iid, other.PutVoid());
    return other;
  }

 private:
  T* pointer_ = nullptr;
};

// Owns one BSTR (SysFreeString at the end).
class ComBstr {
 public:
  ComBstr() = default;
  explicit ComBstr(const std::string& ansiText);
  explicit ComBstr(const wchar_t* wideText);
  ~ComBstr() { Reset(); }
  ComBstr(const ComBstr&) = delete;
  ComBstr& operator=(const ComBstr&) = delete;
  ComBstr(ComBstr&& other) noexcept : bstr_(other.Detach()) {}
  ComBstr& operator=(ComBstr&& other) noexcept {
    if (this != &other) {
      Reset();
      bstr_ = other.Detach();
    }
    return *this;
  }

  BSTR Get() const { return bstr_; }
  BSTR* Put() {
    Reset();
    return &bstr_;
  }
  BSTR Detach() {
    BSTR b = bstr_;
    bstr_ = nullptr;
    return b;
  }
  void Reset() {
    if (bstr_ != nullptr) {
      SysFreeString(bstr_);
      bstr_ = nullptr;
    }
  }
  // False also when an allocation failed.
  bool IsSet() const { return bstr_ != nullptr; }
  // The text in the ANSI code page; "" for no BSTR.
  std::string ToAnsi() const;

 private:
  BSTR bstr_ = nullptr;
};

// Owns one VARIANT (VariantClear at the end).
class ComVariant {
 public:
  ComVariant() { VariantInit(&value_); }
  explicit ComVariant(const std::string& ansiText);  // VT_BSTR
  explicit ComVariant(const wchar_t* wideText);      // VT_BSTR
  ~ComVariant() { VariantClear(&value_); }
  ComVariant(const ComVariant&) = delete;
  ComVariant& operator=(const ComVariant&) = delete;

  VARIANT& Get() { return value_; }
  const VARIANT& Get() const { return value_; }
  // Clears the current content and gives the address for an out parameter.
  VARIANT* Put() {
    VariantClear(&value_);
    return &value_;
  }
  bool IsEmpty() const { return value_.vt == VT_EMPTY || value_.vt == VT_NULL; }
  // The value as text in the ANSI code page (VariantChangeType to VT_BSTR);
  // false when it is empty or cannot be converted.
  bool ToAnsi(std::string& text) const;

 private:
  VARIANT value_;
};

// CoInitialize for the lifetime of the object; CoUninitialize only when the
// initialisation succeeded (S_OK or S_FALSE).
class ComApartment {
 public:
  ComApartment() : result_(CoInitialize(nullptr)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool IsInitialized() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace kelvane
