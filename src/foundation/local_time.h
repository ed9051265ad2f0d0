#pragma once
#include "foundation/time_stamp.h"

// The local time now, to the second.
LocalDateTime NowLocal();
