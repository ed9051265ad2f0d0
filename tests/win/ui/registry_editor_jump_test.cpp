// The registry editor jump: the messages and pauses it sends to the editor's
// key tree and value list, its failures, the wait cursor put back on every
// way out, and one run against the real editor under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/registry_editor_jump.h"

using namespace kelvane;

namespace {

// Windows the fake editor pretends to have; never real windows.
const HWND kEditor = reinterpret_cast<HWND>(0x1000);
const HWND kTree = reinterpret_cast<HWND>(0x2000);
const HWND kList = reinterpret_cast<HWND>(0x3000);

// Records what the jump does as lines: "tree:HOME", "pause 300",
// "tree:type HKEY_CURRENT_USER" (consecutive characters are joined).
class FakeEditor : public EditorSession {
 public:
  bool starts = true;
  int foundAtAttempt = 1;  // 0: never
  bool hasTree = true;
  bool hasList = true;
  int failSendNumber = 0;  // the n-th send fails; 0: none does
  std::vector<std::string> events;
  HCURSOR cursorAtStart = nullptr;

  bool Start() override {
    cursorAtStart = GetCursor();
    events.push_back("start");
    return starts;
  }
  HWND FindMainWindow() override {
    ++attempts_;
    events.push_back("find");
    return foundAtAttempt != 0 && attempts_ >= foundAtAttempt ? kEditor : nullptr;
  }
  HWND FindChild(HWND parent, const char* className) override {
    events.push_back(std::string("child ") + className);
    if (parent != kEditor) return nullptr;
    if (std::string(className) == "SysTreeView32") return hasTree ? kTree : nullptr;
    if (std::string(className) == "SysListView32") return hasList ? kList : nullptr;
    return nullptr;
  }
  void BringToTop(HWND window) override {
    events.push_back(window == kEditor ? "top" : "top of another window");
  }
  bool Send(HWND window, UINT message, WPARAM wParam) override {
    if (++sends_ == failSendNumber) {
      events.push_back("send failed");
      return false;
    }
    const std::string target = window == kTree ? "tree:" : window == kList ? "list:" : "other:";
    if (message == WM_CHAR) {
      const std::string typed = target + "type ";
      if (events.empty() || events.back().compare(0, typed.size(), typed) != 0)
        events.push_back(typed);
      events.back() += static_cast<char>(wParam);
    } else if (message == WM_SETFOCUS) {
      events.push_back(target + "focus");
    } else if (message == WM_KEYDOWN && wParam == VK_HOME) {
      events.push_back(target + "HOME");
    } else if (message == WM_KEYDOWN && wParam == VK_RIGHT) {
      events.push_back(target + "RIGHT");
    } else {
      events.push_back(target + "message " + std::to_string(message));
    }
    return true;
  }
  void Pause(DWORD milliseconds) override {
    events.push_back("pause " + std::to_string(milliseconds));
  }

 private:
  int attempts_ = 0;
  int sends_ = 0;
};

// Everything after the editor's window was found and raised.
std::vector<std::string> AfterTop(const std::vector<std::string>& events) {
  for (std::size_t i = 0; i < events.size(); ++i)
    if (events[i] == "top") return std::vector<std::string>(events.begin() + i + 1, events.end());
  return {};
}

// Ends an editor this test started: asked to close, then ended by its id.
void CloseEditor(HWND editor) {
  DWORD processId = 0;
  GetWindowThreadProcessId(editor, &processId);
  const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
  PostMessageA(editor, WM_CLOSE, 0, 0);
  if (process == nullptr) return;
  if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 0);
  CloseHandle(process);
}

}  // namespace

TEST(RegistryEditorJump, TypesEachPartOfTheKeyIntoTheTreeAndTheValueIntoTheList) {
  FakeEditor editor;
  EXPECT_TRUE(OpenInRegistryEditor("HKEY_CURRENT_USER\\Software\\App", "Install Path", editor))
      << "every step was done";
  const std::vector<std::string> expected = {
      "start",
      "find",
      "pause 300",
      "top",
      "child SysTreeView32",
      "child SysListView32",
      "tree:focus",
      "pause 300",
      "tree:HOME",
      "pause 300",
      "tree:RIGHT",
      "pause 500",
      "tree:type HKEY_CURRENT_USER",
      "tree:RIGHT",
      "pause 500",
      "tree:type SOFTWARE",
      "tree:RIGHT",
      "pause 500",
      "tree:type APP",
      "pause 1000",
      "list:focus",
      "pause 300",
      "list:HOME",
      "list:type INSTALL PATH",
  };
  EXPECT_EQ(editor.events, expected) << "the whole sequence, in order, with its pauses";
}

