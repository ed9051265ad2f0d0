#include "ui/dialogs/issue_detail_dialog.h"

#include <algorithm>
#include <cstring>

#include "foundation/registry_path.h"
#include "resource_ids.h"
#include "ui/registry_editor_jump.h"
#include "ui/ui_handles.h"
#include "ui/window_geometry.h"
#include "ui/window_text.h"

namespace kelvane {

namespace {

constexpr int kClipboardAttempts = 10;
constexpr DWORD kClipboardPauseMs = 20;

constexpr int kLabels[] = {IDC_DETAIL_ROOT_LABEL, IDC_DETAIL_KEY_LABEL, IDC_DETAIL_VALUE_LABEL,
                           IDC_DETAIL_DATA_LABEL, IDC_DETAIL_PROBLEM_LABEL};
constexpr int kFields[] = {IDC_DETAIL_ROOT, IDC_DETAIL_KEY, IDC_DETAIL_VALUE, IDC_DETAIL_DATA,
                           IDC_DETAIL_PROBLEM};

RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int TextWidth(HWND control, const std::string& text) {
  const HDC dc = GetDC(control);
  if (dc == nullptr) return 0;
  SIZE size = {};
  {
    const SelectedObject font(dc,
                              reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  }
  ReleaseDC(control, dc);
  return size.cx;
}

// Lines each field shows at most; more wrapped lines scroll.
constexpr int kMostLines[] = {1, 4, 2, 3, 3};

int LineHeight(HWND field) {
  const HDC dc = GetDC(field);
  if (dc == nullptr) return 0;
  TEXTMETRICA metrics = {};
  {
    const SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(field, WM_GETFONT, 0, 0)));
    GetTextMetricsA(dc, &metrics);
  }
  ReleaseDC(field, dc);
  return metrics.tmHeight;
}

}  // namespace

std::string IssueClipboardText(const ScanIssue& issue) {
  return RootKeyName(issue.root) + "\\" + issue.key + "\n" + issue.valueName + "\n" +
         issue.description;
}

bool PutTextOnClipboard(HWND owner, const std::string& text) {
  // Another program may hold the clipboard for a moment.
  bool opened = false;
  for (int attempt = 0; attempt < kClipboardAttempts && !opened; ++attempt) {
    opened = OpenClipboard(owner) != FALSE;
    if (!opened) Sleep(kClipboardPauseMs);
  }
  if (!opened) return false;
  bool placed = false;
  if (EmptyClipboard()) {
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory != nullptr) {
      if (void* bytes = GlobalLock(memory)) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        placed = SetClipboardData(CF_TEXT, memory) != nullptr;
      }
      if (!placed) GlobalFree(memory);  // the clipboard owns it only once placed
    }
  }
  CloseClipboard();
  return placed;
}

IssueDetailDialog::IssueDetailDialog()
    : Dialog(IDD_ISSUE_DETAIL), jump_([](const std::string& keyPath, const std::string& valueName) {
        return OpenInRegistryEditor(keyPath, valueName);
      }) {}

bool IssueDetailDialog::OnInit() {
  RECT client;
  GetClientRect(window(), &client);
  bottomMargin_ = client.bottom - ChildRect(Item(IDCANCEL)).bottom;
  FitLabels();
  return true;
}

void IssueDetailDialog::FitLabels() {
  // The value fields start after the widest label of the language in use.
  int widest = 0;
  for (const int id : kLabels) widest = std::max(widest, TextWidth(Item(id), WindowText(Item(id))));
  const RECT firstLabel = ChildRect(Item(kLabels[0]));
  RECT gapRect = {0, 0, 4, 0};
  MapDialogRect(window(), &gapRect);
  const int fieldLeft = firstLabel.left + widest + gapRect.right;
  for (std::size_t i = 0; i < std::size(kLabels); ++i) {
    const HWND label = Item(kLabels[i]);
    const HWND field = Item(kFields[i]);
    const RECT labelRect = ChildRect(label);
    const RECT fieldRect = ChildRect(field);
    if (fieldLeft <= fieldRect.left) continue;  // the template's room suffices
    MoveWindow(label, labelRect.left, labelRect.top, widest, labelRect.bottom - labelRect.top,
               FALSE);
    MoveWindow(field, fieldLeft, fieldRect.top, fieldRect.right - fieldLeft,
               fieldRect.bottom - fieldRect.top, FALSE);
  }
  // Buttons as wide as their captions need, side by side from the left; the
  // close button stays at the right.
  const HWND buttons[] = {Item(IDC_DETAIL_REGEDIT), Item(IDC_DETAIL_COPY)};
  RECT paddingRect = {0, 0, 8, 0};
  MapDialogRect(window(), &paddingRect);
  int x = ChildRect(buttons[0]).left;
  for (const HWND button : buttons) {
    const RECT rect = ChildRect(button);
    const int width = std::max<int>(rect.right - rect.left,
                                    TextWidth(button, WindowText(button)) + 2 * paddingRect.right);
    MoveWindow(button, x, rect.top, width, rect.bottom - rect.top, FALSE);
    x += width + gapRect.right;
  }
  const HWND close = Item(IDCANCEL);
  const RECT closeRect = ChildRect(close);
  RECT client;
  GetClientRect(window(), &client);
  const int closeWidth = std::max<int>(closeRect.right - closeRect.left,
                                       TextWidth(close, WindowText(close)) + 2 * paddingRect.right);
  const int margin = client.right - closeRect.right;
  const int neededWidth = x + closeWidth + margin;
  if (neededWidth > client.right) {
    SetClientSize(window(), neededWidth, client.bottom);
    // Fields reach to the new right edge.
    for (const int id : kFields) {
      const RECT rect = ChildRect(Item(id));
      MoveWindow(Item(id), rect.left, rect.top, neededWidth - margin - rect.left,
                 rect.bottom - rect.top, FALSE);
    }
    client.right = neededWidth;
  }
  MoveWindow(close, client.right - margin - closeWidth, closeRect.top, closeWidth,
             closeRect.bottom - closeRect.top, FALSE);
}

