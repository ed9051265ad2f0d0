#pragma once
// The program's table: a report-style list view (LVS_OWNERDRAWFIXED) that
// paints itself. Each cell's look is carried by its own text (markup of
// ui/rules/cell_markup.h: icon, percent bar, text and background colours);
// rows alternate two background colours, may have grid lines, and, with
// LVS_EX_CHECKBOXES, a tick box (state image 1 unticked, 2 ticked). Every
// row owns a value of its own (the item data), freed when the row goes.
//
// Text that does not come from the program (registry names and data) must be
// put into cells through EscapeCellText or ComposeCell, so that it is shown
// literally even when it starts like a tag.
//
// The list paints into an off-screen bitmap copied in one go, never erases
// its background, and redraws fully after scrolling. A click in a tick box
// flips that tick exactly once; Space flips every selected row once. A click
// on a column header sorts by that column (see SortByHeaderClick).
//
// The wrapper lives on the user-interface thread and subclasses the list
// view; it lets go of the window when either of them goes.
#include <windows.h>
#include <commctrl.h>

#include <any>
#include <string>
#include <vector>

#include "foundation/scoped_handle.h"
#include "scan/scan_issue.h"
#include "ui/rules/cell_markup.h"
#include "ui/rules/rgb_color.h"

namespace kelvane {

enum GridLines : unsigned {
  kNoGridLines = 0,
  kRowLines = 1,     // a line under every row
  kColumnLines = 2,  // a line at the right edge of every column
};

// How a sort orders rows.
enum class SortOrder { kAscending, kDescending };

// What one cell looks like, as the painting reads it.
struct CellLook {
  std::string text;      // drawn without its markup
  int icon = -1;         // image of the small image list; -1 for none
  int percent = -1;      // 0..100: drawn as a bar with "n%"; -1 for text
  RgbColor backColor{};  // the cell's own, else the row's
  RgbColor textColor{};  // the cell's own, else the list's
};

class ResultList {
 public:
  ResultList() = default;
  ~ResultList();
  ResultList(const ResultList&) = delete;
  ResultList& operator=(const ResultList&) = delete;

  // A new list view child of `parent`, then Attach. With `tickBoxes` it has
  // LVS_EX_CHECKBOXES. False when the window could not be made.
  bool Create(HWND parent, int id, const RECT& rect, bool tickBoxes);
  // Takes over a list view made elsewhere (a dialog template): makes it a
  // report list that draws itself, selects whole rows and keeps the
  // selection shown. False when `listView` is no window or one is attached.
  bool Attach(HWND listView);
  // Lets go of the window and frees the rows' values (the rows stay).
  void Detach();

  HWND window() const { return window_; }
  bool hasTickBoxes() const;

  // Look.
  void SetRowColors(RgbColor even, RgbColor odd);
  void SetTextColor(RgbColor color);
  void SetGridLines(unsigned lines);
  RgbColor evenRowColor() const { return evenRowColor_; }
  RgbColor oddRowColor() const { return oddRowColor_; }
  RgbColor textColor() const { return textColor_; }
  unsigned gridLines() const { return gridLines_; }
  // The small images that {ICON:n} indexes; owned by the list from now on.
  void SetImageList(ScopedImageList images);

  // Columns. A right-aligned column sorts as numbers.
  int AddColumn(const std::string& title, int width, bool rightAligned = false);
  int ColumnCount() const;
  std::string ColumnTitle(int column) const;
  bool IsRightAligned(int column) const;

  // Rows. `cells` are cell texts with their markup; cells beyond the
  // columns are dropped. The row keeps `data` until it is deleted. The
  // index of the new row, or -1.
  int InsertRow(int at, const std::vector<std::string>& cells, std::any data = {},
                bool ticked = false);
  int AppendRow(const std::vector<std::string>& cells, std::any data = {}, bool ticked = false);
  int RowCount() const;
  bool DeleteRow(int row);
  // Deletes the rows at these indices (as they are before the first goes).
  void DeleteRows(std::vector<int> rows);
  void DeleteAllRows();

  // A cell's whole text, markup included, however long.
  std::string CellText(int row, int column) const;
  bool SetCellText(int row, int column, const std::string& text);
  // What painting makes of the cell.
  CellLook LookOfCell(int row, int column) const;

  // The row's value, or nullptr when the row has none of type T.
  template <typename T>
  const T* RowData(int row) const {
    return std::any_cast<T>(RowValue(row));
  }
  template <typename T>
  T* MutableRowData(int row) {
    return std::any_cast<T>(RowValue(row));
  }

  // Ticks: state image 2 is ticked, 1 (or none) is not.
  bool IsTicked(int row) const;
  void SetTicked(int row, bool ticked);
  void FlipTick(int row);
  void TickAll(bool ticked);
  void InvertTicks();
  int TickedCount() const;

  // Selection and places.
  std::vector<int> SelectedRows() const;
  void SelectOnly(int row);
  // The row under a point of the client area, or -1.
  int RowAt(POINT clientPoint) const;
  // The tick box of a row in client coordinates (empty without tick boxes).
  RECT TickBoxRect(int row) const;

  // Sorts by `column` with the compare rule: two percent cells by their
  // percentages, a right-aligned column by the numbers its texts start with
  // (atof), any other byte by byte. Each row's cell is read once; the sort
  // itself (LVM_SORTITEMS) finds the rows' keys by their values.
  void SortByColumn(int column, SortOrder order);
  // Sorts in the direction shared by every list of the process, then turns
  // that direction round: the first header click anywhere sorts ascending,
  // the next (any list, any column) descending, and so on.
  void SortByHeaderClick(int column);
  // The direction the next header click sorts in.
  static SortOrder NextHeaderSortOrder();

  // Paints the whole client area into `dc` (what WM_PAINT copies out).
  void PaintTo(HDC dc) const;

 private:
  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool HandleClick(UINT message, LPARAM lParam);
  void HandleSpace();
  void FreeAllRowValues();
  std::any* RowValue(int row) const;
  void DrawRow(HDC dc, int row, const RECT& bounds, int headerBottom) const;
  HWND Header() const;
  // The client y below the column header (0 without one).
  int HeaderBottom() const;
  // Calls visit(row, bounds) for the rows in view, top down, while it
  // answers true.
  template <typename Visit>
  void ForEachVisibleRow(Visit visit) const;
  void RedrawAll() const;
  // Makes `change` with drawing held back, then draws the list once.
  template <typename Change>
  void WithoutRedraw(Change change);

  HWND window_ = nullptr;
  RgbColor evenRowColor_ = MakeRgb(0xFF, 0xFF, 0xFF);
  RgbColor oddRowColor_ = MakeRgb(0xF0, 0xF4, 0xF9);
  RgbColor textColor_ = MakeRgb(0x1E, 0x1E, 0x1E);
  unsigned gridLines_ = kNoGridLines;
  ScopedImageList images_;
};

// The cells of a scan issue's row: root name, key path, value name, value
// data, each escaped; the first cell carries `icon` when it is not -1.
std::vector<std::string> IssueCells(const ScanIssue& issue, int icon = -1);

// Appends a ticked row for `issue` that keeps a copy of it.
int AppendIssueRow(ResultList& list, const ScanIssue& issue, int icon = -1);

}  // namespace kelvane
