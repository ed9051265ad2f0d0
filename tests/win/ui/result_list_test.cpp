// The result list: what its painting makes of cell markup (registry text
// shown literally), ticks that flip once per click or Space, owned row
// values, cell texts of any length, sorting by percent, number and text with
// the direction shared by every list, and a screenshot of a filled list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/registry_path.h"
#include "modal_driver.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/result_list.h"
#include "ui_test_support.h"
#include "window_screenshot.h"

using namespace kelvane;

namespace {

constexpr int kListId = 4242;
constexpr RgbColor kEven = MakeRgb(255, 255, 255);
constexpr RgbColor kOdd = MakeRgb(200, 220, 255);
constexpr RgbColor kText = MakeRgb(10, 20, 30);

// A top-level window of the test thread that holds one list.
class ListHost {
 public:
  explicit ListHost(bool tickBoxes = true, int width = 640, int height = 300) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = "KelvaneListHost";
    RegisterClassA(&windowClass);  // fails harmlessly from the second host on
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "Result list",
                              WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN, 40, 40, width + 16,
                              height + 40, nullptr, nullptr, windowClass.hInstance, nullptr);
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    RECT client;
    GetClientRect(window_, &client);
    created_ = list.Create(window_, kListId, client, tickBoxes);
    list.SetRowColors(kEven, kOdd);
    list.SetTextColor(kText);
  }
  ~ListHost() { DestroyWindow(window_); }
  ListHost(const ListHost&) = delete;
  ListHost& operator=(const ListHost&) = delete;

  bool created() const { return created_; }
  HWND window() const { return window_; }
  void Show() {
    ShowWindow(window_, SW_SHOWNA);
    UpdateWindow(window_);
  }

  ResultList list;

 private:
  HWND window_ = nullptr;
  bool created_ = false;
};

// The list's client area as painted, in a bitmap the test can read.
class Painted {
 public:
  explicit Painted(const ResultList& list) {
    RECT client;
    GetClientRect(list.window(), &client);
    const HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    previous_ = SelectObject(dc_, bitmap_);
    list.PaintTo(dc_);
  }
  ~Painted() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Painted(const Painted&) = delete;
  Painted& operator=(const Painted&) = delete;

  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

RECT CellRect(const ResultList& list, int row, int column) {
  RECT rect = {LVIR_BOUNDS, column, 0, 0};
  SendMessageA(list.window(), LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&rect));
  if (column == 0)
    rect.right =
        rect.left + static_cast<int>(SendMessageA(list.window(), LVM_GETCOLUMNWIDTH, 0, 0));
  return rect;
}

void Click(HWND window, POINT point, UINT down = WM_LBUTTONDOWN) {
  const LPARAM at = MAKELPARAM(point.x, point.y);
  SendMessageA(window, down, MK_LBUTTON, at);
  SendMessageA(window, WM_LBUTTONUP, 0, at);
}

POINT Centre(const RECT& rect) {
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Texts of one column from the top.
std::vector<std::string> Column(const ResultList& list, int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < list.RowCount(); ++row) texts.push_back(list.CellText(row, column));
  return texts;
}

// Counts the sort and search messages that reach a list.
class MessageCounter {
 public:
  explicit MessageCounter(HWND window) : window_(window) {
    SetWindowSubclass(window_, Count, kId, reinterpret_cast<DWORD_PTR>(this));
  }
  ~MessageCounter() { RemoveWindowSubclass(window_, Count, kId); }
  MessageCounter(const MessageCounter&) = delete;
  MessageCounter& operator=(const MessageCounter&) = delete;

  int sortsEx = 0;
  int sorts = 0;
  int finds = 0;
  int textReads = 0;

 private:
  static constexpr UINT_PTR kId = 77;
  static LRESULT CALLBACK Count(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
    auto* self = reinterpret_cast<MessageCounter*>(data);
    if (message == LVM_SORTITEMSEX) ++self->sortsEx;
    if (message == LVM_SORTITEMS) ++self->sorts;
    if (message == LVM_FINDITEMA || message == LVM_FINDITEMW) ++self->finds;
    if (message == LVM_GETITEMTEXTA || message == LVM_GETITEMTEXTW) ++self->textReads;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  HWND window_;
};

bool IsGreenish(COLORREF colour) {
  return GetGValue(colour) > GetRValue(colour) + 40 && GetGValue(colour) > GetBValue(colour) + 40;
}

bool IsPale(COLORREF colour) {
  return GetRValue(colour) > 200 && GetGValue(colour) > 200 && GetBValue(colour) > 200;
}

}  // namespace

