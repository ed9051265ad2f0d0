#include "ui/registry_editor_jump.h"

#include <vector>

#include "foundation/case_map.h"
#include "foundation/scoped_handle.h"
#include "foundation/text_split.h"
#include "repair/registry_editor.h"

namespace kelvane {

namespace {

constexpr const char* kEditorClass = "regedit_regedit";
constexpr const char* kTreeClass = "SysTreeView32";
constexpr const char* kListClass = "SysListView32";

// The wait cursor while it lives; the one before it afterwards.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

struct ClassSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<ClassSearch*>(parameter);
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// Types `text` into `window` one character at a time.
bool Type(EditorSession& session, HWND window, const std::string& text) {
  for (const char c : text)
    if (!session.Send(window, WM_CHAR, static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

bool SystemEditorSession::Start() {
  const std::string editor = RegistryEditorPath();
  std::vector<char> commandLine;  // CreateProcessA may write into it
  const std::string quoted = "\"" + editor + "\"";
  commandLine.assign(quoted.begin(), quoted.end());
  commandLine.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(editor.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return false;
  // The program does not wait for the editor.
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

HWND SystemEditorSession::FindMainWindow() {
  ClassSearch search{kEditorClass, nullptr};
  EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND SystemEditorSession::FindChild(HWND parent, const char* className) {
  ClassSearch search{className, nullptr};
  EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void SystemEditorSession::BringToTop(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

bool SystemEditorSession::Send(HWND window, UINT message, WPARAM wParam) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             kEditorSendTimeoutMs, &answer) != 0;
}

void SystemEditorSession::Pause(DWORD milliseconds) { Sleep(milliseconds); }

std::string RegistryEditorKeyPath(RootKey root, const std::string& key) {
  std::string path = RootKeyName(root) + "\\" + key;
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

bool OpenInRegistryEditor(const std::string& keyPath, const std::string& valueName,
                          EditorSession& session) {
  const WaitCursor cursor;
  if (!session.Start()) return false;

  HWND editor = nullptr;
  for (int attempt = 0; attempt < kEditorWindowAttempts && editor == nullptr; ++attempt) {
    editor = session.FindMainWindow();
    session.Pause(kEditorWindowPauseMs);
  }
  if (editor == nullptr) return false;
  session.BringToTop(editor);
  const HWND tree = session.FindChild(editor, kTreeClass);
  if (tree == nullptr) return false;
  const HWND list = session.FindChild(editor, kListClass);
  if (list == nullptr) return false;

  if (!session.Send(tree, WM_SETFOCUS, 0)) return false;
  session.Pause(kEditorFocusPauseMs);
  if (!session.Send(tree, WM_KEYDOWN, VK_HOME)) return false;
  session.Pause(kEditorFocusPauseMs);
  for (const std::string& part : SplitText(keyPath, {"\\"}, true)) {
    if (!session.Send(tree, WM_KEYDOWN, VK_RIGHT)) return false;
    session.Pause(kEditorOpenNodePauseMs);
    if (!Type(session, tree, ToUpperText(part))) return false;
  }
  session.Pause(kEditorTreeToListPauseMs);

  if (!session.Send(list, WM_SETFOCUS, 0)) return false;
  session.Pause(kEditorFocusPauseMs);
  if (!session.Send(list, WM_KEYDOWN, VK_HOME)) return false;
  return Type(session, list, ToUpperText(valueName));
}

bool OpenInRegistryEditor(const std::string& keyPath, const std::string& valueName) {
  SystemEditorSession session;
  return OpenInRegistryEditor(keyPath, valueName, session);
}

}  // namespace kelvane
