#pragma once
// RAII ownership of a FindFirstFileA search.
#include <windows.h>

#include <string>

namespace kelvane {

class FindHandle {
 public:
  // Starts the search; IsOpen() tells whether an entry was found.
  explicit FindHandle(const std::string& pattern)
      : handle_(FindFirstFileA(pattern.c_str(), &data_)) {}
  ~FindHandle() {
    if (IsOpen()) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  const WIN32_FIND_DATAA& data() const { return data_; }
  bool Next() { return FindNextFileA(handle_, &data_) != FALSE; }

 private:
  WIN32_FIND_DATAA data_ = {};
  HANDLE handle_;
};

}  // namespace kelvane