TEST(ResultList, ReadsMarkupAtTheStartOfACellAndShowsRegistryTextLiterally) {
  ListHost host;
  ASSERT_TRUE(host.created());
  ResultList& list = host.list;
  list.AddColumn("Root", 120);
  list.AddColumn("Key", 200);
  list.AddColumn("Value", 100);
  list.AddColumn("Data", 100);
  list.AppendRow({"{ICON:3}Missing file", "{PERCENT:40}", "{TEXTCOLOR:255,0,0}{BKCOLOR:255,255,0}x",
                  "{ICON:2 abc"});
  ScanIssue forged;
  forged.root = kCurrentUser;
  forged.key = "{PERCENT:5000}Software";
  forged.valueName = "{TEXTCOLOR:1,2,3}name";
  forged.data = "{BKCOLOR:0,0,0}";
  AppendIssueRow(list, forged);

  const CellLook icon = list.LookOfCell(0, 0);
  EXPECT_EQ(icon.icon, 3) << "the icon tag gives the image";
  EXPECT_EQ(icon.text, "Missing file") << "and leaves the text";
  const CellLook bar = list.LookOfCell(0, 1);
  EXPECT_EQ(bar.percent, 40) << "a percent cell";
  EXPECT_EQ(bar.text, "") << "with no text of its own";
  const CellLook coloured = list.LookOfCell(0, 2);
  EXPECT_EQ(coloured.textColor, MakeRgb(255, 0, 0)) << "the cell's text colour";
  EXPECT_EQ(coloured.backColor, MakeRgb(255, 255, 0)) << "the cell's background";
  EXPECT_EQ(coloured.text, "x") << "both tags removed";
  const CellLook unclosed = list.LookOfCell(0, 3);
  EXPECT_EQ(unclosed.text, "{ICON:2 abc") << "a tag without its brace is text";
  EXPECT_EQ(unclosed.icon, -1) << "and gives no icon";
  EXPECT_EQ(unclosed.backColor, kEven) << "an unmarked cell of row 0 has the even colour";
  EXPECT_EQ(unclosed.textColor, kText) << "and the list's text colour";

  EXPECT_EQ(list.LookOfCell(1, 0).text, "HKEY_CURRENT_USER") << "the root's name";
  const CellLook key = list.LookOfCell(1, 1);
  EXPECT_EQ(key.text, "{PERCENT:5000}Software") << "registry text that looks like a tag";
  EXPECT_EQ(key.percent, -1) << "draws no bar";
  const CellLook name = list.LookOfCell(1, 2);
  EXPECT_EQ(name.text, "{TEXTCOLOR:1,2,3}name") << "a forged colour tag is shown";
  EXPECT_EQ(name.textColor, kText) << "and colours nothing";
  const CellLook data = list.LookOfCell(1, 3);
  EXPECT_EQ(data.text, "{BKCOLOR:0,0,0}") << "a forged background tag is shown";
  EXPECT_EQ(data.backColor, kOdd) << "row 1 keeps the odd colour";
  EXPECT_TRUE(list.IsTicked(1)) << "an issue's row starts ticked";
  const ScanIssue* kept = list.RowData<ScanIssue>(1);
  ASSERT_NE(kept, nullptr) << "the row keeps a copy of its issue";
  EXPECT_EQ(kept->key, forged.key) << "the copy's key";
  EXPECT_EQ(list.RowData<int>(1), nullptr) << "a value of another type is not handed out";
}

