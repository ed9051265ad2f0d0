#include "foundation/local_time.h"

#include <windows.h>

namespace kelvane {

LocalDateTime NowLocal() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  LocalDateTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  return t;
}

}  // namespace kelvane
