#include "foundation/com_ptr.h"

namespace kelvane {

ComBstr::ComBstr(const std::string& ansiText) {
  const std::wstring wide = AnsiToWide(ansiText);
  bstr_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

ComBstr::ComBstr(const wchar_t* wideText) : bstr_(SysAllocString(wideText)) {}

std::string ComBstr::ToAnsi() const {
  return bstr_ == nullptr ? std::string() : WideToAnsi(bstr_, SysStringLen(bstr_));
}

ComVariant::ComVariant(const std::string& ansiText) {
  VariantInit(&value_);
  ComBstr text(ansiText);
  if (text.IsSet()) {
    value_.vt = VT_BSTR;
    value_.bstrVal = text.Detach();
  }
}

ComVariant::ComVariant(const wchar_t* wideText) {
  VariantInit(&value_);
  ComBstr text(wideText);
  if (text.IsSet()) {
    value_.vt = VT_BSTR;
    value_.bstrVal = text.Detach();
  }
}

bool ComVariant::ToAnsi(std::string& text) const {
  text.clear();
  if (IsEmpty()) return false;
  if (value_.vt == VT_BSTR) {
    text = WideToAnsi(value_.bstrVal, SysStringLen(value_.bstrVal));
    return true;
  }
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&value_), 0, VT_BSTR)))
    return false;
  text = WideToAnsi(converted.bstrVal, SysStringLen(converted.bstrVal));
  VariantClear(&converted);
  return true;
}

}  // namespace kelvane