TEST(ResultList, PaintsCellColoursBarsRowColoursAndGridLines) {
  ListHost host(false);
  ASSERT_TRUE(host.created());
  ResultList& list = host.list;
  list.AddColumn("A", 100);
  list.AddColumn("B", 200);
  list.AppendRow({"{BKCOLOR:255,255,0}yellow", "{PERCENT:40}"});
  list.AppendRow({"plain", ""});
  list.AppendRow({"plain", ""});

  {
    const Painted painted(list);
    const RECT yellow = CellRect(list, 0, 0);
    EXPECT_EQ(painted.At(yellow.right - 4, yellow.top + 2), RGB(255, 255, 0))
        << "a cell's own background";
    const RECT bar = CellRect(list, 0, 1);
    const int middle = (bar.top + bar.bottom) / 2;
    const int width = bar.right - bar.left;
    EXPECT_TRUE(IsGreenish(painted.At(bar.left + width / 5, middle)))
        << "the bar is filled at a fifth of its width";
    EXPECT_TRUE(IsPale(painted.At(bar.left + width * 4 / 5, middle))) << "and empty at four fifths";
    const RECT odd = CellRect(list, 1, 1);
    EXPECT_EQ(painted.At(odd.right + 10, odd.top + 2), kOdd) << "an odd row's colour";
    const RECT even = CellRect(list, 2, 1);
    EXPECT_EQ(painted.At(even.right + 10, even.top + 2), kEven) << "an even row's colour";
    EXPECT_EQ(painted.At(even.right + 10, even.bottom - 1), kEven) << "no grid line by default";
  }
  {
    const Painted marked(list);
    const HDC dc = marked.dc();
    SetPixel(dc, 5, 40, RGB(1, 2, 3));
    EXPECT_NE(SendMessageA(list.window(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0)
        << "the background erase says it is done";
    EXPECT_EQ(marked.At(5, 40), RGB(1, 2, 3)) << "without painting: the paint covers everything";
  }
  list.SetGridLines(kRowLines | kColumnLines);
  const Painted gridded(list);
  const RECT cell = CellRect(list, 2, 0);
  EXPECT_NE(gridded.At(cell.left + 20, cell.bottom - 1), kEven) << "a line under the row";
  EXPECT_NE(gridded.At(cell.right - 1, cell.top + 3), kEven) << "a line at the column's edge";
}

TEST(ResultList, CellTextsOfAnyLengthComeBackWhole) {
  ListHost host;
  ASSERT_TRUE(host.created());
  ResultList& list = host.list;
  list.AddColumn("Key", 200);
  list.AddColumn("Data", 200);
  for (const std::size_t length : {254u, 255u, 256u, 257u, 511u, 512u, 5000u}) {
    std::string text(length, 'k');
    text.back() = 'z';
    const int row = list.AppendRow({"x", text});
    EXPECT_EQ(list.CellText(row, 1), text) << "a cell of " << length << " characters";
  }
  const std::string longer(3000, 'q');
  EXPECT_TRUE(list.SetCellText(0, 0, longer)) << "a cell can be set";
  EXPECT_EQ(list.CellText(0, 0), longer) << "and reads back whole";
  EXPECT_EQ(list.AppendRow({"only", "two", "three"}), 7) << "cells beyond the columns are dropped";
  EXPECT_EQ(list.ColumnTitle(1), "Data") << "a column's title";
}

TEST(ResultList, RowsOwnTheirValuesUntilTheyAreDeletedHoweverThatHappens) {
  auto tracker = std::make_shared<int>(0);
  {
    ListHost host;
    ASSERT_TRUE(host.created());
    ResultList& list = host.list;
    list.AddColumn("A", 100);
    for (int i = 0; i < 4; ++i) list.AppendRow({"row"}, tracker);
    EXPECT_EQ(tracker.use_count(), 5) << "each row holds a copy";
    EXPECT_TRUE(list.DeleteRow(1)) << "a row is deleted";
    EXPECT_EQ(tracker.use_count(), 4) << "and its copy freed";
    SendMessageA(list.window(), LVM_DELETEITEM, 0, 0);
    EXPECT_EQ(tracker.use_count(), 3) << "also when the list view is told directly";
    EXPECT_FALSE(list.DeleteRow(99)) << "a row that is not there";
    EXPECT_EQ(tracker.use_count(), 3) << "frees nothing";
    list.DeleteAllRows();
    EXPECT_EQ(tracker.use_count(), 1) << "deleting every row frees every copy";
    for (int i = 0; i < 3; ++i) list.AppendRow({"row"}, tracker);
    EXPECT_EQ(tracker.use_count(), 4) << "new rows hold copies again";
  }
  EXPECT_EQ(tracker.use_count(), 1) << "the list's window going frees the rest";

  ListHost host;
  ASSERT_TRUE(host.created());
  host.list.AddColumn("A", 100);
  host.list.AppendRow({"row"}, tracker);
  host.list.Detach();
  EXPECT_EQ(tracker.use_count(), 1) << "letting go of the window frees the values too";
  EXPECT_EQ(SendMessageA(GetDlgItem(host.window(), kListId), LVM_GETITEMCOUNT, 0, 0), 1)
      << "while the row itself stays";
}

TEST(ResultList, AClickInATickBoxFlipsItExactlyOnceAndAClickElsewhereSelects) {
  ListHost host;
  ASSERT_TRUE(host.created());
  host.Show();
  ResultList& list = host.list;
  list.AddColumn("Root", 150);
  list.AddColumn("Key", 200);
  for (int i = 0; i < 3; ++i) list.AppendRow({"HKEY_CURRENT_USER", "Software"}, {}, true);

  const RECT box = list.TickBoxRect(1);
  ASSERT_GT(box.right, box.left) << "a list with tick boxes has a box per row";
  LVHITTESTINFO hit = {};
  hit.pt = Centre(box);
  SendMessageA(list.window(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  EXPECT_EQ(hit.iItem, 1) << "the list view finds the row at the box";
  EXPECT_TRUE(hit.flags & LVHT_ONITEMSTATEICON) << "and places its state image where it is drawn";

  Click(list.window(), Centre(box));
  EXPECT_FALSE(list.IsTicked(1)) << "one click unticks";
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{1}) << "and selects the row";
  Click(list.window(), Centre(box));
  EXPECT_TRUE(list.IsTicked(1)) << "the next click ticks again";

  const LPARAM at = MAKELPARAM(Centre(box).x, Centre(box).y);
  SendMessageA(list.window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(list.window(), WM_LBUTTONUP, 0, at);
  SendMessageA(list.window(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(list.window(), WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(list.IsTicked(1)) << "a double click is two flips";

  const RECT text = CellRect(list, 2, 1);
  Click(list.window(), Centre(text));
  EXPECT_TRUE(list.IsTicked(2)) << "a click on the text leaves the tick";
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{2}) << "and selects its row";
  EXPECT_TRUE(list.IsTicked(0)) << "other rows keep their ticks";
}

TEST(ResultList, SpaceFlipsEverySelectedRowOnceAndTheBulkCommandsTickAsTold) {
  ListHost host;
  ASSERT_TRUE(host.created());
  host.Show();
  ResultList& list = host.list;
  list.AddColumn("A", 150);
  for (int i = 0; i < 4; ++i) list.AppendRow({"row " + std::to_string(i)}, {}, i != 3);
  list.SelectOnly(0);
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageA(list.window(), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&item));
  SetFocus(list.window());

  SendMessageA(list.window(), WM_KEYDOWN, VK_SPACE, 0x00390001);
  SendMessageA(list.window(), WM_CHAR, ' ', 0x00390001);
  SendMessageA(list.window(), WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_FALSE(list.IsTicked(0)) << "the first selected row flipped";
  EXPECT_TRUE(list.IsTicked(1)) << "an unselected row did not";
  EXPECT_FALSE(list.IsTicked(2)) << "the second selected row flipped";
  EXPECT_FALSE(list.IsTicked(3)) << "the unticked unselected row stayed";

  list.TickAll(true);
  EXPECT_EQ(list.TickedCount(), 4) << "tick all";
  list.TickAll(false);
  EXPECT_EQ(list.TickedCount(), 0) << "tick none";
  list.SetTicked(1, true);
  list.InvertTicks();
  EXPECT_EQ(list.TickedCount(), 3) << "invert";
  EXPECT_FALSE(list.IsTicked(1)) << "the one ticked row is the one unticked";
}

TEST(ResultList, SortsPercentsByNumberRightAlignedColumnsByValueAndTextByteForByte) {
  ListHost host;
  ASSERT_TRUE(host.created());
  ResultList& list = host.list;
  list.AddColumn("Name", 100);
  list.AddColumn("Size", 80, true);
  list.AddColumn("Share", 120);
  list.AppendRow({"b", "10", "{PERCENT:5}z"}, 0);
  list.AppendRow({"a", "9", "{PERCENT:100}m"}, 1);
  list.AppendRow({"C", "100.5", "{PERCENT:40}a"}, 2);

  list.SortByColumn(0, SortOrder::kAscending);
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"C", "a", "b"}))
      << "text sorts byte by byte, capitals first";
  EXPECT_EQ(*list.RowData<int>(0), 2) << "a row's value moves with it";
  list.SortByColumn(1, SortOrder::kAscending);
  EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"9", "10", "100.5"}))
      << "a right-aligned column sorts by number";
  list.SortByColumn(1, SortOrder::kDescending);
  EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"100.5", "10", "9"})) << "and backwards";
  list.SortByColumn(2, SortOrder::kAscending);
  EXPECT_EQ(Column(list, 2),
            (std::vector<std::string>{"{PERCENT:5}z", "{PERCENT:40}a", "{PERCENT:100}m"}))
      << "percent cells sort by their percentages, not their texts";
  EXPECT_EQ(*list.RowData<int>(2), 1) << "values still follow their rows";
}

