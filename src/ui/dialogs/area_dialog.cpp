#include "ui/dialogs/area_dialog.h"

#include <commctrl.h>

#include <utility>

#include "foundation/language_table.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "scan/scan_config.h"
#include "ui/window_geometry.h"

namespace kelvane {

namespace {

constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);
constexpr UINT kUnticked = INDEXTOSTATEIMAGEMASK(1);

}  // namespace

AreaDialog::AreaDialog(std::string configPath)
    : Dialog(IDD_AREAS), configPath_(std::move(configPath)) {}

bool AreaDialog::OnInit() {
  const HWND list = Item(IDC_AREA_LIST);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  RECT client = {};
  GetClientRect(list, &client);
  LVCOLUMNA column = {};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  for (ScanArea area : kScanAreas) {
    const std::string label = LanguageText(AreaLabelKey(area));
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(AreaIndex(area));
    item.pszText = const_cast<char*>(label.c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  Show(ReadAreaFlags(configPath_, false));
  CentreOnOwner(window());
  return true;
}

void AreaDialog::Show(const AreaFlags& flags) {
  const HWND list = Item(IDC_AREA_LIST);
  for (ScanArea area : kScanAreas) {
    const int row = static_cast<int>(AreaIndex(area));
    ListView_SetItemState(list, row, flags[AreaIndex(area)] ? kTicked : kUnticked,
                          LVIS_STATEIMAGEMASK);
  }
}

AreaFlags AreaDialog::Ticked() const {
  AreaFlags flags{};
  const HWND list = Item(IDC_AREA_LIST);
  for (ScanArea area : kScanAreas) {
    const int row = static_cast<int>(AreaIndex(area));
    flags[AreaIndex(area)] = (ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) == kTicked);
  }
  return flags;
}

bool AreaDialog::OnCommand(int id, int notifyCode, HWND control) {
  if (id == IDC_AREA_DEFAULTS) {
    Show(ReadAreaFlags(configPath_, true));
    return true;
  }
  if (id == IDOK) {
    // A choice that did not reach the file must not look saved: the dialog
    // stays open so the user can retry or cancel.
    if (!WriteAreaFlags(configPath_, Ticked())) {
      MessageBoxA(window(), LanguageText("L0226").c_str(), ProgramProductName().c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
      return true;
    }
    End(IDOK);
    return true;
  }
  return Dialog::OnCommand(id, notifyCode, control);
}

bool ChooseScanAreas(HWND owner, const std::string& configPath) {
  AreaDialog dialog(configPath);
  return dialog.DoModal(owner) == IDOK;
}

}  // namespace kelvane
