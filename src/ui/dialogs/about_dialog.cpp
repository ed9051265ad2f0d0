#include "ui/dialogs/about_dialog.h"

#include "foundation/program_paths.h"
#include "foundation/version_info.h"
#include "resource_ids.h"
#include "ui/program_title.h"
#include "ui/window_geometry.h"

namespace kelvane {

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}

bool AboutDialog::OnInit() {
  const HWND title = Item(IDC_ABOUT_PRODUCT);
  SetWindowTextA(title, ProgramTitle().c_str());
  SetWindowTextA(Item(IDC_ABOUT_LICENCE),
                 GetVersionString("LegalCopyright", GetProgramFilePath()).c_str());

  // The product line in bold, a little larger than the dialog font.
  LOGFONTA font = {};
  const HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(window(), WM_GETFONT, 0, 0));
  if (dialogFont != nullptr && GetObjectA(dialogFont, sizeof font, &font) == sizeof font) {
    font.lfWeight = FW_BOLD;
    font.lfHeight = font.lfHeight * 5 / 4;
    titleFont_.Reset(CreateFontIndirectA(&font));
    if (titleFont_.IsValid())
      SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);
  }
  CentreOnOwner(window());
  return true;
}

}  // namespace kelvane