TEST(ResultList, HeaderClicksOnAnyListAlternateOneSharedDirection) {
  ListHost first;
  ListHost second;
  ASSERT_TRUE(first.created());
  ASSERT_TRUE(second.created());
  for (ResultList* list : {&first.list, &second.list}) {
    list->AddColumn("One", 100);
    list->AddColumn("Two", 100);
    list->AppendRow({"b", "y"});
    list->AppendRow({"a", "z"});
    list->AppendRow({"c", "x"});
  }
  first.Show();
  second.Show();
  const auto clickHeader = [](ResultList& list, int column) {
    const HWND header = reinterpret_cast<HWND>(SendMessageA(list.window(), LVM_GETHEADER, 0, 0));
    RECT rect = {};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&rect));
    Click(header, Centre(rect));
  };
  const bool ascendingFirst = ResultList::NextHeaderSortOrder() == SortOrder::kAscending;
  const std::vector<std::string> up1 = {"a", "b", "c"};
  const std::vector<std::string> down1 = {"c", "b", "a"};
  const std::vector<std::string> up2 = {"x", "y", "z"};
  const std::vector<std::string> down2 = {"z", "y", "x"};

  clickHeader(first.list, 0);
  EXPECT_EQ(Column(first.list, 0), ascendingFirst ? up1 : down1)
      << "a header click sorts in the shared direction";
  clickHeader(second.list, 1);
  EXPECT_EQ(Column(second.list, 1), ascendingFirst ? down2 : up2)
      << "the next click, on another list and column, sorts the other way";
  clickHeader(first.list, 0);
  EXPECT_EQ(Column(first.list, 0), ascendingFirst ? up1 : down1)
      << "and the third the first way again";
  EXPECT_EQ(ResultList::NextHeaderSortOrder() == SortOrder::kAscending, !ascendingFirst)
      << "three clicks leave the direction turned round";
}

