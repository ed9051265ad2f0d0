#pragma once
// What the window tests share: GDI+ for the skin pictures, a program folder
// with language files and the shipped skin.
#include <windows.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>

#include <string>

#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

namespace kelvane {

// GDI+ for one test, as start-up starts it for the program.
class GdiplusScope {
 public:
  GdiplusScope() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
  }
  ~GdiplusScope() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
  }
  GdiplusScope(const GdiplusScope&) = delete;
  GdiplusScope& operator=(const GdiplusScope&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

// A scratch program folder: Settings.ini in it, Language\English.txt (the
// repository's, also the language in use) and, on request, the shipped skin
// in Skin\Default.
class ProgramFolder {
 public:
  explicit ProgramFolder(bool withSkin = false) {
    SetSettingsPaths(folder_ / "Settings.ini", folder_ / "Settings.xml");
    folder_.MakeFolder("Language");
    const std::string english = folder_ / "Language\\English.txt";
    CopyFileA(SourcePath("package\\Language\\English.txt").c_str(), english.c_str(), FALSE);
    ProcessLanguageTable().Open(english, english);
    if (!withSkin) return;
    folder_.MakeFolder("Skin\\Default");
    for (const char* name : {"main.bmp", "btn_normal.png", "btn_hover.png", "btn_disable.png"}) {
      const std::string target = folder_ / (std::string("Skin\\Default\\") + name);
      CopyFileA(SourcePath(std::string("package\\Skin\\Default\\") + name).c_str(), target.c_str(),
                FALSE);
    }
  }
  ~ProgramFolder() {
    SetSettingsPaths("", "");
    UseRepositoryLanguage();
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::string& path() const { return folder_.path(); }
  const ScratchFolder& files() const { return folder_; }

 private:
  ScratchFolder folder_;
};

}  // namespace kelvane
