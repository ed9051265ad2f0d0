#include "ui/help_menu.h"

#include <shellapi.h>

#include "foundation/language_table.h"
#include "foundation/scoped_handle.h"
#include "foundation/version_info.h"
#include "ui/rules/text_format.h"

namespace kelvane {

HelpCommand ShowHelpMenu(HWND owner, HWND button) {
  ScopedMenu menu(CreatePopupMenu());
  if (!menu.IsValid()) return HelpCommand::kNone;
  const auto add = [&](HelpCommand command, const char* key) {
    AppendMenuA(menu.Get(), MF_STRING, static_cast<UINT_PTR>(command), LanguageText(key).c_str());
  };
  add(HelpCommand::kHelpPage, "L0221");
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  add(HelpCommand::kLanguage, "L0223");
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  add(HelpCommand::kAbout, "L0222");

  RECT place;
  GetWindowRect(button, &place);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                     place.left, place.bottom, 0, owner, nullptr));
  switch (chosen) {
    case static_cast<int>(HelpCommand::kHelpPage):
      return HelpCommand::kHelpPage;
    case static_cast<int>(HelpCommand::kLanguage):
      return HelpCommand::kLanguage;
    case static_cast<int>(HelpCommand::kAbout):
      return HelpCommand::kAbout;
    default:
      return HelpCommand::kNone;
  }
}

std::string HelpPagePath(const std::string& programFolder) {
  return programFolder + "\\Help\\Kelvane.html";
}

bool OpenHelpPage(HWND owner, const std::string& programFolder) {
  const std::string page = HelpPagePath(programFolder);
  const INT_PTR opened = reinterpret_cast<INT_PTR>(
      ShellExecuteA(owner, "open", page.c_str(), nullptr, programFolder.c_str(), SW_SHOWNORMAL));
  if (opened > 32) return true;  // ShellExecute's way of saying it worked
  MessageBoxA(owner, FormatChecked(LanguageText("L0229"), {page}).c_str(),
              ProgramProductName().c_str(), MB_OK | MB_ICONEXCLAMATION);
  return false;
}

}  // namespace kelvane