TEST(ResultList, ThousandsOfRowsSortReadingEachRowOnceAndSearchingForNone) {
  ListHost host;
  ASSERT_TRUE(host.created());
  ResultList& list = host.list;
  list.AddColumn("Key", 200);
  list.AddColumn("Count", 80, true);
  constexpr int kRows = 4000;
  for (int i = 0; i < kRows; ++i) {
    const int scrambled = (i * 7919) % kRows;
    list.AppendRow({"key" + std::to_string(scrambled), std::to_string(scrambled)});
  }
  MessageCounter counter(list.window());
  list.SortByColumn(1, SortOrder::kAscending);
  EXPECT_EQ(counter.sorts, 1) << "one LVM_SORTITEMS, which hands out the rows' own values";
  EXPECT_EQ(counter.sortsEx, 0)
      << "no LVM_SORTITEMSEX: under Wine its indices do not name the rows compared";
  EXPECT_EQ(counter.finds, 0) << "no row is searched for by its data";
  EXPECT_EQ(counter.textReads, kRows) << "each row's cell is read once, not per comparison";
  bool ordered = true;
  for (int row = 0; row < kRows && ordered; ++row)
    ordered = list.CellText(row, 1) == std::to_string(row);
  EXPECT_TRUE(ordered) << "every row in numeric order";
}

TEST(ResultList, AFilledListLooksRight) {
  GdiplusScope gdiplus;
  UseRepositoryLanguage();
  ListHost host(true, 720, 260);
  ASSERT_TRUE(host.created());
  ResultList& list = host.list;
  ScopedImageList icons(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0));
  ImageList_AddIcon(icons.Get(), LoadIconA(nullptr, IDI_WARNING));
  ImageList_AddIcon(icons.Get(), LoadIconA(nullptr, IDI_INFORMATION));
  list.SetImageList(std::move(icons));
  list.SetGridLines(kColumnLines);
  list.AddColumn("Root key", 150);
  list.AddColumn("Key", 250);
  list.AddColumn("Value name", 110);
  list.AddColumn("Value data", 190);
  const char* keys[] = {"Software\\Vendor\\Old Program", "Software\\Classes\\CLSID\\{0000-1111}",
                        "{PERCENT:5000}Software\\Forged",
                        "Software\\Microsoft\\Windows\\"
                        "CurrentVersion\\Uninstall\\A very long uninstall entry name"};
  for (int i = 0; i < 4; ++i) {
    ScanIssue issue;
    issue.root = i % 2 == 0 ? kCurrentUser : kLocalMachine;
    issue.key = keys[i];
    issue.valueName = i == 1 ? "" : "InstallPath";
    issue.data = "C:\\Program Files\\Gone\\program.exe";
    AppendIssueRow(list, issue, i % 2);
  }
  list.SetTicked(1, false);
  list.AppendRow({"{ICON:1}Progress", "{PERCENT:40}", "{TEXTCOLOR:200,0,0}red text",
                  "{BKCOLOR:255,255,0}yellow"});
  list.SelectOnly(2);
  host.Show();
  SetFocus(list.window());
  EXPECT_TRUE(SaveScreenshot(host.window(), ShotPath("result_list.png")))
      << "the screenshot was written";
}
