#include "ui/pages/scan_page.h"

#include <string>
#include <utility>
#include <vector>

#include "foundation/com_ptr.h"
#include "foundation/language_table.h"
#include "foundation/local_time.h"
#include "foundation/program_paths.h"
#include "foundation/registry_path.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/time_stamp.h"
#include "foundation/version_info.h"
#include "foundation/wow64_redirection.h"
#include "repair/fix_jobs.h"
#include "repair/issue_fixer.h"
#include "resource_ids.h"
#include "scan/cannot_remove_list.h"
#include "scan/scan_config.h"
#include "scan/scan_orchestrator.h"
#include "ui/dialogs/area_dialog.h"
#include "ui/dialogs/wait_dialog.h"
#include "ui/html_export.h"
#include "ui/rules/text_format.h"
#include "ui/window_messages.h"

namespace kelvane {

namespace {

// Posted by the worker when the scan has returned (wParam: WorkerOutcome).
constexpr UINT kScanDone = WM_APP + 0x51;

constexpr int kStartViewIds[] = {IDC_SCAN_INTRO, IDC_SCAN_LAST, IDC_SCAN_START, IDC_SCAN_AREAS_LINK,
                                 IDC_SCAN_START_LINK};
constexpr int kResultViewIds[] = {IDC_SCAN_LIST,   IDC_SCAN_PROGRESS, IDC_SCAN_CURRENT_KEY,
                                  IDC_SCAN_STATUS, IDC_SCAN_STOP,     IDC_SCAN_FIX,
                                  IDC_SCAN_BACK};

// While a scan fills the list it is drawn this often, not at every row: a
// full repaint per row made a scan with a few thousand finds take minutes.
constexpr UINT_PTR kListRedrawTimer = 1;
constexpr UINT kListRedrawMs = 250;

// A click this far from the list's left edge or nearer is on the tick box.
constexpr int kTickColumnWidth = 39;

constexpr int kMargin = 24;
constexpr int kLineHeight = 16;
constexpr int kStatusTop = 50;
constexpr int kKeyTop = 68;
constexpr int kBarTop = 88;
constexpr int kBarHeight = 18;
constexpr int kListTop = 114;
constexpr int kButtonHeight = 26;
constexpr int kButtonWidth = 120;
constexpr int kButtonGap = 8;
constexpr int kBottomMargin = 12;

// The detail pop-up's label ("Root key:") as a column title.
std::string ColumnTitle(const char* key) {
  std::string title = LanguageText(key);
  if (!title.empty() && title.back() == ':') title.pop_back();
  return title;
}

}  // namespace

ScanPage::ScanPage(PageContext context) : SkinnedPage(IDD_PAGE_SCAN, std::move(context)) {}

ScanPage::~ScanPage() {
  StopAndJoin();
  Destroy();
}

void ScanPage::StopAndJoin() {
  if (!worker_.running()) return;
  worker_.RequestStop();
  worker_.Join();
}

bool ScanPage::OnInit() {
  SkinnedPage::OnInit();
  areasLink_.Attach(Item(IDC_SCAN_AREAS_LINK));
  startLink_.Attach(Item(IDC_SCAN_START_LINK));
  RECT none = {0, 0, 10, 10};
  list_.Create(window(), IDC_SCAN_LIST, none, true);
  list_.AddColumn(ColumnTitle("L0069"), 110);
  list_.AddColumn(ColumnTitle("L0070"), 300);
  list_.AddColumn(ColumnTitle("L0071"), 120);
  list_.AddColumn(ColumnTitle("L0072"), 200);
  progress_ = ProgressBar::Create(window(), IDC_SCAN_PROGRESS, none, kProgressShowsPercent);
  progress_.SetRange(0, 100);
  RECT client;
  GetClientRect(window(), &client);
  Layout(client.right, client.bottom);
  ShowView(false);
  return true;
}

void ScanPage::OnActivated() {
  if (!resultView_) ShowLastScan();
}

void ScanPage::Layout(int width, int height) {
  const auto place = [&](int id, int x, int y, int w, int h) {
    SetWindowPos(Item(id), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const int inner = width - 2 * kMargin;
  // The start view's texts keep their place but end at the page's margin:
  // the template's width is in dialog units, wider than the page with some fonts.
  for (int id : {IDC_SCAN_INTRO, IDC_SCAN_LAST}) {
    RECT text;
    GetWindowRect(Item(id), &text);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&text), 2);
    place(id, text.left, text.top, width - kMargin - text.left, text.bottom - text.top);
  }
  place(IDC_SCAN_STATUS, kMargin, kStatusTop, inner, kLineHeight);
  place(IDC_SCAN_CURRENT_KEY, kMargin, kKeyTop, inner, kLineHeight);
  place(IDC_SCAN_PROGRESS, kMargin, kBarTop, inner, kBarHeight);
  const int buttonTop = height - kBottomMargin - kButtonHeight;
  place(IDC_SCAN_LIST, kMargin, kListTop, inner, buttonTop - kButtonGap - kListTop);
  // The columns share the list's width, room left for a vertical scroll bar,
  // so that no horizontal one is needed while the texts fit.
  RECT listClient;
  if (GetClientRect(list_.window(), &listClient)) {
    const int room = listClient.right - GetSystemMetrics(SM_CXVSCROLL);
    const int shares[] = {21, 40, 16};
    int used = 0;
    for (int column = 0; column < 3; ++column) {
      const int width = room * shares[column] / 100;
      SendMessageA(list_.window(), LVM_SETCOLUMNWIDTH, column, width);
      used += width;
    }
    SendMessageA(list_.window(), LVM_SETCOLUMNWIDTH, 3, room - used);
  }
  int left = width - kMargin - kButtonWidth;
  for (int id : {IDC_SCAN_BACK, IDC_SCAN_FIX, IDC_SCAN_STOP}) {
    place(id, left, buttonTop, kButtonWidth, kButtonHeight);
    left -= kButtonWidth + kButtonGap;
  }
}

void ScanPage::ShowView(bool results) {
  resultView_ = results;
  for (int id : kStartViewIds) ShowWindow(Item(id), results ? SW_HIDE : SW_SHOW);
  for (int id : kResultViewIds) ShowWindow(Item(id), results ? SW_SHOW : SW_HIDE);
  if (!results) ShowLastScan();
  InvalidateRect(window(), nullptr, TRUE);
}

void ScanPage::ShowLastScan() {
  const std::string last = ReadSetting(kKeyLastScan);
  SetText(IDC_SCAN_LAST, last.empty() ? LanguageText("L0144") : last);
}

void ScanPage::ShowCount() {
  // A translation may hold conversions of its own: filled only when they fit.
  const std::string line = FormatChecked(LanguageText("L0046"), {list_.RowCount()});
  SetText(IDC_SCAN_STATUS, line);
}

void ScanPage::Tell(const char* key, UINT icon) const {
  MessageBoxA(window(), LanguageText(key).c_str(), ProgramProductName().c_str(), MB_OK | icon);
}

bool ScanPage::StartScan() {
  if (worker_.running()) return false;
  // The 32-bit build on 64-bit Windows would judge 64-bit entries through
  // the 32-bit view and call healthy ones dead: no scan, so no fix.
  if (PlanJob(ProgramJob::kFix, CurrentWow64Facts()) == JobPlan::kRefuse) {
    Tell(RefusalTextKey(ProgramJob::kFix), MB_ICONWARNING);
    return false;
  }
  list_.DeleteAllRows();
  progress_.SetPosition(0);
  SetText(IDC_SCAN_STATUS, LanguageText("L0059"));
  SetText(IDC_SCAN_CURRENT_KEY, "");
  EnableWindow(Item(IDC_SCAN_STOP), TRUE);
  EnableWindow(Item(IDC_SCAN_FIX), FALSE);
  EnableWindow(Item(IDC_SCAN_BACK), FALSE);
  ShowView(true);
  SendMessageA(list_.window(), WM_SETREDRAW, FALSE, 0);
  SetTimer(window(), kListRedrawTimer, kListRedrawMs, nullptr);
  const HWND self = window();
  const std::string configPath = SettingsXmlPath();
  const bool started = worker_.Start(
      [self, configPath](volatile LONG* stopFlag) {
        ComApartment com;
        ScanContext context;
        context.configPath = configPath;
        context.hwndCurrentKey = self;
        context.hwndIssues = self;
        context.hwndProgress = self;
        context.cancelFlag = stopFlag;
        RunScan(context);
      },
      self, kScanDone);
  if (!started) {
    DrawListNow(true);
    ShowView(false);
  }
  return started;
}

void ScanPage::DrawListNow(bool scanOver) {
  SendMessageA(list_.window(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(list_.window(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (scanOver)
    KillTimer(window(), kListRedrawTimer);
  else
    SendMessageA(list_.window(), WM_SETREDRAW, FALSE, 0);
}

void ScanPage::AskToStop() {
  if (!worker_.running()) return;
  const int answer = MessageBoxA(window(), LanguageText("L0058").c_str(),
                                 LanguageText("L0025").c_str(), MB_OKCANCEL | MB_ICONWARNING);
  if (answer == IDOK) worker_.RequestStop();
}

void ScanPage::FinishScan(WPARAM outcome) {
  const bool stopped = worker_.stopRequested() || outcome != kWorkerFinished;
  worker_.Join();
  DrawListNow(true);
  EnableWindow(Item(IDC_SCAN_STOP), FALSE);
  EnableWindow(Item(IDC_SCAN_BACK), TRUE);
  if (stopped) {
    SetText(IDC_SCAN_STATUS, LanguageText("L0040"));
    ShowView(false);
    return;
  }
  const int rows = list_.RowCount();
  const std::string stamp = FormatStamp(kSettingsStampFormat, NowLocal());
  WriteSetting(kKeyLastScan, stamp);
  if (rows == 0) WriteSetting(kKeyLastClean, stamp);
  WriteSettingInt(kKeyErrorCount, rows);
  progress_.SetPosition(100);
  SetText(IDC_SCAN_CURRENT_KEY, LanguageText("L0039"));
  ShowCount();
  EnableWindow(Item(IDC_SCAN_FIX), rows > 0);
}

void ScanPage::FixTickedRows() {
  const int rows = list_.RowCount();
  if (rows == 0) {
    Tell("L0085", MB_ICONINFORMATION);
    return;
  }
  std::vector<int> ticked;
  std::vector<ScanIssue> issues;
  for (int row = 0; row < rows; ++row) {
    const ScanIssue* issue = list_.RowData<ScanIssue>(row);
    if (issue == nullptr || !list_.IsTicked(row)) continue;
    ticked.push_back(row);
    issues.push_back(*issue);
  }
  if (ticked.empty()) {
    Tell("L0086", MB_ICONINFORMATION);
    return;
  }
  FixResult result;
  const std::string folder = context().programFolder;
  WaitWindowOptions options;
  options.titleKey = "L0044";
  options.messageKey = "L0087";
  // The worker has returned once the window is closed: `result` is ours again.
  const WaitOutcome outcome = RunWithWaitWindow(
      window(), options,
      [&result, &issues, &folder](WaitReporter&) { result = FixIssues(issues, folder); });
  if (outcome != WaitOutcome::kFinished) return;
  const int left = rows - static_cast<int>(ticked.size());
  if (!FinishInteractiveFix(result, left) || result.backupFailed) {
    Tell("L0227", MB_ICONWARNING);
    return;
  }
  list_.DeleteRows(ticked);
  ShowCount();
  EnableWindow(Item(IDC_SCAN_FIX), list_.RowCount() > 0);
}

void ScanPage::ExcludeRow(int row) {
  const ScanIssue* issue = list_.RowData<ScanIssue>(row);
  if (issue == nullptr) return;
  if (!AddExclusion(SettingsXmlPath(), RootKeyName(issue->root) + "\\" + issue->key)) {
    Tell("L0226", MB_ICONWARNING);
    return;
  }
  list_.DeleteRow(row);
  WriteSettingInt(kKeyErrorCount, list_.RowCount());
  ShowCount();
  EnableWindow(Item(IDC_SCAN_FIX), list_.RowCount() > 0 && !worker_.running());
  SendMessageA(MainWindowHandle(), WM_EXCLUSIONS_CHANGED, 0, 0);
}

void ScanPage::RunRowCommand(int row, int command) {
  if (row < 0 || row >= list_.RowCount()) return;
  switch (command) {
    case kRowFlip:
      list_.FlipTick(row);
      break;
    case kRowTickAll:
      list_.TickAll(true);
      break;
    case kRowTickNone:
      list_.TickAll(false);
      break;
    case kRowInvert:
      list_.InvertTicks();
      break;
    case kRowExport:
      if (ExportListToHtml(list_) == ExportResult::kFailed) Tell("L0230", MB_ICONWARNING);
      break;
    case kRowExclude:
      ExcludeRow(row);
      break;
  }
}

void ScanPage::ShowRowMenu(LPARAM screenPoint) {
  POINT point = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
  int row = -1;
  if (screenPoint == -1) {  // from the keyboard: the first selected row
    const std::vector<int> selected = list_.SelectedRows();
    if (selected.empty()) return;
    row = selected.front();
    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list_.window(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    point = {bounds.left + kTickColumnWidth, bounds.bottom};
    ClientToScreen(list_.window(), &point);
  } else {
    POINT client = point;
    ScreenToClient(list_.window(), &client);
    row = list_.RowAt(client);
  }
  if (row < 0) return;
  const HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  const auto add = [menu](int command, const char* key) {
    AppendMenuA(menu, MF_STRING, command, LanguageText(key).c_str());
  };
  add(kRowFlip, list_.IsTicked(row) ? "L0081" : "L0080");
  add(kRowTickAll, "L0077");
  add(kRowTickNone, "L0078");
  add(kRowInvert, "L0079");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  add(kRowExport, "L0084");
  add(kRowExclude, "L0083");
  const int command =
      static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x,
                                      point.y, 0, window(), nullptr));
  DestroyMenu(menu);
  RunRowCommand(row, command);
}

void ScanPage::ShowDetail(const NMITEMACTIVATE& click) {
  if (click.iItem < 0 || click.ptAction.x <= kTickColumnWidth) return;
  const ScanIssue* issue = list_.RowData<ScanIssue>(click.iItem);
  if (issue == nullptr) return;
  POINT at = click.ptAction;
  ClientToScreen(list_.window(), &at);
  detail_.ShowIssue(window(), *issue, at);
}

bool ScanPage::OnCommand(int id, int notifyCode, HWND control) {
  if (notifyCode != BN_CLICKED) return SkinnedPage::OnCommand(id, notifyCode, control);
  switch (id) {
    case IDC_SCAN_START:
    case IDC_SCAN_START_LINK:
      LoadCannotRemoveList(context().programFolder);
      SendMessageA(MainWindowHandle(), WM_START_SCAN, 0, 0);
      return true;
    case IDC_SCAN_AREAS_LINK:
      ChooseScanAreas(window(), SettingsXmlPath());
      return true;
    case IDC_SCAN_STOP:
      AskToStop();
      return true;
    case IDC_SCAN_FIX:
      FixTickedRows();
      return true;
    case IDC_SCAN_BACK:
      if (!worker_.running()) ShowView(false);
      return true;
  }
  return SkinnedPage::OnCommand(id, notifyCode, control);
}

bool ScanPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case WM_START_SCAN:
      StartScan();
      return true;
    case WM_SCAN_ISSUE:
      if (lParam != 0) AppendIssueRow(list_, *reinterpret_cast<const ScanIssue*>(lParam));
      return true;
    case WM_SCAN_CURRENT_KEY:
      if (lParam != 0) SetText(IDC_SCAN_CURRENT_KEY, *reinterpret_cast<const std::string*>(lParam));
      return true;
    case WM_SCAN_PROGRESS:
      progress_.SetPosition(static_cast<int>(lParam));
      return true;
    case kScanDone:
      FinishScan(wParam);
      return true;
    case WM_TIMER:
      if (wParam != kListRedrawTimer) return false;
      if (worker_.running()) DrawListNow(false);
      return true;
    case WM_DESTROY:
      // Before the children go: the worker may be sending to the list.
      StopAndJoin();
      return false;
    case WM_SIZE:
      Layout(LOWORD(lParam), HIWORD(lParam));
      return false;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != list_.window()) return false;
      ShowRowMenu(lParam);
      return true;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header == nullptr || header->hwndFrom != list_.window() || header->code != NM_CLICK)
        return false;
      ShowDetail(*reinterpret_cast<const NMITEMACTIVATE*>(lParam));
      result = 0;
      return true;
    }
  }
  return false;
}

}  // namespace kelvane
