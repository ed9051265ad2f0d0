#pragma once
// The scan page (page 1). Its start view tells when the registry was last
// scanned and starts a scan; its result view shows a running scan (the rows
// found, the progress, the key being read) and then lets the user fix,
// export or exclude the rows. The scan runs on a worker thread that reports
// to this page by sent messages; the page stops and joins it before any of
// its child windows goes.
#include <windows.h>

#include <utility>

#include "ui/controls/link_button.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/result_list.h"
#include "ui/dialogs/issue_detail_dialog.h"
#include "ui/pages/skinned_page.h"
#include "ui/worker_thread.h"

namespace kelvane {

class ScanPage : public SkinnedPage {
 public:
  // The entries of a row's context menu.
  enum RowCommand {
    kRowFlip = 1,
    kRowTickAll,
    kRowTickNone,
    kRowInvert,
    kRowExport,
    kRowExclude,
  };

  explicit ScanPage(PageContext context);
  ~ScanPage() override;

  bool IsBusy() const override { return worker_.running(); }

  // Starts a scan in the result view; false while one runs or when the
  // worker could not start.
  bool StartScan();
  // Asks the user, then asks a running scan to stop.
  void AskToStop();
  // Backs up and removes the ticked rows' entries, after the checks the
  // fix button makes.
  void FixTickedRows();
  // What the context menu's `command` does to `row`.
  void RunRowCommand(int row, int command);

  ResultList& list() { return list_; }
  bool resultViewShown() const { return resultView_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void OnActivated() override;

 private:
  void ShowView(bool results);
  void ShowLastScan();
  void ShowCount();
  void Layout(int width, int height);
  void FinishScan(WPARAM outcome);
  // Draws the rows found so far; with `scanOver` the list draws itself
  // again from now on.
  void DrawListNow(bool scanOver);
  void ShowRowMenu(LPARAM screenPoint);
  void ShowDetail(const NMITEMACTIVATE& click);
  void ExcludeRow(int row);
  // Stops a running scan without asking and waits for it.
  void StopAndJoin();
  void Tell(const char* key, UINT icon) const;

  ResultList list_;
  ProgressBar progress_;
  LinkButton areasLink_;
  LinkButton startLink_;
  IssueDetailDialog detail_;
  bool resultView_ = false;
  // The worker last, so that it is joined first should the window be gone
  // without WM_DESTROY having reached the page.
  WorkerThread worker_;
};

}  // namespace kelvane
