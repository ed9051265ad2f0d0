#include "foundation/language_choice.h"

#include "foundation/file_checks.h"
#include "foundation/find_handle.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"

namespace kelvane {

namespace {

int AddLanguageEntry(const std::string& fullPath, const std::string&, WIN32_FIND_DATAA,
                     void* userData) {
  auto* entries = static_cast<std::vector<LanguageEntry>*>(userData);
  entries->push_back({GetFileNameOf(fullPath, true), GetFileNameOf(fullPath, false)});
  return 1;
}

}  // namespace

std::vector<LanguageEntry> ListLanguageFiles(const std::string& programFolder) {
  std::vector<LanguageEntry> entries;
  SearchFiles(programFolder + "\\Language", PatternTable{{"*.txt", ""}}, AddLanguageEntry, &entries,
              {});
  return entries;
}

std::string LanguageTitleOf(const std::string& languageFile) {
  std::string title = languageFile;
  for (std::size_t pos = title.find(".txt"); pos != std::string::npos;
       pos = title.find(".txt", pos))
    title.erase(pos, 4);
  return title;
}

std::string LanguageFlagPath(const std::string& programFolder, const std::string& languageFile) {
  const std::string folder = programFolder + "\\Language\\";
  const std::string flag = folder + LanguageTitleOf(languageFile) + ".bmp";
  FindHandle find(flag);
  return find.IsOpen() ? flag : folder + "Default.bmp";
}

bool StoreLanguageChoice(const std::string& chosenFile, const std::string& previousFile) {
  WriteSetting(kKeyLanguageFile, chosenFile);
  return chosenFile != previousFile;
}

}  // namespace kelvane
