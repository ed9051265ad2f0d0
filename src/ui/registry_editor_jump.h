#pragma once
// Opening the system registry editor at a key, with a value selected: the
// editor has no other interface than its windows, so it is started and its
// key tree and value list are typed into as a user would.
//
// The sequence: start the editor by its full path; look for its main window
// (class "regedit_regedit") up to 10 times, 300 ms apart; bring it to the
// top; find its key tree ("SysTreeView32") and value list ("SysListView32");
// focus the tree, 300 ms, Home, 300 ms; for each part of the key path: Right
// (opens the selected node), 500 ms, then the part in upper case one WM_CHAR
// at a time (the tree's type-ahead selects the child); 1000 ms; focus the
// list, 300 ms, Home, then the value name in upper case. Every message goes
// out with a bounded SendMessageTimeout that gives up on a hung editor, and
// the wait cursor shown meanwhile is put back on every way out. Whether the
// editor really landed on the key is not checked (and under Wine it does not).
#include <windows.h>

#include <string>

#include "foundation/registry_path.h"

namespace kelvane {

constexpr int kEditorWindowAttempts = 10;
constexpr DWORD kEditorWindowPauseMs = 300;
constexpr DWORD kEditorFocusPauseMs = 300;
constexpr DWORD kEditorOpenNodePauseMs = 500;
constexpr DWORD kEditorTreeToListPauseMs = 1000;
constexpr DWORD kEditorSendTimeoutMs = 2000;

// The steps that reach outside the program, so that the sequence can be
// followed without a real editor.
class EditorSession {
 public:
  virtual ~EditorSession() = default;
  // Starts the editor; false when it could not be started.
  virtual bool Start() = 0;
  // The editor's main window, or nullptr when there is none (yet).
  virtual HWND FindMainWindow() = 0;
  // The first descendant of `parent` of class `className`, or nullptr.
  virtual HWND FindChild(HWND parent, const char* className) = 0;
  virtual void BringToTop(HWND window) = 0;
  // Sends `message` with `wParam` (lParam 0); false when it was not
  // delivered in time.
  virtual bool Send(HWND window, UINT message, WPARAM wParam) = 0;
  virtual void Pause(DWORD milliseconds) = 0;
};

// The real editor, <Windows folder>\regedit.exe, and its windows.
class SystemEditorSession : public EditorSession {
 public:
  bool Start() override;
  HWND FindMainWindow() override;
  HWND FindChild(HWND parent, const char* className) override;
  void BringToTop(HWND window) override;
  bool Send(HWND window, UINT message, WPARAM wParam) override;
  void Pause(DWORD milliseconds) override;
};

// The key path the editor is given: root name, a backslash, the key, without
// a trailing backslash.
std::string RegistryEditorKeyPath(RootKey root, const std::string& key);

// Runs the sequence above; true when every step was done, false at the first
// failure (nothing is shown to the user; an editor that was started stays).
bool OpenInRegistryEditor(const std::string& keyPath, const std::string& valueName,
                          EditorSession& session);
bool OpenInRegistryEditor(const std::string& keyPath, const std::string& valueName);

}  // namespace kelvane
