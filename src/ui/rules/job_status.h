#pragma once
// What the home page says about one job (cleanup, defragmentation, backup):
// never done, done recently, or due again.
#include <cstdint>
#include <string>

#include "foundation/time_stamp.h"
#include "ui/rules/rgb_color.h"

namespace kelvane {

// Days after which a job is due again.
constexpr int kFixDueDays = 3;
constexpr int kDefragDueDays = 7;
constexpr int kBackupDueDays = 14;

constexpr RgbColor kNeverDoneColor = MakeRgb(120, 120, 120);
constexpr RgbColor kRecentColor = MakeRgb(90, 150, 90);
constexpr RgbColor kOldColor = MakeRgb(170, 50, 0);

// Language keys of the panel's second line.
constexpr const char* kNoActionNeededKey = "L0150";
constexpr const char* kActionRecommendedKey = "L0151";

enum class JobState { Never, Recent, Old };

struct JobStatus {
  JobState state = JobState::Never;
  // When the job last ran; meaningful unless Never.
  LocalDateTime doneAt;
  // Whole days between then and now, in either direction (a 64-bit number
  // because the language texts print it with a 64-bit conversion).
  std::int64_t days = 0;
  // The stored time lies after now (a clock set back, a copied settings file).
  bool inFuture = false;
  RgbColor color = kNeverDoneColor;
  const char* adviceKey = kActionRecommendedKey;
};

// `stored` is the settings value ("2024-03-07 09:05:00"). Text that does not
// give six numbers, or numbers that are no real date, count as never done.
// Otherwise the job is Recent while fewer than `dueDays` whole days have
// passed, and Old from then on. A time in the future is Recent whatever the
// distance: a clock set back must not nag the user to redo a job just done.
// So is any stamp when `now` itself is no real date.
JobStatus ComputeJobStatus(const std::string& stored, const LocalDateTime& now, int dueDays);

}  // namespace kelvane
