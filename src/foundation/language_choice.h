#pragma once
// What the language chooser offers and what the options page shows for the
// current language.
#include <string>
#include <vector>

namespace kelvane {

struct LanguageEntry {
  std::string fileName;  // with ".txt", stored in "LanguageFile"
  std::string title;     // without the extension, shown in the list
};

// One entry per "*.txt" file of `programFolder`\Language, in the order found.
std::vector<LanguageEntry> ListLanguageFiles(const std::string& programFolder);

// The value of "LanguageFile" with every ".txt" removed.
std::string LanguageTitleOf(const std::string& languageFile);

// The flag picture of a language: Language\<title>.bmp when it exists,
// otherwise Language\Default.bmp.
std::string LanguageFlagPath(const std::string& programFolder, const std::string& languageFile);

// Stores the chosen file in "LanguageFile"; true when it differs
// (case-sensitively) from `previousFile`, i.e. a restart is needed.
bool StoreLanguageChoice(const std::string& chosenFile, const std::string& previousFile);

}  // namespace kelvane
