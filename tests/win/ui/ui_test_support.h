#pragma once
// What the window tests share: GDI+ for the skin pictures, a scratch program
// folder with the English language file and, on request, the skin, a page in
// a host window, and message boxes answered from a second thread.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "modal_driver.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"
#include "test_dialog_ids.h"
#include "ui/dialog.h"

namespace kelvane {

class GdiplusScope {
 public:
  GdiplusScope() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
  }
  ~GdiplusScope() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
  }

 private:
  ULONG_PTR token_ = 0;
};

class ProgramFolder {
 public:
  explicit ProgramFolder(bool withSkin = false) {
    SetSettingsPaths(folder_ / "Settings.ini", folder_ / "Settings.xml");
    Copy("Language\\English.txt");
    ProcessLanguageTable().Open(folder_ / "Language\\English.txt",
                                folder_ / "Language\\English.txt");
    if (withSkin)
      for (const char* name : {"main.bmp", "btn_normal.png", "btn_hover.png", "btn_disable.png"})
        Copy(std::string("Skin\\Default\\") + name);
  }
  ~ProgramFolder() {
    SetSettingsPaths("", "");
    UseRepositoryLanguage();
  }

  const std::string& path() const { return folder_.path(); }
  const ScratchFolder& files() const { return folder_; }

 private:
  void Copy(const std::string& name) {
    folder_.MakeFolder(name.substr(0, name.rfind('\\')));
    CopyFileA(SourcePath("package\\" + name).c_str(), (folder_ / name).c_str(), FALSE);
  }
  ScratchFolder folder_;
};

// A page alone in a host window; the page goes first, as in the main window.
template <class Page>
struct HostedPage {
  template <class... Args>
  explicit HostedPage(Args&&... args) : page(std::forward<Args>(args)...) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    host.Create(nullptr);
    page.Create(host.window());
  }
  Page* operator->() { return &page; }
  std::string Text(int id) const { return WindowTextOf(page.Item(id)); }
  bool Enabled(int id) const { return IsWindowEnabled(page.Item(id)) != FALSE; }
  bool Ticked(int id) const {
    return SendMessageA(page.Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void Click(int id) const { SendMessageA(page.Item(id), BM_CLICK, 0, 0); }

  Dialog host{IDD_TEST_DIALOG};
  Page page;
};

inline std::string BoxText(HWND box) { return WindowTextOf(GetDlgItem(box, 0xFFFF)); }

// Runs `action` while the boxes captioned `captions` are answered in turn with
// `answer`; their texts "|"-joined, up to the first that did not come.
inline std::string AnswerBoxes(const std::vector<std::string>& captions,
                               const std::function<void()>& action, int answer = IDOK,
                               DWORD timeoutMs = 5000) {
  std::string told;
  ModalDriver driver([&](ModalDriver& d) {
    for (const std::string& caption : captions) {
      const HWND box = d.WaitForWindow("#32770", caption, timeoutMs);
      if (box == nullptr) return;
      told += (told.empty() ? "" : "|") + BoxText(box);
      PostMessageA(box, WM_COMMAND, answer, 0);
      d.WaitUntilGone(box);
    }
  });
  action();
  driver.Finish();
  return told;
}

}  // namespace kelvane