TEST(RegistryEditorJump, EmptyPartsAreSkippedAndAnEmptyValueNameTypesNothing) {
  FakeEditor doubled;
  EXPECT_TRUE(OpenInRegistryEditor("HKEY_CURRENT_USER\\\\Software\\App\\", "", doubled));
  const std::vector<std::string> expected = {
      "child SysTreeView32", "child SysListView32", "tree:focus",
      "pause 300",           "tree:HOME",           "pause 300",
      "tree:RIGHT",          "pause 500",           "tree:type HKEY_CURRENT_USER",
      "tree:RIGHT",          "pause 500",           "tree:type SOFTWARE",
      "tree:RIGHT",          "pause 500",           "tree:type APP",
      "pause 1000",          "list:focus",          "pause 300",
      "list:HOME",
  };
  EXPECT_EQ(AfterTop(doubled.events), expected)
      << "doubled and trailing backslashes give no empty parts; no value name, only Home";

  EXPECT_EQ(RegistryEditorKeyPath(kLocalMachine, "Software\\Vendor\\"),
            "HKEY_LOCAL_MACHINE\\Software\\Vendor")
      << "the key path loses its trailing backslash";
  EXPECT_EQ(RegistryEditorKeyPath(kCurrentUser, ""), "HKEY_CURRENT_USER")
      << "a root alone has none";
}

TEST(RegistryEditorJump, LooksForTheEditorTenTimesAndWaitsAfterEachLook) {
  FakeEditor late;
  late.foundAtAttempt = 3;
  EXPECT_TRUE(OpenInRegistryEditor("HKEY_USERS", "", late)) << "found at the third look";
  const std::vector<std::string> lookedLate = {"start",     "find", "pause 300", "find",
                                               "pause 300", "find", "pause 300", "top"};
  EXPECT_EQ(std::vector<std::string>(late.events.begin(), late.events.begin() + 8), lookedLate)
      << "each look is followed by its pause, the last one too";

  FakeEditor never;
  never.foundAtAttempt = 0;
  EXPECT_FALSE(OpenInRegistryEditor("HKEY_USERS", "", never)) << "no editor window";
  std::vector<std::string> lookedInVain = {"start"};
  for (int i = 0; i < 10; ++i) {
    lookedInVain.push_back("find");
    lookedInVain.push_back("pause 300");
  }
  EXPECT_EQ(never.events, lookedInVain) << "ten looks, then nothing is sent";
}

TEST(RegistryEditorJump, EveryFailureEndsTheSequenceAndPutsTheCursorBack) {
  const HCURSOR before = LoadCursorA(nullptr, IDC_CROSS);
  SetCursor(before);
  FakeEditor unstartable;
  unstartable.starts = false;
  EXPECT_FALSE(OpenInRegistryEditor("HKEY_USERS\\.DEFAULT", "x", unstartable))
      << "an editor that cannot start";
  EXPECT_EQ(unstartable.cursorAtStart, LoadCursorA(nullptr, IDC_WAIT))
      << "the wait cursor is shown while the editor starts";
  EXPECT_EQ(GetCursor(), before) << "and the one before it is back";
  EXPECT_EQ(unstartable.events, std::vector<std::string>{"start"}) << "nothing else happens";

  FakeEditor treeless;
  treeless.hasTree = false;
  EXPECT_FALSE(OpenInRegistryEditor("HKEY_USERS", "", treeless)) << "no key tree";
  EXPECT_EQ(treeless.events.back(), "child SysTreeView32") << "nothing is sent without it";
  EXPECT_EQ(GetCursor(), before) << "the cursor is back after a missing tree";

  FakeEditor listless;
  listless.hasList = false;
  EXPECT_FALSE(OpenInRegistryEditor("HKEY_USERS", "", listless)) << "no value list";
  EXPECT_EQ(listless.events.back(), "child SysListView32") << "nothing is sent without it";

  FakeEditor hung;
  hung.failSendNumber = 4;  // focus, Home, Right, then the first character
  EXPECT_FALSE(OpenInRegistryEditor("HKEY_USERS\\S-1", "value", hung))
      << "a message the editor did not take in time";
  EXPECT_EQ(hung.events.back(), "send failed") << "ends the sequence at once";
  EXPECT_EQ(GetCursor(), before) << "the cursor is back after a hung editor";
}

TEST(RegistryEditorJump, TheRealEditorOpensWithItsTreeAndListUnderWine) {
  SystemEditorSession session;
  EXPECT_TRUE(OpenInRegistryEditor("HKEY_CURRENT_USER\\Software", "", session))
      << "the editor started, its window, tree and list were found and typed into";
  const HWND editor = session.FindMainWindow();
  ASSERT_NE(editor, nullptr) << "the editor's window is there";
  EXPECT_NE(session.FindChild(editor, "SysTreeView32"), nullptr) << "with its key tree";
  EXPECT_NE(session.FindChild(editor, "SysListView32"), nullptr) << "and its value list";
  CloseEditor(editor);
}
