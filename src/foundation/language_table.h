#pragma once
// User-interface texts by key ("L0001"), read afresh from the language
// files at every lookup.
#include <windows.h>

#include <string>

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
  std::string primaryPath_;
  std::string fallbackPath_;
};

// The process-wide table, opened once at start-up.
LanguageTable& Language();

// Shorthand for Language().Lookup(key, true).
std::string Text(const char* key);

// The text of `key` used as a printf format.
std::string FormatText(const char* key, ...);
