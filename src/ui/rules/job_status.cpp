#include "ui/rules/job_status.h"

namespace kelvane {

namespace {

JobStatus WithState(JobStatus status, JobState state) {
  status.state = state;
  status.color = state == JobState::Recent ? kRecentColor
                 : state == JobState::Old  ? kOldColor
                                           : kNeverDoneColor;
  status.adviceKey = state == JobState::Recent ? kNoActionNeededKey : kActionRecommendedKey;
  return status;
}

}  // namespace

JobStatus ComputeJobStatus(const std::string& stored, const LocalDateTime& now, int dueDays) {
  JobStatus status;
  if (!ParseStamp(stored, kSettingsStampFormat, status.doneAt) || !IsValidDateTime(status.doneAt))
    return WithState(JobStatus(), JobState::Never);
  // Day counts of a date that does not exist are meaningless.
  if (!IsValidDateTime(now)) return WithState(status, JobState::Recent);

  status.days = static_cast<std::int64_t>(BackupAge(status.doneAt, now).days);
  status.inFuture = ToTicks(status.doneAt) > ToTicks(now);
  const bool due = !status.inFuture && status.days >= dueDays;
  return WithState(status, due ? JobState::Old : JobState::Recent);
}

}  // namespace kelvane
