#include "ui/pages/defrag_page.h"

#include <utility>

#include "defrag/hive_compactor.h"
#include "foundation/language_table.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "ui/dialogs/defrag_result_dialog.h"
#include "ui/dialogs/fade_overlay.h"
#include "ui/dialogs/wait_dialog.h"
#include "ui/pages/defrag_analysis.h"
#include "ui/rules/text_format.h"

namespace kelvane {

DefragPage::DefragPage(PageContext context, RestartFunction restart)
    : SkinnedPage(IDD_PAGE_DEFRAG, std::move(context)),
      restart_(restart ? std::move(restart) : RestartFunction(RestartWindows)) {}

bool DefragPage::OnInit() {
  SkinnedPage::OnInit();
  ShowLastDefrag();
  return true;
}

void DefragPage::OnActivated() { ShowLastDefrag(); }

void DefragPage::ShowLastDefrag() {
  const std::string last = ReadSetting(kKeyLastDefrag);
  SetText(IDC_DEFRAG_LAST,
          last.empty() ? LanguageText("L0148") : FormatChecked(LanguageText("L0251"), {last}));
}

void DefragPage::Tell(HWND owner, const char* key) const {
  MessageBoxA(owner, LanguageText(key).c_str(), ProgramProductName().c_str(),
              MB_OK | MB_ICONWARNING);
}

void DefragPage::Defragment() {
  if (running_) return;  // a second press while the windows of the first are open
  running_ = true;
  const int answer = MessageBoxA(window(), LanguageText("L0024").c_str(),
                                 LanguageText("L0025").c_str(), MB_OKCANCEL | MB_ICONWARNING);
  if (answer == IDOK) {
    FadeOverlay overlay([this](HWND owner) { AnalyseAndOffer(owner); });
    overlay.Run(MainWindowHandle());
    ShowLastDefrag();
  }
  running_ = false;
}

void DefragPage::AnalyseAndOffer(HWND owner) {
  // The worker fills its own copy of the list; it is the process's again
  // once the wait window has closed, which it does only after the worker.
  HiveList hives = ProcessHiveList();
  bool completed = false;
  WaitWindowOptions options;
  options.titleKey = "L0004";
  options.messageKey = "L0027";
  options.showProgress = true;
  options.cancellable = true;
  const WaitOutcome outcome =
      RunWithWaitWindow(owner, options, [&hives, &completed](WaitReporter& reporter) {
        completed = AnalyseHivesForWaitWindow(hives, reporter);
      });
  if (outcome == WaitOutcome::kNotStarted || outcome == WaitOutcome::kFailed) return;
  ProcessHiveList() = hives;
  if (!completed) return;
  // The result window is the user-interface thread's, like every window.
  DefragResultDialog result(SumDefragSavings(ProcessHiveList()));
  if (result.ConfirmReplacement(owner)) ReplaceAndRestart(owner);
}

void DefragPage::ReplaceAndRestart(HWND owner) {
  if (ReplaceHives(ProcessHiveList()) == 0) {
    // Nothing will change at the next start: no restart, no date to show.
    Tell(owner, "L0252");
    return;
  }
  // Written before the restart request, which may end this process.
  WriteSettingNow(kKeyLastDefrag);
  if (!restart_()) Tell(owner, "L0253");
}

bool DefragPage::OnCommand(int id, int notifyCode, HWND control) {
  if (id == IDC_DEFRAG_START && notifyCode == BN_CLICKED) {
    Defragment();
    return true;
  }
  return SkinnedPage::OnCommand(id, notifyCode, control);
}

}  // namespace kelvane
