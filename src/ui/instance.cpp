#include "ui/instance.h"

#include "ui/dialog.h"
#include "ui/window_messages.h"

namespace kelvane {

namespace {

std::string LowerCase(std::string text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

struct ClassSearch {
  std::string target;  // lower-cased
  HWND found = nullptr;
};

bool HasClass(HWND window, const std::string& target) {
  if (window == nullptr || !IsWindow(window)) return false;
  char name[512] = "";
  if (GetClassNameA(window, name, 511) <= 0) return false;
  return LowerCase(name) == target;
}

BOOL CALLBACK SearchChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  if (!HasClass(window, search->target)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK SearchTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  if (HasClass(window, search->target)) {
    search->found = window;
    return FALSE;
  }
  EnumChildWindows(window, SearchChild, param);  // every descendant, not only children
  return search->found == nullptr;
}

LRESULT CALLBACK MarkerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SHOW_MAIN_WINDOW) {
    SendMessageA(GetParent(window), message, wParam, lParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND FindMainWindowOfClass(const std::string& className) {
  ClassSearch search;
  search.target = LowerCase(className);
  EnumWindows(SearchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool HandOverToRunningInstance(ScopedKernelHandle& mutex, const std::string& mutexName,
                               const std::string& markerClass, UINT timeoutMs) {
  mutex.Reset(CreateMutexA(nullptr, FALSE, mutexName.c_str()));
  const DWORD error = GetLastError();
  if (!mutex.IsValid() || error != ERROR_ALREADY_EXISTS) return false;
  mutex.Reset();

  const HWND window = FindMainWindowOfClass(markerClass);
  if (window == nullptr || !IsWindow(window)) return true;  // still starting: end quietly
  // The user started this process, so it may hand the foreground on.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  AllowSetForegroundWindow(process);
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, WM_SHOW_MAIN_WINDOW, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs,
                      &answer);
  return true;
}

HWND CreateMarkerWindow(HWND mainWindow, const char* className) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = MarkerProcedure;
  windowClass.hInstance = ResourceModule();
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = className;
  // A second main window of the process finds the class registered already.
  if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  return CreateWindowExA(0, className, "", WS_CHILD, 0, 0, 100, 100, mainWindow, nullptr,
                         ResourceModule(), nullptr);
}

}  // namespace kelvane
