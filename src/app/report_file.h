#pragma once
// Writes a report so that a reader only ever finds a whole one.
#include <string>

namespace kelvane {

// Writes `text` to a new file beside `path` (its missing folders made
// first), then moves it into place, replacing an earlier file. On any
// failure the new file is removed and so is an earlier report at `path`:
// a script must never read a stale or half-written report as this run's.
// True when `path` holds exactly `text`.
bool WriteReportFile(const std::string& path, const std::string& text);

}  // namespace kelvane
