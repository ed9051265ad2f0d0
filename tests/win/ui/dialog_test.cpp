// The dialog framework: the result given to End, and an exception that ends
// only the message that threw, not the dialog.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "modal_driver.h"
#include "support/test_paths.h"
#include "test_dialog_ids.h"
#include "ui/dialog.h"

using namespace kelvane;

namespace {

class TestDialog : public Dialog {
 public:
  TestDialog() : Dialog(IDD_TEST_DIALOG) {}
  ~TestDialog() override { Destroy(); }
  bool throwOnButton = false;

 protected:
  bool OnCommand(int id, int notifyCode, HWND control) override {
    if (id != IDC_TEST_BUTTON) return Dialog::OnCommand(id, notifyCode, control);
    if (throwOnButton) throw std::runtime_error("command failed");
    End(77);
    return true;
  }
};

}  // namespace

TEST(Dialog, EndsWithTheResultGivenAndSurvivesAThrowingHandler) {
  UseRepositoryLanguage();
  for (const bool throwing : {false, true}) {
    TestDialog dialog;
    dialog.throwOnButton = throwing;
    bool openAfterButton = false;
    ModalDriver driver([&](ModalDriver& d) {
      const HWND window = d.WaitForWindow("#32770", "About Kelvane");
      if (window == nullptr) return;
      SendMessageA(window, WM_COMMAND, IDC_TEST_BUTTON, 0);
      openAfterButton = IsWindowVisible(window) != FALSE;
      if (openAfterButton) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    const INT_PTR result = dialog.DoModal(nullptr);
    driver.Finish();
    EXPECT_TRUE(driver.ok()) << driver.report();
    EXPECT_EQ(openAfterButton, throwing) << "only a throwing handler leaves the dialog open";
    EXPECT_EQ(result, throwing ? IDCANCEL : 77) << "throwing " << throwing;
  }
}
