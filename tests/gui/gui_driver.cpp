// The GUI tests' window driver, run under wine beside the program it drives;
// it finds windows and answers them with messages, as a second process can.
// WINDOW is a visible top-level window's exact title or its class ("#32768").
//   run EXE SECONDS                 starts EXE without words in its own folder and waits;
//                                   prints "exit CODE" (a program still running then is
//                                   ended, and the driver fails)
//   run-windowless EXE SECONDS      the same, and fails when the program shows a window
//   minimize WINDOW                 minimises the window
//   state WINDOW                    prints "minimized" or "normal", then "foreground" or
//                                   "background"
//   wait-window WINDOW SECONDS      until such a window is shown
//   wait-gone WINDOW SECONDS        until none is left
//   click WINDOW ID                 posts BM_CLICK to control ID (a click may open a modal loop);
//                                   ID may be a path of ids through nested windows (1005/1290/9)
//   key WINDOW escape|return|tab|down  posts a key press to the window's focused control
//   close WINDOW                    posts the close box's command
//   control-state WINDOW ID         prints "visible" or "hidden", then "enabled" or "disabled"
//   text WINDOW ID                  prints the control's text (of a drop-down list: the entry
//                                   selected)
//   select-combo WINDOW ID TEXT     selects the entry TEXT of the drop-down list ID
//   menu-pick TEXT POSITION SECONDS chooses the POSITION-th entry (separators not counted) of
//                                   the open pop-up menu, which must read TEXT where the menu
//                                   can be read
//   answer-box TEXT SECONDS         a message box whose text holds TEXT: prints
//                                   "CAPTION<tab>TEXT" and presses OK
//   captions WINDOW                 "ID<tab>CLASS<tab>CAPTION" of the window and of each of its
//                                   descendants, one a line
//   shot WINDOW OUT.png             the window's rectangle of the screen (with a pop-up menu
//                                   it has open) as a PNG picture
//   list-rows WINDOW ID             each row of the list view ID: "ticked" or "unticked", then
//                                   its cells' texts (markup included), tab-separated
//   click-row WINDOW ID ROW WHERE   clicks row ROW of the list view ID: WHERE is "tick" (its
//                                   tick box), "cell" (its second column) or "menu" (asks for
//                                   its context menu)
//   checked WINDOW ID               prints "checked" or "unchecked" for the check box ID
//   tasks                           each task of the Task Scheduler: its name (as enumerated),
//                                   application and parameters, tab-separated, one a line
//   set-text WINDOW ID TEXT         sets the text of control ID (an edit)
//   tree-tick WINDOW ID PATH        opens the tree view ID down PATH ("A/B/C", item texts) as
//                                   the arrow keys do, selects the last item and presses Space
//   tree-state WINDOW ID PATH       the same without the key: prints the item's tick, "none",
//                                   "unticked", "partly" or "ticked"
//   decline-box TEXT SECONDS        as answer-box, but presses Cancel
//   layered                         each visible layered top-level window: "LEFT TOP RIGHT
//                                   BOTTOM ALPHA", one a line
//   dos-device DRIVE                the NT device of DRIVE ("C:")
// Exits 0, 1 on failure (a timeout too), 2 on bad usage.
#include <windows.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

#include <commctrl.h>
#include <mstask.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr DWORD kPollMs = 50;

int Fail(const std::string& what) {
  std::fprintf(stderr, "gui_driver: %s\n", what.c_str());
  return 1;
}

