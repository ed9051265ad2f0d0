#include "ui/help_menu.h"

#include "foundation/language_table.h"
#include "foundation/scoped_handle.h"

namespace kelvane {

HelpCommand ShowHelpMenu(HWND owner, HWND button) {
  ScopedMenu menu(CreatePopupMenu());
  if (!menu.IsValid()) return HelpCommand::kNone;
  AppendMenuA(menu.Get(), MF_STRING, static_cast<UINT_PTR>(HelpCommand::kLanguage),
              LanguageText("L0223").c_str());
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.Get(), MF_STRING, static_cast<UINT_PTR>(HelpCommand::kAbout),
              LanguageText("L0222").c_str());

  RECT place;
  GetWindowRect(button, &place);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                     place.left, place.bottom, 0, owner, nullptr));
  switch (chosen) {
    case static_cast<int>(HelpCommand::kLanguage):
      return HelpCommand::kLanguage;
    case static_cast<int>(HelpCommand::kAbout):
      return HelpCommand::kAbout;
    default:
      return HelpCommand::kNone;
  }
}

}  // namespace kelvane
