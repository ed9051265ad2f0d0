#pragma once
// The defragmentation page (page 2): tells when the registry was last
// defragmented and runs the defragmentation through its windows. After a
// confirmation the screen dims (the overlay), the hives are analysed on the
// wait window's worker, and once the worker has returned the result window
// shows what the compact copies save. Only when the user asks for it, and
// confirms the restart, are the copies handed to the system; the restart
// and "LastDefrag" follow only when the system accepted at least one.
#include <functional>

#include "ui/pages/skinned_page.h"

namespace kelvane {

class DefragPage : public SkinnedPage {
 public:
  // Asks Windows to restart; true when the request was accepted.
  using RestartFunction = std::function<bool()>;

  // `restart` defaults to RestartWindows; tests give their own.
  explicit DefragPage(PageContext context, RestartFunction restart = RestartFunction());
  ~DefragPage() override { Destroy(); }

  // The start button's command: everything from the first question to the
  // restart request.
  void Defragment();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnActivated() override;

 private:
  void ShowLastDefrag();
  // Behind the overlay: the analysis, the result window and what the user
  // chose there. Every window it opens is owned by `owner`.
  void AnalyseAndOffer(HWND owner);
  void ReplaceAndRestart(HWND owner);
  void Tell(HWND owner, const char* key) const;

  RestartFunction restart_;
  bool running_ = false;
};

}  // namespace kelvane