std::string TextOf(HWND window) {
  char buffer[4096] = "";
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ClassOf(HWND window) {
  char buffer[256] = "";
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

DWORD Seconds(const std::string& text) {
  return static_cast<DWORD>(std::atof(text.c_str()) * 1000);
}

// Visible top-level windows whose title or class is `name`, topmost first.
std::vector<HWND> WindowsNamed(const std::string& name) {
  struct Search {
    const std::string* name;
    std::vector<HWND> found;
  } search{&name, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (IsWindowVisible(window) && (TextOf(window) == *s->name || ClassOf(window) == *s->name))
          s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Polls `find` until it gives a window or `timeoutMs` passed.
template <typename Find>
HWND WaitFor(Find find, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = find()) return window;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

HWND FindNamed(const std::string& name) {
  const std::vector<HWND> found = WindowsNamed(name);
  return found.empty() ? nullptr : found.front();
}

HWND Control(const std::string& window, const std::string& id, std::string& problem) {
  const HWND parent = FindNamed(window);
  if (parent == nullptr) {
    problem = "no window " + window;
    return nullptr;
  }
  // A path of ids leads through nested windows, one id a level.
  HWND control = parent;
  for (std::size_t at = 0; control != nullptr && at <= id.size();) {
    std::size_t end = id.find('/', at);
    if (end == std::string::npos) end = id.size();
    control = GetDlgItem(control, std::atoi(id.substr(at, end - at).c_str()));
    at = end + 1;
  }
  if (control == nullptr) problem = "no control " + id + " in " + window;
  return control;
}

// Whether `process` shows a visible top-level window.
bool ShowsWindow(DWORD process) {
  struct Search {
    DWORD process;
    bool found;
  } search{process, false};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->process && IsWindowVisible(window)) s->found = true;
        return !s->found;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int RunProgram(const Args& a, bool windowless) {
  std::string commandLine = "\"" + a[0] + "\"";
  const std::string folder = a[0].substr(0, a[0].find_last_of('\\'));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(a[0].c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process))
    return Fail("cannot start " + a[0]);
  CloseHandle(process.hThread);
  bool showed = false;
  const DWORD start = GetTickCount();
  bool ended = false;
  while (!ended && GetTickCount() - start < Seconds(a[1])) {
    ended = WaitForSingleObject(process.hProcess, windowless ? 10 : kPollMs) == WAIT_OBJECT_0;
    if (windowless && !ended && ShowsWindow(process.dwProcessId)) showed = true;
  }
  if (!ended) TerminateProcess(process.hProcess, 124);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  std::printf("exit %lu\n", code);
  if (showed) Fail(a[0] + " showed a window");
  if (!ended) return Fail(a[0] + " still ran after " + a[1] + " s");
  return showed ? 1 : 0;
}

int Run(const Args& a) { return RunProgram(a, false); }
int RunWindowless(const Args& a) { return RunProgram(a, true); }

int Minimize(const Args& a) {
  const HWND window = FindNamed(a[0]);
  if (window == nullptr) return Fail("no window " + a[0]);
  ShowWindowAsync(window, SW_MINIMIZE);
  const HWND done = WaitFor([&] { return IsIconic(window) ? window : nullptr; }, 5000);
  return done != nullptr ? 0 : Fail("window " + a[0] + " was not minimised");
}

int State(const Args& a) {
  const HWND window = FindNamed(a[0]);
  if (window == nullptr) return Fail("no window " + a[0]);
  std::printf("%s %s\n", IsIconic(window) ? "minimized" : "normal",
              GetForegroundWindow() == window ? "foreground" : "background");
  return 0;
}

int WaitWindow(const Args& a) {
  const HWND window = WaitFor([&] { return FindNamed(a[0]); }, Seconds(a[1]));
  return window != nullptr ? 0 : Fail("no window " + a[0] + " within " + a[1] + " s");
}

int WaitGone(const Args& a) {
  const HWND none =
      WaitFor([&] { return FindNamed(a[0]) ? nullptr : GetDesktopWindow(); }, Seconds(a[1]));
  return none != nullptr ? 0 : Fail("window " + a[0] + " still there after " + a[1] + " s");
}

int Click(const Args& a) {
  std::string problem;
  const HWND control = Control(a[0], a[1], problem);
  if (control == nullptr) return Fail(problem);
  return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : Fail("cannot post to " + a[1]);
}

int Key(const Args& a) {
  const HWND window = FindNamed(a[0]);
  if (window == nullptr) return Fail("no window " + a[0]);
  const WPARAM key = a[1] == "escape"   ? VK_ESCAPE
                     : a[1] == "return" ? VK_RETURN
                     : a[1] == "tab"    ? VK_TAB
                     : a[1] == "down"   ? VK_DOWN
                                        : 0;
  if (key == 0) return Fail("unknown key " + a[1]);
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  const HWND target = thread.hwndFocus != nullptr ? thread.hwndFocus : window;
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  return 0;
}

int Close(const Args& a) {
  const HWND window = FindNamed(a[0]);
  if (window == nullptr) return Fail("no window " + a[0]);
  return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : Fail("cannot post to " + a[0]);
}

int ControlState(const Args& a) {
  std::string problem;
  const HWND control = Control(a[0], a[1], problem);
  if (control == nullptr) return Fail(problem);
  std::printf("%s %s\n", IsWindowVisible(control) ? "visible" : "hidden",
              IsWindowEnabled(control) ? "enabled" : "disabled");
  return 0;
}

int Text(const Args& a) {
  std::string problem;
  const HWND control = Control(a[0], a[1], problem);
  if (control == nullptr) return Fail(problem);
  if (lstrcmpiA(ClassOf(control).c_str(), "ComboBox") != 0) {
    // Asked of the control itself: an edit keeps its text where GetWindowText
    // from another process does not look.
    char text[4096] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    std::printf("%s\n", text);
    return 0;
  }
  const LRESULT row = SendMessageA(control, CB_GETCURSEL, 0, 0);
  if (row == CB_ERR) {
    std::printf("\n");
    return 0;
  }
  // Wine hands the ANSI form of this message to another process in UTF-16.
  std::vector<wchar_t> entry(
      static_cast<std::size_t>(SendMessageW(control, CB_GETLBTEXTLEN, row, 0)) + 1);
  SendMessageW(control, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(entry.data()));
  char ansi[1024] = "";
  WideCharToMultiByte(CP_ACP, 0, entry.data(), -1, ansi, sizeof ansi, nullptr, nullptr);
  std::printf("%s\n", ansi);
  return 0;
}

int SelectCombo(const Args& a) {
  std::string problem;
  const HWND combo = Control(a[0], a[1], problem);
  if (combo == nullptr) return Fail(problem);
  const LRESULT row = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(a[2].c_str()));
  if (row == CB_ERR) return Fail("no entry " + a[2] + " in " + a[1]);
  SendMessageA(combo, CB_SETCURSEL, row, 0);
  SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(std::atoi(a[1].c_str()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  return 0;
}

int MenuPick(const Args& a) {
  const int position = std::atoi(a[1].c_str());
  if (position < 1) return Fail("bad position " + a[1]);
  const HWND menuWindow = WaitFor([] { return FindNamed("#32768"); }, Seconds(a[2]));
  if (menuWindow == nullptr) return Fail("no pop-up menu within " + a[2] + " s");
  const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, kMenuGetHandle, 0, 0));
  const int count = menu != nullptr ? GetMenuItemCount(menu) : -1;
  if (count > 0) {
    int seen = 0;
    for (int i = 0; i < count; ++i) {
      MENUITEMINFOA item = {};
      item.cbSize = sizeof item;
      item.fMask = MIIM_FTYPE;
      GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item);
      if (item.fType & MFT_SEPARATOR) continue;
      if (++seen != position) continue;
      char text[512] = "";
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      if (a[0] != text) return Fail("entry " + a[1] + " reads \"" + text + "\", not " + a[0]);
      break;
    }
  } else {
    // Wine keeps a menu's items in the process that made it.
    std::fprintf(stderr, "gui_driver: the menu cannot be read from here; entry %d is taken\n",
                 position);
  }
  for (int i = 0; i < position; ++i) PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 1);
  const HWND gone =
      WaitFor([&] { return IsWindowVisible(menuWindow) ? nullptr : menuWindow; }, Seconds(a[2]));
  return gone != nullptr ? 0 : Fail("the menu stayed open");
}

