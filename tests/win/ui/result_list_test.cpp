// The result list: registry text shown literally, ticks flipped once, row
// values freed, long cells whole, sorting.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/result_list.h"

using namespace kelvane;

namespace {

// A shown top-level window holding one list with tick boxes.
class ListHost {
 public:
  ListHost() {
    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    created_ = list.Create(window_, 1, RECT{0, 0, 400, 200}, true);
    list.AddColumn("A", 150);
    list.AddColumn("B", 150, true);
  }
  ~ListHost() { DestroyWindow(window_); }

  bool created_ = false;
  ResultList list;

 private:
  HWND window_ = nullptr;
};

std::vector<std::string> Column(const ResultList& list, int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < list.RowCount(); ++row) texts.push_back(list.CellText(row, column));
  return texts;
}

void Click(HWND window, POINT at, UINT down = WM_LBUTTONDOWN) {
  SendMessageA(window, down, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

}  // namespace

TEST(ResultList, RegistryTextThatLooksLikeMarkupIsShownLiterally) {
  ListHost host;
  ASSERT_TRUE(host.created_);
  host.list.AddColumn("C", 100);
  host.list.AddColumn("D", 100);
  host.list.AppendRow({"x", "{PERCENT:40}"});
  ScanIssue forged;
  forged.key = "{PERCENT:5000}Software";
  forged.valueName = "{TEXTCOLOR:1,2,3}name";
  AppendIssueRow(host.list, forged);
  EXPECT_EQ(host.list.LookOfCell(0, 1).percent, 40) << "the program's own tags are read";
  const CellLook key = host.list.LookOfCell(1, 1);
  EXPECT_EQ(key.text, forged.key);
  EXPECT_EQ(key.percent, -1) << "a forged tag draws no bar";
  EXPECT_EQ(host.list.LookOfCell(1, 2).text, forged.valueName);
  EXPECT_EQ(host.list.RowData<int>(1), nullptr) << "its issue is not handed out as another type";
}

TEST(ResultList, AClickOnATickBoxOrSpaceOnTheSelectionFlipsEachTickOnce) {
  ListHost host;
  ASSERT_TRUE(host.created_);
  ResultList& list = host.list;
  for (int i = 0; i < 3; ++i) list.AppendRow({"row", "1"}, {}, true);
  const RECT box = list.TickBoxRect(1);
  const POINT centre = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  Click(list.window(), centre);
  EXPECT_FALSE(list.IsTicked(1)) << "one click unticks";
  Click(list.window(), centre);
  Click(list.window(), centre, WM_LBUTTONDBLCLK);
  EXPECT_FALSE(list.IsTicked(1)) << "a click and a double click are three flips";
  EXPECT_TRUE(list.IsTicked(0)) << "other rows keep their ticks";

  list.SelectOnly(0);
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageA(list.window(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
  SetFocus(list.window());
  SendMessageA(list.window(), WM_KEYDOWN, VK_SPACE, 0x00390001);
  SendMessageA(list.window(), WM_CHAR, ' ', 0x00390001);
  SendMessageA(list.window(), WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_FALSE(list.IsTicked(0)) << "Space flipped the first selected row";
  EXPECT_TRUE(list.IsTicked(1)) << "and the second one, once";
  EXPECT_TRUE(list.IsTicked(2)) << "but not an unselected row";
}

TEST(ResultList, RowsFreeTheirValuesHoweverTheyGoAndLongCellsComeBackWhole) {
  auto tracker = std::make_shared<int>(0);
  {
    ListHost host;
    ASSERT_TRUE(host.created_);
    for (int i = 0; i < 3; ++i) host.list.AppendRow({"row"}, tracker);
    EXPECT_TRUE(host.list.DeleteRow(1));
    EXPECT_EQ(tracker.use_count(), 3) << "a deleted row frees its copy";
    SendMessageA(host.list.window(), LVM_DELETEITEM, 0, 0);
    EXPECT_EQ(tracker.use_count(), 2) << "also when the list view is told directly";
    const std::string text = std::string(5000, 'k') + "z";
    host.list.SetCellText(0, 1, text);
    EXPECT_EQ(host.list.CellText(0, 1), text) << "beyond the list view's 260 characters";
  }
  EXPECT_EQ(tracker.use_count(), 1) << "the list's window going frees the rest";
}

TEST(ResultList, SortsPercentsAndNumbersByValueAndValuesFollowTheirRows) {
  ListHost host;
  ASSERT_TRUE(host.created_);
  ResultList& list = host.list;
  list.AppendRow({"{PERCENT:5}z", "10"}, 0);
  list.AppendRow({"{PERCENT:100}m", "9"}, 1);
  list.AppendRow({"{PERCENT:40}a", "100.5"}, 2);
  list.SortByColumn(0, SortOrder::kAscending);
  EXPECT_EQ(*list.RowData<int>(2), 1) << "by percent, and a row's value moves with it";
  list.SortByColumn(1, SortOrder::kDescending);
  EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"100.5", "10", "9"}))
      << "a right-aligned column sorts by number";
}

TEST(ResultList, HeaderClicksShareOneDirectionThatTurnsAtEveryClick) {
  ListHost first;
  ListHost second;
  ASSERT_TRUE(first.created_ && second.created_);
  for (ResultList* list : {&first.list, &second.list})
    for (const char* text : {"b", "c", "a"}) list->AppendRow({text});
  const SortOrder start = ResultList::NextHeaderSortOrder();
  const std::vector<std::string> up = {"a", "b", "c"};
  const std::vector<std::string> down = {"c", "b", "a"};
  first.list.SortByHeaderClick(0);
  EXPECT_EQ(Column(first.list, 0), start == SortOrder::kAscending ? up : down);
  second.list.SortByHeaderClick(0);
  EXPECT_EQ(Column(second.list, 0), start == SortOrder::kAscending ? down : up)
      << "a click on another list sorts the other way";
  EXPECT_EQ(ResultList::NextHeaderSortOrder(), start);
}
