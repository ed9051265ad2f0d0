// The registry editor jump: what it types into the editor's key tree and
// value list, its bounded search for the editor, its failures with the
// cursor put back, and the real editor's window names under Wine.
#include <gtest/gtest.h>

#include <string>

#include "ui/registry_editor_jump.h"

using namespace kelvane;

namespace {

// Windows the fake editor pretends to have; never real windows.
const HWND kEditor = reinterpret_cast<HWND>(0x1000);
const HWND kTree = reinterpret_cast<HWND>(0x2000);

// Records the jump as a line: "start find p300 top tree:focus ... tree:'APP".
class FakeEditor : public EditorSession {
 public:
  bool starts = true;
  int foundAtLook = 1;  // 0: never
  bool hasList = true;
  int failingSend = 0;  // the n-th send fails; 0: none does
  std::string events;
  HCURSOR cursorAtStart = nullptr;

  bool Start() override {
    cursorAtStart = GetCursor();
    events += "start";
    return starts;
  }
  HWND FindMainWindow() override {
    events += " find";
    return foundAtLook != 0 && ++looks_ >= foundAtLook ? kEditor : nullptr;
  }
  HWND FindChild(HWND parent, const char* name) override {
    if (parent != kEditor) return nullptr;
    if (std::string(name) == "SysListView32") return hasList ? kEditor : nullptr;
    return std::string(name) == "SysTreeView32" ? kTree : nullptr;
  }
  void BringToTop(HWND) override { events += " top"; }
  bool Send(HWND window, UINT message, WPARAM wParam) override {
    if (++sends_ == failingSend) return false;
    const std::string target = window == kTree ? " tree:" : " list:";
    if (message == WM_CHAR && typing_ == target)
      events += static_cast<char>(wParam);
    else if (message == WM_CHAR)
      events += target + "'" + static_cast<char>(wParam);
    else
      events += target + (message == WM_SETFOCUS ? "focus" : wParam == VK_HOME ? "home" : "right");
    typing_ = message == WM_CHAR ? target : "";
    return true;
  }
  void Pause(DWORD ms) override { events += " p" + std::to_string(ms); }

 private:
  int looks_ = 0;
  int sends_ = 0;
  std::string typing_;
};

}  // namespace

TEST(RegistryEditorJump, TypesEachPartOfTheKeyIntoTheTreeAndTheValueIntoTheList) {
  FakeEditor editor;
  EXPECT_TRUE(OpenInRegistryEditor("HKEY_CURRENT_USER\\\\Software\\App\\", "Path x", editor));
  EXPECT_EQ(editor.events,
            "start find p300 top tree:focus p300 tree:home p300 tree:right p500 "
            "tree:'HKEY_CURRENT_USER tree:right p500 tree:'SOFTWARE tree:right p500 tree:'APP "
            "p1000 list:focus p300 list:home list:'PATH X")
      << "empty parts skipped, upper case, the pauses in place";
}

TEST(RegistryEditorJump, LooksForTheEditorTenTimesAtMostAndEveryFailurePutsTheCursorBack) {
  const HCURSOR before = LoadCursorA(nullptr, IDC_CROSS);
  SetCursor(before);
  FakeEditor late;
  late.foundAtLook = 3;
  EXPECT_TRUE(OpenInRegistryEditor("HKEY_USERS", "", late));
  EXPECT_EQ(late.events.substr(0, 42), "start find p300 find p300 find p300 top tr");
  EXPECT_EQ(late.cursorAtStart, LoadCursorA(nullptr, IDC_WAIT)) << "a wait cursor meanwhile";

  FakeEditor never;
  never.foundAtLook = 0;
  FakeEditor unstartable;
  unstartable.starts = false;
  FakeEditor listless;
  listless.hasList = false;
  FakeEditor hung;
  hung.failingSend = 2;
  for (FakeEditor* editor : {&never, &unstartable, &listless, &hung}) {
    EXPECT_FALSE(OpenInRegistryEditor("HKEY_USERS\\S-1", "v", *editor)) << editor->events;
    EXPECT_EQ(GetCursor(), before) << "the cursor is back after " << editor->events;
  }
  std::string tenLooks = "start";
  for (int i = 0; i < 10; ++i) tenLooks += " find p300";
  EXPECT_EQ(never.events, tenLooks) << "ten looks, then nothing is sent";
  EXPECT_EQ(unstartable.events, "start");
  EXPECT_EQ(listless.events, "start find p300 top") << "nothing is sent without the list";
  EXPECT_EQ(hung.events, "start find p300 top tree:focus p300") << "a hung editor ends it";
}

TEST(RegistryEditorJump, TheRealEditorsWindowsAreFoundUnderWine) {
  SystemEditorSession session;
  EXPECT_TRUE(OpenInRegistryEditor("HKEY_CURRENT_USER\\Software", "", session));
  const HWND editor = session.FindMainWindow();
  ASSERT_NE(editor, nullptr);
  EXPECT_NE(session.FindChild(editor, "SysTreeView32"), nullptr);
  PostMessageA(editor, WM_CLOSE, 0, 0);
}
