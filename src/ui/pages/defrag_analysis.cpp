#include "ui/pages/defrag_analysis.h"

#include <cstddef>

#include "defrag/hive_compactor.h"

namespace kelvane {

namespace {

struct Progress {
  const WaitReporter* reporter;
  std::size_t count;
};

int OnHiveProgress(int code, const HiveEntry*, std::size_t index, void* context) {
  const Progress& progress = *static_cast<const Progress*>(context);
  if (progress.reporter->stopRequested()) return 0;
  if (code == kHiveBefore && progress.count != 0)
    progress.reporter->SetProgress(static_cast<int>((index + 1) * 100 / progress.count));
  return 1;
}

}  // namespace

bool AnalyseHivesForWaitWindow(HiveList& hives, const WaitReporter& reporter) {
  Progress progress{&reporter, hives.size()};
  const bool completed = AnalyseHives(hives, OnHiveProgress, &progress);
  if (!completed) {
    for (HiveEntry& hive : hives) {
      hive.compactFile.clear();
      hive.compactSize = 0;
    }
  }
  reporter.SetMessageKey(completed ? "L0039" : "L0040");
  return completed;
}

}  // namespace kelvane
