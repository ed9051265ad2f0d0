// The dialog framework: translation before showing, dispatch, the end of
// modal and modeless dialogs, exceptions at the procedure, page hooks.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "modal_driver.h"
#include "support/test_paths.h"
#include "test_dialog_ids.h"
#include "ui/page.h"

using namespace kelvane;

namespace {

class TestDialog : public Dialog {
 public:
  explicit TestDialog(bool throwInInit = false)
      : Dialog(IDD_TEST_DIALOG), throwInInit_(throwInInit) {}
  ~TestDialog() override { Destroy(); }

  bool throwOnButton = false;
  int buttonPresses = 0;
  std::string captions;  // caption|label|plain text|button, as OnInit saw them
  bool visibleAtInit = true;
  LONG_PTR userDataAtInit = 0;

 protected:
  bool OnInit() override {
    captions = WindowTextOf(window()) + "|" + WindowTextOf(Item(IDC_TEST_LABEL)) + "|" +
               WindowTextOf(Item(IDC_TEST_PLAIN)) + "|" + WindowTextOf(Item(IDC_TEST_BUTTON));
    visibleAtInit = IsWindowVisible(window()) != FALSE;
    userDataAtInit = GetWindowLongPtrA(window(), DWLP_USER);
    if (throwInInit_) throw std::runtime_error("initialisation failed");
    return true;
  }
  bool OnCommand(int id, int notifyCode, HWND control) override {
    if (id != IDC_TEST_BUTTON) return Dialog::OnCommand(id, notifyCode, control);
    ++buttonPresses;
    if (throwOnButton) throw std::runtime_error("command failed");
    End(77);
    return true;
  }

 private:
  const bool throwInInit_;
};

class TestPage : public Page {
 public:
  TestPage() : Page(IDD_TEST_PAGE) {}
  ~TestPage() override { Destroy(); }
  std::string events;

 protected:
  void OnActivated() override { events += IsWindowVisible(window()) ? "on(shown)" : "on(hidden)"; }
  void OnDeactivated() override {
    events += IsWindowVisible(window()) ? " off(shown)" : " off(hidden)";
  }
};

bool ThreadShowsADialog() {
  bool shown = false;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        if (IsWindowVisible(window)) *reinterpret_cast<bool*>(found) = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&shown));
  return shown;
}

}  // namespace

TEST(Dialog, TranslatesItsCaptionsBeforeItIsShownAndEndsModalWithTheResultGiven) {
  UseRepositoryLanguage();
  TestDialog dialog;
  ModalDriver driver([](ModalDriver& d) {
    if (const HWND window = d.WaitForWindow("#32770", "About Kelvane"))
      PostMessageA(window, WM_COMMAND, IDC_TEST_BUTTON, 0);
  });
  const INT_PTR result = dialog.DoModal(nullptr);
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(result, 77) << "the value given to End";
  EXPECT_EQ(dialog.captions, "About Kelvane|OK|not a key|Cancel")
      << "keys replaced, other texts kept";
  EXPECT_FALSE(dialog.visibleAtInit) << "translated and initialised before it is shown";
  EXPECT_EQ(dialog.userDataAtInit, reinterpret_cast<LONG_PTR>(&dialog)) << "this at DWLP_USER";
  EXPECT_EQ(dialog.window(), nullptr) << "the object forgets its window when it goes";
}

TEST(Dialog, AnExceptionEndsOnlyTheMessageThatThrewOrTheDialogWhoseInitialisationThrew) {
  UseRepositoryLanguage();
  TestDialog dialog;
  dialog.throwOnButton = true;
  bool openAfterThrow = false;
  ModalDriver driver([&](ModalDriver& d) {
    const HWND window = d.WaitForWindow("#32770", "About Kelvane");
    if (window == nullptr) return;
    SendMessageA(window, WM_COMMAND, IDC_TEST_BUTTON, 0);  // returns once handled
    openAfterThrow = IsWindowVisible(window) != FALSE;
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  });
  const INT_PTR result = dialog.DoModal(nullptr);
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(dialog.buttonPresses, 1) << "the throwing handler ran";
  EXPECT_TRUE(openAfterThrow) << "the dialog survived the exception";
  EXPECT_EQ(result, IDCANCEL) << "and still answered Cancel";

  TestDialog failingModal(true);
  ModalDriver rescue([](ModalDriver&) {});  // nothing to answer: the dialog must not appear
  EXPECT_EQ(failingModal.DoModal(nullptr), -1) << "a modal dialog whose OnInit threw";
  rescue.Finish();
  TestDialog failingModeless(true);
  EXPECT_EQ(failingModeless.Create(nullptr), nullptr) << "a modeless dialog whose OnInit threw";
  EXPECT_FALSE(ThreadShowsADialog()) << "no window of a failed dialog is left";
}

TEST(Dialog, AModelessDialogStaysHiddenUntilShownAndGoesWithItsObject) {
  UseRepositoryLanguage();
  HWND made = nullptr;
  {
    TestDialog dialog;
    made = dialog.Create(nullptr);
    ASSERT_NE(made, nullptr) << "the template exists";
    EXPECT_FALSE(dialog.IsModal()) << "made modeless";
    EXPECT_FALSE(IsWindowVisible(made)) << "its template does not say WS_VISIBLE";
    EXPECT_EQ(dialog.Create(nullptr), nullptr) << "one window per object";
    EXPECT_EQ(WindowTextOf(made), "About Kelvane") << "translated like a modal one";
  }
  EXPECT_FALSE(IsWindow(made)) << "the object's end destroyed the window";

  TestDialog dialog;
  const HWND again = dialog.Create(nullptr);
  dialog.Destroy();
  EXPECT_FALSE(IsWindow(again)) << "Destroy destroys";
  EXPECT_EQ(dialog.window(), nullptr) << "and the object forgets the window";
}

TEST(Page, IsAChildOfItsHostAndHearsWhenItIsShownAndHidden) {
  UseRepositoryLanguage();
  TestDialog host;
  ASSERT_NE(host.Create(nullptr), nullptr);
  TestPage page;
  const HWND window = page.Create(host.window());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetParent(window), host.window()) << "a child of the host";
  EXPECT_TRUE(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) << "a child window";
  EXPECT_EQ(WindowTextOf(page.Item(IDC_TEST_LABEL)), "Home") << "a page is translated too";

  ShowWindow(host.window(), SW_SHOWNA);
  Page::Activate(window);
  Page::Deactivate(window);
  EXPECT_EQ(page.events, "on(shown) off(hidden)")
      << "activated once shown, deactivated once hidden";
  EXPECT_FALSE(IsWindowVisible(window)) << "hidden again";
}