HWND FindMessageBox(const std::string& text) {
  for (HWND box : WindowsNamed("#32770")) {
    const HWND message = GetDlgItem(box, kMessageBoxTextId);
    if (message != nullptr && TextOf(message).find(text) != std::string::npos) return box;
  }
  return nullptr;
}

int AnswerBox(const Args& a) {
  const HWND box = WaitFor([&] { return FindMessageBox(a[0]); }, Seconds(a[1]));
  if (box == nullptr) return Fail("no message box with \"" + a[0] + "\" within " + a[1] + " s");
  std::string text = TextOf(GetDlgItem(box, kMessageBoxTextId));
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  std::printf("%s\t%s\n", TextOf(box).c_str(), text.c_str());
  const HWND ok = GetDlgItem(box, IDOK);
  if (ok == nullptr) return Fail("the message box has no OK button");
  return PostMessageA(ok, BM_CLICK, 0, 0) ? 0 : Fail("cannot press OK");
}

int DeclineBox(const Args& a) {
  const HWND box = WaitFor([&] { return FindMessageBox(a[0]); }, Seconds(a[1]));
  if (box == nullptr) return Fail("no message box with \"" + a[0] + "\" within " + a[1] + " s");
  const HWND cancel = GetDlgItem(box, IDCANCEL);
  if (cancel == nullptr) return Fail("the message box has no Cancel button");
  return PostMessageA(cancel, BM_CLICK, 0, 0) ? 0 : Fail("cannot press Cancel");
}

