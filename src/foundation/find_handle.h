#pragma once
// A FindFirstFileA search, closed on every way out.
#include <windows.h>

#include <string>

#include "foundation/scoped_handle.h"

namespace kelvane {

// A directory search: the current entry and the step to the next one.
class FindHandle {
 public:
  // Starts the search; IsOpen() tells whether an entry was found.
  explicit FindHandle(const std::string& pattern)
      : handle_(FindFirstFileA(pattern.c_str(), &data_)) {}

  bool IsOpen() const { return handle_.IsValid(); }
  const WIN32_FIND_DATAA& data() const { return data_; }
  bool Next() { return FindNextFileA(handle_.Get(), &data_) != FALSE; }

 private:
  WIN32_FIND_DATAA data_ = {};
  ScopedFindHandle handle_;
};

}  // namespace kelvane
