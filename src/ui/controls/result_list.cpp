#include "ui/controls/result_list.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unordered_map>
#include <utility>

#include "foundation/registry_path.h"
#include "ui/buffered_dc.h"
#include "ui/controls/progress_bar.h"
#include "ui/ui_handles.h"

namespace kelvane {

namespace {

constexpr UINT_PTR kSubclassId = 0x4B52;  // one subclass of ours per list
constexpr int kFirstCellBuffer = 256;
constexpr std::size_t kLongestCell = 1u << 24;  // a bound, so a lying control cannot loop us
constexpr int kCellPadding = 3;
constexpr COLORREF kSelectedBack = RGB(0x33, 0x88, 0xDD);
constexpr COLORREF kSelectedText = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kSelectedBackInactive = RGB(0xCC, 0xE0, 0xF4);
constexpr COLORREF kGridColor = RGB(0xD8, 0xDC, 0xE2);
constexpr COLORREF kFrameColor = RGB(0x9A, 0xA2, 0xAE);

// The direction of the next header-click sort, shared by every list: only
// the user-interface thread sorts.
SortOrder nextHeaderSort = SortOrder::kAscending;

// What a row is sorted on, read once per row before the sort.
struct SortKey {
  int percent;
  double number;
  std::string text;
};

struct SortRequest {
  const std::unordered_map<LPARAM, SortKey>* keys;
  bool numeric;
  int sign;
};

int Sign(double difference) { return (difference > 0) - (difference < 0); }

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM request) {
  const auto* sort = reinterpret_cast<const SortRequest*>(request);
  const auto a = sort->keys->find(first);
  const auto b = sort->keys->find(second);
  if (a == sort->keys->end() || b == sort->keys->end()) return 0;
  int order = 0;
  if (a->second.percent >= 0 && b->second.percent >= 0) {
    order = Sign(a->second.percent - b->second.percent);
  } else if (sort->numeric) {
    order = Sign(a->second.number - b->second.number);
  } else {
    order = Sign(a->second.text.compare(b->second.text));  // byte by byte, as unsigned chars
  }
  return order * sort->sign;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

int StateImage(UINT state) { return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12); }

}  // namespace

ResultList::~ResultList() { Detach(); }

