#pragma once
// What the window tests share: GDI+ for the skin pictures, and a scratch
// program folder with the English language file and, on request, the skin.
#include <windows.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

#include <string>

#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

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

}  // namespace kelvane
