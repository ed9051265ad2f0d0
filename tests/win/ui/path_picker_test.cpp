// The registry path picker: the tree reads a key's subkeys only when it is
// opened, ticks carry down to every key below and up to the parents in
// three states, and what is collected is the topmost ticked keys. OK wants a
// tick or a text that is more than blanks.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/version_info.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "support/registry_sandbox.h"
#include "ui/controls/registry_key_tree.h"
#include "ui/dialogs/path_picker_dialog.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

using Paths = std::vector<std::string>;

// HKCU\Software with A (holding A1 and A2) and B (no subkeys); HKCU\Environment
// beside it.
class PathPickerTest : public ::testing::Test {
 protected:
  PathPickerTest() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    for (const char* key : {"Software\\A\\A1", "Software\\A\\A2", "Software\\B", "Environment"})
      CreateKey(kCurrentUser, key);
  }
  void Open() {
    dialog_ = std::make_unique<PathPickerDialog>();
    ASSERT_NE(dialog_->Create(nullptr), nullptr);
  }
  RegistryKeyTree& tree() { return dialog_->tree(); }
  // Opens `item` as the user does: selected, then the right arrow key.
  void Expand(HTREEITEM item) {
    TreeView_SelectItem(tree().window(), item);
    SendMessageA(tree().window(), WM_KEYDOWN, VK_RIGHT, 1);
  }
  // The item at the end of `names`, opening each one on the way.
  HTREEITEM Find(const std::vector<std::string>& names) {
    HTREEITEM item = TVI_ROOT;
    for (std::size_t i = 0; i < names.size(); ++i) {
      item = tree().FindChild(item, names[i]);
      if (item == nullptr) return nullptr;
      if (i + 1 < names.size()) Expand(item);
    }
    return item;
  }
  std::vector<std::string> Children(HTREEITEM item) {
    std::vector<std::string> names;
    for (HTREEITEM child = tree().FirstChild(item); child != nullptr;
         child = tree().NextSibling(child))
      names.push_back(tree().TextOf(child));
    return names;
  }
  // A left click on the item's tick box, found with the tree's own hit test.
  bool ClickTick(HTREEITEM item) {
    RECT text = {};
    *reinterpret_cast<HTREEITEM*>(&text) = item;
    if (!SendMessageA(tree().window(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)))
      return false;
    const int y = (text.top + text.bottom) / 2;
    for (int x = text.left - 1; x >= 0; --x) {
      TVHITTESTINFO hit = {};
      hit.pt = {x, y};
      SendMessageA(tree().window(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.hItem != item || !(hit.flags & TVHT_ONITEMSTATEICON)) continue;
      // The tree follows a pressed button until it is let go: the release
      // waits in the queue.
      PostMessageA(tree().window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
      SendMessageA(tree().window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
      MSG message;
      while (PeekMessageA(&message, tree().window(), 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      return true;
    }
    return false;
  }

  RegistrySandbox sandbox_;
  ModalDriver watchdog_{[](ModalDriver&) {}};  // ends the test should a window hang
  std::unique_ptr<PathPickerDialog> dialog_;
};

}  // namespace

TEST_F(PathPickerTest, TheTreeIsReadOneLevelAtATimeAsKeysAreOpened) {
  Open();
  EXPECT_EQ(Children(TVI_ROOT), (Paths{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                       "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG"}));
  const HTREEITEM user = tree().FindChild(TVI_ROOT, "HKEY_CURRENT_USER");
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(Children(user), (Paths{kTreePlaceholderText})) << "not read before it is opened";
  EXPECT_EQ(tree().PathOf(tree().FirstChild(user)), nullptr) << "the placeholder has no path";
  CreateKey(kCurrentUser, "Software\\C");  // made after the tree was shown
  const HTREEITEM software = Find({"HKEY_CURRENT_USER", "Software"});
  ASSERT_NE(software, nullptr);
  Expand(software);
  EXPECT_EQ(Children(software), (Paths{"A", "B", "C"})) << "read when opened";
  const HTREEITEM a = tree().FindChild(software, "A");
  EXPECT_EQ(*tree().PathOf(a), "HKEY_CURRENT_USER\\Software\\A");
  EXPECT_EQ(Children(a), (Paths{kTreePlaceholderText}));
  EXPECT_TRUE(Children(tree().FindChild(software, "B")).empty()) << "no subkeys: no button";
}

TEST_F(PathPickerTest, AKeyNameHoldingTheRecordSeparatorIsLeftOut) {
  CreateKey(kCurrentUser, "Software\\Odd\t\t\tName");
  CreateKey(kCurrentUser, "Software\\Tab\t");
  Open();
  const HTREEITEM software = Find({"HKEY_CURRENT_USER", "Software"});
  ASSERT_NE(software, nullptr);
  Expand(software);
  EXPECT_EQ(Children(software), (Paths{"A", "B", "Tab\t"}));
  EXPECT_EQ(*tree().PathOf(tree().FindChild(software, "Tab\t")),
            "HKEY_CURRENT_USER\\Software\\Tab\t")
      << "a name ending in a tab keeps its own path";
}

TEST_F(PathPickerTest, TicksCarryDownAndUpInThreeStates) {
  Open();
  const HTREEITEM user = tree().FindChild(TVI_ROOT, "HKEY_CURRENT_USER");
  const HTREEITEM software = Find({"HKEY_CURRENT_USER", "Software"});
  ASSERT_NE(software, nullptr);
  Expand(software);
  const HTREEITEM a = tree().FindChild(software, "A");
  const HTREEITEM b = tree().FindChild(software, "B");
  struct Step {
    HTREEITEM item;
    int a, b, software, user;
    Paths collected;
  };
  const Step steps[] = {
      {a, kTicked, kUnticked, kPartlyTicked, kPartlyTicked, {"HKEY_CURRENT_USER\\Software\\A"}},
      {b, kTicked, kTicked, kTicked, kPartlyTicked, {"HKEY_CURRENT_USER\\Software"}},
      {a, kUnticked, kTicked, kPartlyTicked, kPartlyTicked, {"HKEY_CURRENT_USER\\Software\\B"}},
      {software, kTicked, kTicked, kTicked, kPartlyTicked, {"HKEY_CURRENT_USER\\Software"}},
      {user, kTicked, kTicked, kTicked, kTicked, {"HKEY_CURRENT_USER"}},  // partly -> ticked
      {user, kUnticked, kUnticked, kUnticked, kUnticked, {}},
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(ClickTick(step.item)) << tree().TextOf(step.item);
    EXPECT_EQ(tree().TickOf(a), step.a) << "after " << tree().TextOf(step.item);
    EXPECT_EQ(tree().TickOf(b), step.b);
    EXPECT_EQ(tree().TickOf(software), step.software);
    EXPECT_EQ(tree().TickOf(user), step.user);
    EXPECT_EQ(tree().CollectTicked(), step.collected);
  }
  EXPECT_EQ(tree().TickOf(tree().FindChild(TVI_ROOT, "HKEY_LOCAL_MACHINE")), kUnticked)
      << "the other roots stay as they were";
}

TEST_F(PathPickerTest, KeysOpenedBelowATickedKeyAreTickedAndOnlyTheTopOneIsCollected) {
  Open();
  const HTREEITEM software = Find({"HKEY_CURRENT_USER", "Software"});
  ASSERT_NE(software, nullptr);
  TreeView_SelectItem(tree().window(), software);
  SendMessageA(tree().window(), WM_KEYDOWN, VK_SPACE, 1);  // the keyboard's tick
  EXPECT_EQ(tree().TickOf(software), kTicked);
  Expand(software);
  const HTREEITEM a = tree().FindChild(software, "A");
  EXPECT_EQ(tree().TickOf(a), kTicked);
  EXPECT_EQ(tree().TickOf(tree().FindChild(software, "B")), kTicked);
  Expand(a);
  EXPECT_EQ(tree().TickOf(tree().FindChild(a, "A2")), kTicked);
  EXPECT_EQ(tree().CollectTicked(), (Paths{"HKEY_CURRENT_USER\\Software"}));
  ASSERT_TRUE(ClickTick(tree().FindChild(a, "A2")));
  EXPECT_EQ(tree().CollectTicked(),
            (Paths{"HKEY_CURRENT_USER\\Software\\A\\A1", "HKEY_CURRENT_USER\\Software\\B"}));
}

TEST_F(PathPickerTest, OkWantsATickOrATextThatIsMoreThanBlanks) {
  const struct {
    int radio;
    const char* typed;
    const char* told;  // the message, or nullptr when the dialog closes
  } attempts[] = {{IDC_PICKER_BY_TREE, "", "L0114"},
                  {IDC_PICKER_BY_TEXT, "", "L0115"},
                  {IDC_PICKER_BY_TEXT, "  *\\Software\\Vendor*  ", nullptr}};
  std::string told;
  ModalDriver driver([&](ModalDriver& d) {
    const HWND dialog = d.WaitForWindow("#32770", LanguageText("L0109"));
    if (dialog == nullptr) return;
    for (const auto& attempt : attempts) {
      CheckRadioButton(dialog, IDC_PICKER_BY_TREE, IDC_PICKER_BY_TEXT, attempt.radio);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(attempt.radio, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, attempt.radio)));
      SetDlgItemTextA(dialog, IDC_PICKER_TEXT, attempt.typed);
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      if (attempt.told == nullptr) return;
      const HWND box = d.WaitForWindow("#32770", ProgramProductName());
      if (box == nullptr) return;
      told += BoxText(box) + "|";
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      d.WaitUntilGone(box);
      if (!IsWindowVisible(dialog)) d.Problem(std::string("closed after ") + attempt.told);
    }
  });
  Paths picked;
  EXPECT_TRUE(PickRegistryPaths(nullptr, picked));
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(told, LanguageText("L0114") + "|" + LanguageText("L0115") + "|");
  EXPECT_EQ(picked, (Paths{"*\\Software\\Vendor*"})) << "the text without the blanks around it";
}