bool ResultList::Create(HWND parent, int id, const RECT& rect, bool tickBoxes) {
  if (window_ != nullptr) return false;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const HWND list = CreateWindowExA(
      0, WC_LISTVIEWA, "",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | LVS_REPORT | LVS_OWNERDRAWFIXED |
          LVS_SHOWSELALWAYS,
      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (list == nullptr) return false;
  if (parent != nullptr)
    SendMessageA(list, WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
  if (tickBoxes)
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  if (!Attach(list)) {
    DestroyWindow(list);
    return false;
  }
  return true;
}

bool ResultList::Attach(HWND listView) {
  if (window_ != nullptr || !IsWindow(listView)) return false;
  LONG_PTR style = GetWindowLongPtrA(listView, GWL_STYLE);
  style = (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | LVS_REPORT | LVS_OWNERDRAWFIXED |
          LVS_SHOWSELALWAYS | WS_CLIPCHILDREN;
  SetWindowLongPtrA(listView, GWL_STYLE, style);
  SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  if (!SetWindowSubclass(listView, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  window_ = listView;
  RedrawAll();
  return true;
}

void ResultList::Detach() {
  if (window_ == nullptr) return;
  FreeAllRowValues();
  RemoveWindowSubclass(window_, Subclass, kSubclassId);
  window_ = nullptr;
}

bool ResultList::hasTickBoxes() const {
  return (SendMessageA(window_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
}

void ResultList::SetRowColors(RgbColor even, RgbColor odd) {
  evenRowColor_ = even;
  oddRowColor_ = odd;
  RedrawAll();
}

void ResultList::SetTextColor(RgbColor color) {
  textColor_ = color;
  RedrawAll();
}

void ResultList::SetGridLines(unsigned lines) {
  gridLines_ = lines;
  RedrawAll();
}

void ResultList::SetImageList(ScopedImageList images) {
  SendMessageA(window_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.Get()));
  images_ = std::move(images);  // the list shown before goes only now
  RedrawAll();
}

int ResultList::AddColumn(const std::string& title, int width, bool rightAligned) {
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = rightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<char*>(title.c_str());
  const int at = ColumnCount();
  return static_cast<int>(SendMessageA(window_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(at),
                                       reinterpret_cast<LPARAM>(&column)));
}

int ResultList::ColumnCount() const {
  const HWND header = Header();
  return header == nullptr ? 0 : static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

std::string ResultList::ColumnTitle(int column) const {
  char title[256] = "";
  LVCOLUMNA info = {};
  info.mask = LVCF_TEXT;
  info.pszText = title;
  info.cchTextMax = sizeof title;
  if (!SendMessageA(window_, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                    reinterpret_cast<LPARAM>(&info)))
    return std::string();
  return title;
}

bool ResultList::IsRightAligned(int column) const {
  LVCOLUMNA info = {};
  info.mask = LVCF_FMT;
  if (!SendMessageA(window_, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                    reinterpret_cast<LPARAM>(&info)))
    return false;
  return (info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT;
}

int ResultList::InsertRow(int at, const std::vector<std::string>& cells, std::any data,
                          bool ticked) {
  auto value = std::make_unique<std::any>(std::move(data));
  const std::string first = cells.empty() ? std::string() : cells[0];
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = at;
  item.pszText = const_cast<char*>(first.c_str());
  item.lParam = reinterpret_cast<LPARAM>(value.get());
  const int row =
      static_cast<int>(SendMessageA(window_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return -1;
  value.release();  // the row owns it now
  // With tick boxes the list view starts every new row unticked, whatever
  // the insertion asked for.
  SetTicked(row, ticked);
  const int columns = ColumnCount();
  for (int column = 1; column < columns && column < static_cast<int>(cells.size()); ++column)
    SetCellText(row, column, cells[column]);
  return row;
}

int ResultList::AppendRow(const std::vector<std::string>& cells, std::any data, bool ticked) {
  return InsertRow(RowCount(), cells, std::move(data), ticked);
}

int ResultList::RowCount() const {
  return window_ == nullptr ? 0 : static_cast<int>(SendMessageA(window_, LVM_GETITEMCOUNT, 0, 0));
}

bool ResultList::DeleteRow(int row) {
  // The subclass frees the row's value.
  return SendMessageA(window_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0) != 0;
}

void ResultList::DeleteAllRows() { SendMessageA(window_, LVM_DELETEALLITEMS, 0, 0); }

void ResultList::DeleteRows(std::vector<int> rows) {
  std::sort(rows.rbegin(), rows.rend());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  WithoutRedraw([&] {
    for (const int row : rows) DeleteRow(row);
  });
}

template <typename Change>
void ResultList::WithoutRedraw(Change change) {
  // Every single change of a shown list view costs a repaint's worth of
  // work: thousands of them took minutes. The list is drawn once after.
  SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
  change();
  SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
  RedrawAll();
}

std::string ResultList::CellText(int row, int column) const {
  // The control tells only how much it copied: read again into a buffer
  // twice as large until the text fits with room to spare.
  std::string buffer(kFirstCellBuffer, '\0');
  for (;;) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = &buffer[0];
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT copied = SendMessageA(window_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                        reinterpret_cast<LPARAM>(&item));
    const std::size_t length = copied < 0 ? 0 : static_cast<std::size_t>(copied);
    // A double-byte character is never cut in two, so a full buffer may
    // stop one byte short of its end.
    if (length + 2 < buffer.size() || buffer.size() >= kLongestCell)
      return std::string(buffer.c_str(), std::min(length, buffer.size() - 1));
    buffer.assign(buffer.size() * 2, '\0');
  }
}

bool ResultList::SetCellText(int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  return SendMessageA(window_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&item)) != 0;
}

CellLook ResultList::LookOfCell(int row, int column) const {
  const ParsedCell parsed = ParseCellMarkup(CellText(row, column));
  CellLook look;
  look.text = parsed.text;
  look.icon = parsed.markup.icon;
  look.percent = parsed.markup.percent;
  look.backColor = parsed.markup.backColor.value_or(row % 2 == 0 ? evenRowColor_ : oddRowColor_);
  look.textColor = parsed.markup.textColor.value_or(textColor_);
  return look;
}

std::any* ResultList::RowValue(int row) const {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (window_ == nullptr ||
      !SendMessageA(window_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
    return nullptr;
  return reinterpret_cast<std::any*>(item.lParam);
}

void ResultList::FreeAllRowValues() {
  const int rows = RowCount();
  for (int row = 0; row < rows; ++row) {
    std::any* value = RowValue(row);
    if (value == nullptr) continue;
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = 0;  // the row no longer points at what is freed
    SendMessageA(window_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    delete value;
  }
}

bool ResultList::IsTicked(int row) const {
  const UINT state = static_cast<UINT>(
      SendMessageA(window_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
  return StateImage(state) == 2;
}

void ResultList::SetTicked(int row, bool ticked) {
  LVITEMA item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
  SendMessageA(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

void ResultList::FlipTick(int row) { SetTicked(row, !IsTicked(row)); }

void ResultList::TickAll(bool ticked) {
  WithoutRedraw([&] { SetTicked(-1, ticked); });  // -1: every row
}

void ResultList::InvertTicks() {
  WithoutRedraw([this] {
    const int rows = RowCount();
    for (int row = 0; row < rows; ++row) FlipTick(row);
  });
}

int ResultList::TickedCount() const {
  int ticked = 0;
  const int rows = RowCount();
  for (int row = 0; row < rows; ++row) ticked += IsTicked(row) ? 1 : 0;
  return ticked;
}

std::vector<int> ResultList::SelectedRows() const {
  std::vector<int> rows;
  int row = -1;
  for (;;) {
    row = static_cast<int>(
        SendMessageA(window_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0 || (!rows.empty() && row <= rows.back())) break;
    rows.push_back(row);
  }
  return rows;
}

void ResultList::SelectOnly(int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageA(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
  SendMessageA(window_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int ResultList::HeaderBottom() const {
  const HWND header = Header();
  if (header == nullptr || !IsWindowVisible(header)) return 0;
  RECT rect;
  GetWindowRect(header, &rect);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
  return rect.bottom;
}

template <typename Visit>
void ResultList::ForEachVisibleRow(Visit visit) const {
  const int rows = RowCount();
  const int top = static_cast<int>(SendMessageA(window_, LVM_GETTOPINDEX, 0, 0));
  const int perPage = static_cast<int>(SendMessageA(window_, LVM_GETCOUNTPERPAGE, 0, 0));
  for (int row = top; row < rows && row <= top + perPage; ++row) {
    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    if (!SendMessageA(window_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&bounds)))
      continue;
    if (!visit(row, bounds)) return;
  }
}

int ResultList::RowAt(POINT clientPoint) const {
  if (clientPoint.y < HeaderBottom()) return -1;
  int found = -1;
  ForEachVisibleRow([&](int row, const RECT& bounds) {
    if (clientPoint.y >= bounds.top && clientPoint.y < bounds.bottom) found = row;
    return found < 0;
  });
  return found;
}

RECT ResultList::TickBoxRect(int row) const {
  RECT box = {};
  const auto states =
      reinterpret_cast<HIMAGELIST>(SendMessageA(window_, LVM_GETIMAGELIST, LVSIL_STATE, 0));
  int width = 0;
  int height = 0;
  if (!hasTickBoxes() || states == nullptr || !ImageList_GetIconSize(states, &width, &height))
    return box;
  RECT icon = {LVIR_ICON, 0, 0, 0};
  if (!SendMessageA(window_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                    reinterpret_cast<LPARAM>(&icon)))
    return box;
  // The state image lies just before the item's icon, as the list view
  // itself places and hit-tests it.
  box.left = icon.left - width;
  box.right = icon.left;
  box.top = icon.top + (icon.bottom - icon.top - height) / 2;
  box.bottom = box.top + height;
  return box;
}

void ResultList::SortByColumn(int column, SortOrder order) {
  if (column < 0 || column >= ColumnCount()) return;
  // Each row's key is read once and found again by the row's own value
  // during the sort: the indices LVM_SORTITEMSEX hands out are not the rows'
  // current places on every platform (Wine gives those from before the
  // sort), and searching a row per comparison would make the sort quadratic.
  const int rows = RowCount();
  std::unordered_map<LPARAM, SortKey> keys;
  keys.reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    LPARAM identity = reinterpret_cast<LPARAM>(RowValue(row));
    if (identity == 0) {  // a row made behind the wrapper's back gets a value
      auto value = std::make_unique<std::any>();
      LVITEMA item = {};
      item.mask = LVIF_PARAM;
      item.iItem = row;
      item.lParam = reinterpret_cast<LPARAM>(value.get());
      if (!SendMessageA(window_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item))) continue;
      identity = reinterpret_cast<LPARAM>(value.release());
    }
    ParsedCell cell = ParseCellMarkup(CellText(row, column));
    const double number = std::atof(cell.text.c_str());
    keys.emplace(identity, SortKey{cell.markup.percent, number, std::move(cell.text)});
  }
  SortRequest request{&keys, IsRightAligned(column), order == SortOrder::kAscending ? 1 : -1};
  SendMessageA(window_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&request),
               reinterpret_cast<LPARAM>(&CompareRows));
  RedrawAll();
}

void ResultList::SortByHeaderClick(int column) {
  const SortOrder order = nextHeaderSort;
  nextHeaderSort = order == SortOrder::kAscending ? SortOrder::kDescending : SortOrder::kAscending;
  SortByColumn(column, order);
}

SortOrder ResultList::NextHeaderSortOrder() { return nextHeaderSort; }

HWND ResultList::Header() const {
  return reinterpret_cast<HWND>(SendMessageA(window_, LVM_GETHEADER, 0, 0));
}

void ResultList::RedrawAll() const {
  if (window_ != nullptr)
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void ResultList::PaintTo(HDC dc) const {
  RECT client;
  GetClientRect(window_, &client);
  FillSolid(dc, client, evenRowColor_);
  const int headerBottom = HeaderBottom();
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
  const SelectedObject selectedFont(
      dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  ForEachVisibleRow([&](int row, const RECT& bounds) {
    if (bounds.top >= client.bottom) return false;
    if (bounds.bottom > headerBottom) DrawRow(dc, row, bounds, headerBottom);
    return true;
  });
  ScopedBrush frame(CreateSolidBrush(kFrameColor));
  FrameRect(dc, &client, frame.Get());
}

void ResultList::DrawRow(HDC dc, int row, const RECT& bounds, int headerBottom) const {
  RECT client;
  GetClientRect(window_, &client);
  const UINT state =
      static_cast<UINT>(SendMessageA(window_, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                     LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK));
  const bool focused = GetFocus() == window_;
  const bool selected = (state & LVIS_SELECTED) != 0;
  const RECT rowRect = {client.left, bounds.top, client.right, bounds.bottom};
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, client.left, headerBottom, client.right, client.bottom);
  FillSolid(dc, rowRect, row % 2 == 0 ? evenRowColor_ : oddRowColor_);

  const auto states =
      reinterpret_cast<HIMAGELIST>(SendMessageA(window_, LVM_GETIMAGELIST, LVSIL_STATE, 0));
  const auto icons =
      reinterpret_cast<HIMAGELIST>(SendMessageA(window_, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  int iconWidth = 0;
  int iconHeight = 0;
  if (icons != nullptr) ImageList_GetIconSize(icons, &iconWidth, &iconHeight);
  const int iconCount = icons != nullptr ? ImageList_GetImageCount(icons) : 0;

  const int columns = ColumnCount();
  std::vector<int> order(static_cast<std::size_t>(std::max(columns, 0)));
  for (int i = 0; i < columns; ++i) order[static_cast<std::size_t>(i)] = i;
  if (columns > 0)
    SendMessageA(window_, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(columns),
                 reinterpret_cast<LPARAM>(order.data()));
  ScopedPen gridPen(CreatePen(PS_SOLID, 1, kGridColor));
  const SelectedObject pen(dc, gridPen.Get());
  SetBkMode(dc, TRANSPARENT);

  int x = bounds.left;
  for (const int column : order) {
    const int width =
        static_cast<int>(SendMessageA(window_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    const RECT cell = {x, bounds.top, x + width, bounds.bottom};
    x += width;
    if (cell.right <= client.left || cell.left >= client.right) continue;
    const CellLook look = LookOfCell(row, column);
    FillSolid(dc, cell,
              selected ? (focused ? kSelectedBack : kSelectedBackInactive) : look.backColor);
    RECT inner = {cell.left + kCellPadding, cell.top, cell.right - kCellPadding, cell.bottom};
    if (column == 0) {
      const RECT box = TickBoxRect(row);
      if (box.right > box.left && states != nullptr && StateImage(state) > 0) {
        ImageList_Draw(states, StateImage(state) - 1, dc, box.left, box.top, ILD_TRANSPARENT);
        inner.left = box.right + kCellPadding;
      }
    }
    if (icons != nullptr && (column == 0 || look.icon >= 0)) {
      if (look.icon >= 0 && look.icon < iconCount)
        ImageList_DrawEx(icons, look.icon, dc, inner.left,
                         cell.top + (cell.bottom - cell.top - iconHeight) / 2, 0, 0, CLR_NONE,
                         CLR_NONE, ILD_TRANSPARENT);
      inner.left += iconWidth + kCellPadding;  // the first column keeps the icon's place
    }
    if (look.percent >= 0) {
      const RECT bar = {inner.left, cell.top + 2, inner.right, cell.bottom - 2};
      const std::string caption = std::to_string(look.percent) + "%";
      DrawProgressBar(dc, bar, look.percent * (bar.right - bar.left) / 100, caption, nullptr);
    } else {
      ::SetTextColor(dc, selected && focused ? kSelectedText : look.textColor);
      const UINT align = IsRightAligned(column) ? DT_RIGHT : DT_LEFT;
      DrawTextA(dc, look.text.c_str(), static_cast<int>(look.text.size()), &inner,
                align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (gridLines_ & kColumnLines) Line(dc, cell.right - 1, cell.top, cell.right - 1, cell.bottom);
  }
  if (gridLines_ & kRowLines)
    Line(dc, client.left, bounds.bottom - 1, client.right, bounds.bottom - 1);
  if (focused && (state & LVIS_FOCUSED)) {
    const RECT focus = {bounds.left, bounds.top, std::min<LONG>(x, client.right), bounds.bottom};
    DrawFocusRect(dc, &focus);
  }
  RestoreDC(dc, saved);
}

bool ResultList::HandleClick(UINT, LPARAM lParam) {
  if (!hasTickBoxes()) return false;
  const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const int row = RowAt(point);
  if (row < 0) return false;
  const RECT box = TickBoxRect(row);
  if (!PtInRect(&box, point)) return false;
  // The list view would flip the tick on its own as well; it never sees
  // this click, so the tick flips exactly once.
  FlipTick(row);
  SetFocus(window_);
  const std::vector<int> selected = SelectedRows();
  if (std::find(selected.begin(), selected.end(), row) == selected.end()) SelectOnly(row);
  return true;
}

void ResultList::HandleSpace() {
  for (const int row : SelectedRows()) FlipTick(row);
}

LRESULT CALLBACK ResultList::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ResultList*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, Subclass, kSubclassId);
    self->window_ = nullptr;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT ResultList::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = window_;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT: {
      if (wParam != 0) {
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
      }
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      if (client.right > 0 && client.bottom > 0) {
        BufferedDc buffer(dc, client.right, client.bottom);
        PaintTo(buffer.dc());
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      RedrawAll();  // scrolling moved old pixels: grid lines and frame drawn anew
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);  // the selection's colour follows the focus
      return result;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: {
      const bool space = message == WM_CHAR ? wParam == ' ' : wParam == VK_SPACE;
      if (space && hasTickBoxes()) {
        if (message == WM_KEYDOWN) HandleSpace();
        return 0;  // the list view would flip the focused row again
      }
      const LRESULT top = SendMessageA(window, LVM_GETTOPINDEX, 0, 0);
      const int across = GetScrollPos(window, SB_HORZ);
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (SendMessageA(window, LVM_GETTOPINDEX, 0, 0) != top ||
          GetScrollPos(window, SB_HORZ) != across)
        RedrawAll();
      return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (HandleClick(message, lParam)) return 0;
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHEADERA*>(lParam);
      if (header != nullptr && header->hdr.hwndFrom == Header() &&
          (header->hdr.code == HDN_ITEMCLICKA || header->hdr.code == HDN_ITEMCLICKW))
        SortByHeaderClick(header->iItem);
      break;  // the list view still tells its parent of the click
    }
    case LVM_DELETEITEM: {
      std::any* value = RowValue(static_cast<int>(wParam));
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (result) delete value;
      return result;
    }
    case LVM_DELETEALLITEMS: {
      std::vector<std::any*> values;
      const int rows = RowCount();
      for (int row = 0; row < rows; ++row) values.push_back(RowValue(row));
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (result)
        for (std::any* value : values) delete value;
      return result;
    }
    case WM_DESTROY:
      FreeAllRowValues();
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

std::vector<std::string> IssueCells(const ScanIssue& issue, int icon) {
  CellMarkup markup;
  markup.icon = icon;
  return {ComposeCell(markup, RootKeyName(issue.root)), EscapeCellText(issue.key),
          EscapeCellText(issue.valueName), EscapeCellText(issue.data)};
}

int AppendIssueRow(ResultList& list, const ScanIssue& issue, int icon) {
  return list.AppendRow(IssueCells(issue, icon), issue, true);
}

}  // namespace kelvane
