// The scan-area dialog: a choice that cannot be saved is reported and the
// dialog stays for another try.
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

TEST(AreaDialog, AChoiceThatCannotBeSavedIsReportedAndTheDialogStays) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  ComApartment com;
  ProgramFolder program;
  std::string xml = "<Config><Areas>";
  for (ScanArea area : kScanAreas)
    xml += std::string("<") + AreaElementName(area) + " default=\"1\" custom=\"0\"/>";
  const std::string path = program.files().WriteFile(
      "Settings.xml", xml + "</Areas><Exclude><default/><custom/></Exclude></Config>");
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
  EXPECT_FALSE(ChooseScanAreas(nullptr, path)) << "cancelled after the failed save";
  driver.Finish();
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_NE(message.find("could not be saved"), std::string::npos) << message;
  EXPECT_TRUE(stayedOpen) << "the choice is still there to retry";
}
