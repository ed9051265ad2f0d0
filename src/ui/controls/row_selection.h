#pragma once
// Keeping a list's selection across a refill: the row at the same index is
// selected again, or the last row when the list became shorter.
#include <algorithm>
#include <vector>

#include "ui/controls/result_list.h"

namespace kelvane {

// The first selected row, or -1.
inline int SelectedRow(const ResultList& list) {
  const std::vector<int> selected = list.SelectedRows();
  return selected.empty() ? -1 : selected.front();
}

// Selects `remembered` again, or the last row; nothing when no row was
// selected before or none is left.
inline void Reselect(ResultList& list, int remembered) {
  if (remembered < 0 || list.RowCount() == 0) return;
  list.SelectOnly(std::min(remembered, list.RowCount() - 1));
}

}  // namespace kelvane
