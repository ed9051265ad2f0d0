#pragma once
// User-interface texts by key ("L0001"), read afresh from the language
// files at every lookup.
#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace kelvane {

class LanguageTable {
 public:
  // Stores the two paths; nothing is read and nothing can fail.
  void Open(const std::string& primaryPath, const std::string& fallbackPath);

  // The key's text from the primary file, else from the fallback file, else
  // the key itself (then without escape expansion).
  std::string Lookup(const std::string& key, bool expandEscapes = true) const;

  // Replaces the caption of `window` and of every descendant that holds a
  // key by that key's text.
  void TranslateWindow(HWND window) const;

  const std::string& primaryPath() const { return primaryPath_; }
  const std::string& fallbackPath() const { return fallbackPath_; }

 private:
  // Texts already read, kept only while the file's write time and size stay
  // the same, so an edit is still seen by the next lookup.
  struct FileTexts {
    unsigned long long writeTime = 0;
    unsigned long long size = 0;
    bool exists = false;
    std::map<std::string, std::string> texts;
  };
  std::string ReadText(const std::string& key, const std::string& file, FileTexts& cache) const;

  std::string primaryPath_;
  std::string fallbackPath_;
  mutable std::mutex mutex_;  // the UI thread and the scan thread both look up
  mutable FileTexts primaryTexts_;
  mutable FileTexts fallbackTexts_;
};

// The process-wide table, opened once at start-up.
LanguageTable& ProcessLanguageTable();

// Shorthand for ProcessLanguageTable().Lookup(key, true).
std::string LanguageText(const char* key);

// The text of `key` used as a printf format.
std::string FormatLanguageText(const char* key, ...);

}  // namespace kelvane