int Layered(const Args&) {
  EnumWindows(
      [](HWND window, LPARAM) -> BOOL {
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!IsWindowVisible(window) || !(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED) ||
            !GetLayeredWindowAttributes(window, nullptr, &alpha, &flags))
          return TRUE;
        RECT place;
        GetWindowRect(window, &place);
        std::printf("%ld %ld %ld %ld %d\n", place.left, place.top, place.right, place.bottom,
                    (flags & LWA_ALPHA) ? alpha : 255);
        return TRUE;
      },
      0);
  return 0;
}

int DosDevice(const Args& a) {
  char target[1024] = "";
  if (QueryDosDeviceA(a[0].c_str(), target, sizeof target) == 0)
    return Fail("no device for " + a[0]);
  std::printf("%s\n", target);
  return 0;
}

void PrintCaption(HWND window) {
  // A picture's "caption" is its resource number, no text.
  const LONG_PTR type = GetWindowLongPtrA(window, GWL_STYLE) & SS_TYPEMASK;
  const bool picture =
      lstrcmpiA(ClassOf(window).c_str(), "Static") == 0 && (type == SS_ICON || type == SS_BITMAP);
  std::printf("%d\t%s\t%s\n", GetDlgCtrlID(window), ClassOf(window).c_str(),
              picture ? "" : TextOf(window).c_str());
}

int Captions(const Args& a) {
  const HWND window = FindNamed(a[0]);
  if (window == nullptr) return Fail("no window " + a[0]);
  PrintCaption(window);
  EnumChildWindows(
      window,
      [](HWND child, LPARAM) -> BOOL {
        PrintCaption(child);
        return TRUE;
      },
      0);
  return 0;
}

bool PngEncoder(CLSID& encoder) {
  UINT count = 0, size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      encoder = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

int Shot(const Args& a) {
  const HWND window = FindNamed(a[0]);
  if (window == nullptr) return Fail("no window " + a[0]);
  RECT place;
  GetWindowRect(window, &place);
  // A menu the window has open belongs in its picture.
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  for (HWND menu : WindowsNamed("#32768")) {
    RECT menuPlace;
    if (GetWindowThreadProcessId(menu, nullptr) == thread && GetWindowRect(menu, &menuPlace))
      UnionRect(&place, &place, &menuPlace);
  }
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  if (width <= 0 || height <= 0) return Fail("window " + a[0] + " has no size");

  // From the screen: under wine PrintWindow gives only the background.
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, width, height, screen, place.left, place.top,
                             SRCCOPY | CAPTUREBLT) != FALSE;
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  int result = copied ? 0 : Fail("cannot copy the screen");
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  CLSID png;
  if (result == 0 && Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
    {
      Gdiplus::Bitmap picture(bitmap, nullptr);
      const std::wstring out(a[1].begin(), a[1].end());
      if (!PngEncoder(png) || picture.Save(out.c_str(), &png, nullptr) != Gdiplus::Ok)
        result = Fail("cannot write " + a[1]);
    }
    Gdiplus::GdiplusShutdown(token);
  } else if (result == 0) {
    result = Fail("GDI+ did not start");
  }
  DeleteObject(bitmap);
  return result;
}

// A block of memory in the process that owns `window`, for messages whose
// pointers that process reads: wine passes them as they are.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, std::size_t size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (process_ != nullptr)
      at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (at_ != nullptr) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  char* at() const { return static_cast<char*>(at_); }
  bool Write(std::size_t offset, const void* data, std::size_t size) const {
    return at_ != nullptr && WriteProcessMemory(process_, at() + offset, data, size, nullptr);
  }
  bool Read(std::size_t offset, void* data, std::size_t size) const {
    return at_ != nullptr && ReadProcessMemory(process_, at() + offset, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* at_ = nullptr;
};

constexpr std::size_t kCellChars = 2048;

std::string CellText(HWND list, const RemoteBlock& block, int row, int column) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = block.at() + sizeof item;
  item.cchTextMax = kCellChars;
  if (!block.Write(0, &item, sizeof item)) return "";
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block.at()));
  std::vector<char> text(kCellChars + 1, '\0');
  block.Read(sizeof item, text.data(), kCellChars);
  return text.data();
}

