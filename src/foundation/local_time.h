#pragma once
#include "foundation/time_stamp.h"

namespace kelvane {

// The local time now, to the second.
LocalDateTime NowLocal();

}  // namespace kelvane
