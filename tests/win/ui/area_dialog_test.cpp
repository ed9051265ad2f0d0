// The scan-area dialog: the user's ticks shown, the factory's restored without saving, OK
// writing them, and a write that cannot happen reported instead of shown as done.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "foundation/com_ptr.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "scan/scan_config.h"
#include "ui/dialogs/area_dialog.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

// Settings.xml with the user's and the factory's choice of areas.
std::string ConfigText(const std::string& custom, const std::string& factory) {
  std::string xml = "<Config><Areas>";
  for (ScanArea area : kScanAreas) {
    const std::size_t i = AreaIndex(area);
    xml += std::string("<") + AreaElementName(area) + " default=\"" + factory[i] + "\" custom=\"" +
           custom[i] + "\"/>";
  }
  return xml + "</Areas><Exclude><default/><custom/></Exclude></Config>";
}

std::string AsText(const AreaFlags& flags) {
  std::string text;
  for (bool on : flags) text += on ? '1' : '0';
  return text;
}

class AreaDialogTest : public ::testing::Test {
 protected:
  AreaDialogTest() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
  }
  ComApartment com;
  ProgramFolder program;
  const ScratchFolder& folder() const { return program.files(); }
};

}  // namespace

TEST_F(AreaDialogTest, ShowsTheUserChoiceRestoresTheFactoryOneAndSavesOnlyOnOk) {
  const std::string path =
      folder().WriteFile("Settings.xml", ConfigText("10101010101", "11111111110"));
  AreaDialog dialog(path);
  ASSERT_NE(dialog.Create(nullptr), nullptr) << "the template must load";
  EXPECT_EQ(WindowTextOf(dialog.window()), "Scan Areas") << "caption translated";
  EXPECT_EQ(ListView_GetItemCount(dialog.Item(IDC_AREA_LIST)), 11) << "one row per area";
  EXPECT_EQ(AsText(dialog.Ticked()), "10101010101") << "the user's copy";
  SendMessageA(dialog.window(), WM_COMMAND, IDC_AREA_DEFAULTS, 0);
  EXPECT_EQ(AsText(dialog.Ticked()), "11111111110") << "the factory's copy";
  EXPECT_EQ(AsText(ReadAreaFlags(path, false)), "10101010101") << "restoring saves nothing";
  SendMessageA(dialog.window(), WM_COMMAND, IDOK, 0);
  EXPECT_EQ(AsText(ReadAreaFlags(path, false)), "11111111110") << "OK writes the ticks";
  EXPECT_EQ(AsText(ReadAreaFlags(path, true)), "11111111110") << "the factory copy is kept";
}

TEST_F(AreaDialogTest, AChoiceThatCannotBeSavedIsReportedAndTheDialogStays) {
  const std::string path =
      folder().WriteFile("Settings.xml", ConfigText("00000000000", "11111111111"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  std::string message;
  bool stayedOpen = false;
  ModalDriver driver([&](ModalDriver& d) {
    const HWND areas = d.WaitForWindow("#32770", "Scan Areas");
    if (areas == nullptr) return;
    PostMessageA(areas, WM_COMMAND, IDC_AREA_DEFAULTS, 0);
    PostMessageA(areas, WM_COMMAND, IDOK, 0);
    const HWND box = d.WaitForWindow("#32770", "Kelvane");
    if (box == nullptr) return;
    message = WindowTextOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    d.WaitUntilGone(box);
    stayedOpen = IsWindowVisible(areas) != FALSE;
    PostMessageA(areas, WM_COMMAND, IDCANCEL, 0);
  });
  const bool saved = ChooseScanAreas(nullptr, path);
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_FALSE(saved) << "cancelled after the failed save";
  EXPECT_NE(message.find("could not be saved"), std::string::npos) << message;
  EXPECT_TRUE(stayedOpen) << "the choice is still there to retry";
  EXPECT_EQ(AsText(ReadAreaFlags(path, false)), "00000000000") << "the file is unchanged";
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}
