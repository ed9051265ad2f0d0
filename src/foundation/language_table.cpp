#include "foundation/language_table.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "foundation/language_escapes.h"

namespace kelvane {

namespace {

constexpr DWORD kTextBufferSize = 65535;

std::string ReadLanguageText(const std::string& key, const std::string& file) {
  std::vector<char> buffer(kTextBufferSize, 0);
  GetPrivateProfileStringA("String", key.c_str(), "", buffer.data(), kTextBufferSize, file.c_str());
  buffer.back() = 0;
  return buffer.data();
}

std::string WindowCaption(HWND window) {
  if (!IsWindow(window)) return std::string();
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, 0);
  GetWindowTextA(window, buffer.data(), length + 1);
  return buffer.data();
}

void TranslateOne(const LanguageTable& table, HWND window) {
  const std::string caption = WindowCaption(window);
  if (caption.empty()) return;
  const std::string text = table.Lookup(caption, true);
  if (!text.empty() && text != caption) SetWindowTextA(window, text.c_str());
}

BOOL CALLBACK TranslateChild(HWND child, LPARAM param) {
  TranslateOne(*reinterpret_cast<const LanguageTable*>(param), child);
  return TRUE;
}

}  // namespace

void LanguageTable::Open(const std::string& primaryPath, const std::string& fallbackPath) {
  std::lock_guard<std::mutex> lock(mutex_);
  primaryPath_ = primaryPath;
  fallbackPath_ = fallbackPath;
  primaryTexts_ = FileTexts();
  fallbackTexts_ = FileTexts();
}

std::string LanguageTable::ReadText(const std::string& key, const std::string& file,
                                    FileTexts& cache) const {
  WIN32_FILE_ATTRIBUTE_DATA info = {};
  const bool exists = GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &info) != FALSE;
  const unsigned long long writeTime =
      (static_cast<unsigned long long>(info.ftLastWriteTime.dwHighDateTime) << 32) |
      info.ftLastWriteTime.dwLowDateTime;
  const unsigned long long size =
      (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (exists != cache.exists || writeTime != cache.writeTime || size != cache.size) {
    cache = FileTexts();
    cache.exists = exists;
    cache.writeTime = writeTime;
    cache.size = size;
  }
  const auto known = cache.texts.find(key);
  if (known != cache.texts.end()) return known->second;
  std::string text = ReadLanguageText(key, file);
  cache.texts.emplace(key, text);
  return text;
}

std::string LanguageTable::Lookup(const std::string& key, bool expandEscapes) const {
  std::unique_lock<std::mutex> lock(mutex_);
  std::string text = ReadText(key, primaryPath_, primaryTexts_);
  if (text.empty() && !fallbackPath_.empty()) text = ReadText(key, fallbackPath_, fallbackTexts_);
  lock.unlock();
  if (text.empty()) return key;
  return expandEscapes ? ExpandLanguageEscapes(text) : text;
}

void LanguageTable::TranslateWindow(HWND window) const {
  // Without a window, EnumChildWindows would visit every top-level window
  // of the desktop, other programs' included.
  if (!IsWindow(window)) return;
  TranslateOne(*this, window);
  EnumChildWindows(window, TranslateChild, reinterpret_cast<LPARAM>(this));
}

LanguageTable& ProcessLanguageTable() {
  static LanguageTable table;
  return table;
}

std::string LanguageText(const char* key) { return ProcessLanguageTable().Lookup(key, true); }

std::string FormatLanguageText(const char* key, ...) {
  const std::string format = LanguageText(key);
  va_list args;
  va_start(args, key);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format.c_str(), copy);
  va_end(copy);
  std::string result;
  if (needed > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1, 0);
    std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), args);
    result.assign(buffer.data(), static_cast<std::size_t>(needed));
  }
  va_end(args);
  return result;
}

}  // namespace kelvane