int ListRows(const Args& a) {
  std::string problem;
  const HWND list = Control(a[0], a[1], problem);
  if (list == nullptr) return Fail(problem);
  const HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int columns =
      header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  const RemoteBlock block(list, sizeof(LVITEMA) + kCellChars);
  if (block.at() == nullptr) return Fail("cannot reach the list's process");
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    const LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
    std::string line =
        (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2) ? "ticked" : "unticked";
    for (int column = 0; column < columns; ++column)
      line += "\t" + CellText(list, block, row, column);
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

int ClickRow(const Args& a) {
  std::string problem;
  const HWND list = Control(a[0], a[1], problem);
  if (list == nullptr) return Fail(problem);
  const int row = std::atoi(a[2].c_str());
  SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
  const RemoteBlock block(list, sizeof(RECT));
  RECT icon = {LVIR_ICON, 0, 0, 0};
  if (!block.Write(0, &icon, sizeof icon) ||
      !SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(block.at())) ||
      !block.Read(0, &icon, sizeof icon))
    return Fail("no row " + a[2] + " in " + a[1]);
  const int y = (icon.top + icon.bottom) / 2;
  if (a[3] == "menu") {
    POINT at = {icon.right + 60, y};
    ClientToScreen(list, &at);
    PostMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
    return 0;
  }
  // The tick box lies just before the item's icon, some 16 pixels wide.
  const int x = a[3] == "tick" ? icon.left - 6 : a[3] == "cell" ? icon.right + 200 : -1;
  if (x < 0) return Fail("unknown place " + a[3]);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  return 0;
}

int Checked(const Args& a) {
  std::string problem;
  const HWND control = Control(a[0], a[1], problem);
  if (control == nullptr) return Fail(problem);
  std::printf("%s\n",
              SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "checked" : "unchecked");
  return 0;
}

std::string Narrow(const wchar_t* text) {
  char buffer[4096] = "";
  if (text != nullptr)
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return buffer;
}

// The text a task's getter hands out (freed here).
template <typename Get>
std::string TaskText(Get get) {
  LPWSTR text = nullptr;
  if (FAILED(get(&text))) return "";
  std::string narrow = Narrow(text);
  CoTaskMemFree(text);
  return narrow;
}

int Tasks(const Args&) {
  if (FAILED(CoInitialize(nullptr))) return Fail("no COM");
  int result = 1;
  ITaskScheduler* scheduler = nullptr;
  IEnumWorkItems* items = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_ITaskScheduler, reinterpret_cast<void**>(&scheduler))) &&
      SUCCEEDED(scheduler->Enum(&items))) {
    result = 0;
    LPWSTR* names = nullptr;
    ULONG fetched = 0;
    while (SUCCEEDED(items->Next(1, &names, &fetched)) && fetched == 1) {
      std::wstring name = names[0];
      CoTaskMemFree(names[0]);
      CoTaskMemFree(names);
      std::string shown = Narrow(name.c_str());
      if (name.size() > 4 && name.compare(name.size() - 4, 4, L".job") == 0)
        name.resize(name.size() - 4);
      ITask* task = nullptr;
      if (SUCCEEDED(
              scheduler->Activate(name.c_str(), IID_ITask, reinterpret_cast<IUnknown**>(&task)))) {
        std::printf("%s\t%s\t%s\n", shown.c_str(),
                    TaskText([&](LPWSTR* t) { return task->GetApplicationName(t); }).c_str(),
                    TaskText([&](LPWSTR* t) { return task->GetParameters(t); }).c_str());
        task->Release();
      }
    }
  }
  if (items != nullptr) items->Release();
  if (scheduler != nullptr) scheduler->Release();
  CoUninitialize();
  return result == 0 ? 0 : Fail("no Task Scheduler");
}

int SetControlText(const Args& a) {
  std::string problem;
  const HWND control = Control(a[0], a[1], problem);
  if (control == nullptr) return Fail(problem);
  DWORD_PTR done = 0;
  return SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[2].c_str()),
                             SMTO_ABORTIFHUNG, 5000, &done)
             ? 0
             : Fail("cannot set the text of " + a[1]);
}