void IssueDetailDialog::Fill() {
  const std::string texts[] = {RootKeyName(issue_.root), issue_.key, issue_.valueName, issue_.data,
                               issue_.description};
  const int lineHeight = std::max(1, LineHeight(Item(kFields[0])));
  RECT gapRect = {0, 0, 0, 4};
  MapDialogRect(window(), &gapRect);
  int y = ChildRect(Item(kFields[0])).top;
  // Each field as tall as its wrapped text, up to its most lines; the rows
  // and the buttons below them move up or down to follow.
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    const HWND field = Item(kFields[i]);
    const RECT rect = ChildRect(field);
    const int width = rect.right - rect.left;
    ShowScrollBar(field, SB_VERT, FALSE);
    MoveWindow(field, rect.left, y, width, kMostLines[i] * lineHeight, FALSE);
    SetWindowTextA(field, texts[i].c_str());
    const int lines = static_cast<int>(SendMessageA(field, EM_GETLINECOUNT, 0, 0));
    const int shown = std::clamp(lines, 1, kMostLines[i]);
    MoveWindow(field, rect.left, y, width, shown * lineHeight, FALSE);
    if (lines > kMostLines[i]) ShowScrollBar(field, SB_VERT, TRUE);
    const HWND label = Item(kLabels[i]);
    const RECT labelRect = ChildRect(label);
    MoveWindow(label, labelRect.left, y, labelRect.right - labelRect.left, lineHeight, FALSE);
    y += shown * lineHeight + gapRect.bottom;
  }
  y += gapRect.bottom;
  int buttonHeight = 0;
  for (const int id : {IDC_DETAIL_REGEDIT, IDC_DETAIL_COPY, IDCANCEL}) {
    const RECT rect = ChildRect(Item(id));
    buttonHeight = rect.bottom - rect.top;
    MoveWindow(Item(id), rect.left, y, rect.right - rect.left, buttonHeight, FALSE);
  }
  RECT client;
  GetClientRect(window(), &client);
  SetClientSize(window(), client.right, y + buttonHeight + bottomMargin_);
  InvalidateRect(window(), nullptr, TRUE);
}

bool IssueDetailDialog::ShowIssue(HWND owner, const ScanIssue& issue, POINT screenPoint) {
  if (window() == nullptr && Create(owner) == nullptr) return false;
  issue_ = issue;
  Fill();
  RECT rect;
  GetWindowRect(window(), &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const RECT area = WorkArea();
  const int x = std::max<int>(area.left, std::min<int>(screenPoint.x, area.right - width));
  const int y = std::max<int>(area.top, std::min<int>(screenPoint.y, area.bottom - height));
  SetWindowPos(window(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
  ShowWindow(window(), SW_SHOW);
  return true;
}

void IssueDetailDialog::Hide() {
  if (window() != nullptr) ShowWindow(window(), SW_HIDE);
}

bool IssueDetailDialog::IsShown() const {
  return window() != nullptr && IsWindowVisible(window()) != FALSE;
}

bool IssueDetailDialog::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDC_DETAIL_REGEDIT: {
      Hide();
      // A copy: messages sent to this thread during the jump may refill the pop-up.
      const ScanIssue issue = issue_;
      if (jump_) jump_(RegistryEditorKeyPath(issue.root, issue.key), issue.valueName);
      return true;
    }
    case IDC_DETAIL_COPY:
      PutTextOnClipboard(window(), IssueClipboardText(issue_));
      Hide();
      return true;
    case IDOK:
    case IDCANCEL:
      Hide();  // Escape, the close box and the close button
      return true;
    default:
      return false;
  }
}

}  // namespace kelvane