std::string TreeItemText(HWND tree, const RemoteBlock& block, HTREEITEM item) {
  TVITEMA query = {};
  query.mask = TVIF_TEXT;
  query.hItem = item;
  query.pszText = block.at() + sizeof query;
  query.cchTextMax = kCellChars;
  if (!block.Write(0, &query, sizeof query) ||
      !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block.at())))
    return "";
  std::vector<char> text(kCellChars + 1, '\0');
  block.Read(sizeof query, text.data(), kCellChars);
  return text.data();
}

// The item at the end of PATH ("A/B/C", item texts), each level opened with
// the right arrow key as a user opens it, and selected.
HTREEITEM FindTreeItem(HWND tree, const std::string& path, std::string& problem) {
  const RemoteBlock block(tree, sizeof(TVITEMA) + kCellChars);
  if (block.at() == nullptr) {
    problem = "cannot reach the tree's process";
    return nullptr;
  }
  HTREEITEM item = nullptr;
  for (std::size_t at = 0; at <= path.size();) {
    std::size_t end = path.find('/', at);
    if (end == std::string::npos) end = path.size();
    const std::string name = path.substr(at, end - at);
    if (item != nullptr &&
        !(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
          TVIS_EXPANDED))
      PostMessageA(tree, WM_KEYDOWN, VK_RIGHT, 1);
    HTREEITEM found = nullptr;
    for (const DWORD start = GetTickCount(); found == nullptr && GetTickCount() - start < 10000;
         Sleep(kPollMs)) {
      auto next = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM,
                                                           item == nullptr ? TVGN_ROOT : TVGN_CHILD,
                                                           reinterpret_cast<LPARAM>(item)));
      for (; next != nullptr && found == nullptr;
           next = reinterpret_cast<HTREEITEM>(
               SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(next))))
        if (TreeItemText(tree, block, next) == name) found = next;
    }
    if (found == nullptr) {
      problem = "no tree item " + name;
      return nullptr;
    }
    item = found;
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    at = end + 1;
  }
  return item;
}

int TreeTick(const Args& a) {
  std::string problem;
  const HWND tree = Control(a[0], a[1], problem);
  const HTREEITEM item = tree != nullptr ? FindTreeItem(tree, a[2], problem) : nullptr;
  if (item == nullptr) return Fail(problem);
  PostMessageA(tree, WM_KEYDOWN, VK_SPACE, 1);
  PostMessageA(tree, WM_KEYUP, VK_SPACE, 0xC0000001);
  return 0;
}

int TreeState(const Args& a) {
  std::string problem;
  const HWND tree = Control(a[0], a[1], problem);
  const HTREEITEM item = tree != nullptr ? FindTreeItem(tree, a[2], problem) : nullptr;
  if (item == nullptr) return Fail(problem);
  const LRESULT state =
      SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK);
  static const char* const kNames[] = {"none", "unticked", "partly", "ticked"};
  const std::size_t index = static_cast<std::size_t>((state & TVIS_STATEIMAGEMASK) >> 12);
  std::printf("%s\n", index < 4 ? kNames[index] : "unknown");
  return 0;
}

struct Command {
  const char* name;
  std::size_t arguments;
  int (*run)(const Args&);
};

const Command kCommands[] = {
    {"run", 2, Run},
    {"run-windowless", 2, RunWindowless},
    {"minimize", 1, Minimize},
    {"state", 1, State},
    {"wait-window", 2, WaitWindow},
    {"wait-gone", 2, WaitGone},
    {"click", 2, Click},
    {"key", 2, Key},
    {"close", 1, Close},
    {"control-state", 2, ControlState},
    {"text", 2, Text},
    {"select-combo", 3, SelectCombo},
    {"menu-pick", 3, MenuPick},
    {"answer-box", 2, AnswerBox},
    {"decline-box", 2, DeclineBox},
    {"layered", 0, Layered},
    {"dos-device", 1, DosDevice},
    {"captions", 1, Captions},
    {"shot", 2, Shot},
    {"list-rows", 2, ListRows},
    {"click-row", 4, ClickRow},
    {"checked", 2, Checked},
    {"tasks", 0, Tasks},
    {"set-text", 3, SetControlText},
    {"tree-tick", 3, TreeTick},
    {"tree-state", 3, TreeState},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2) {
    const Args args(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
      if (argv[1] == std::string(command.name) && args.size() == command.arguments) {
        const int result = command.run(args);
        std::fflush(stdout);
        return result;
      }
    }
  }
  std::fprintf(stderr, "usage: gui_driver COMMAND ARGUMENTS (see the source's head)\n");
  return 2;
}
