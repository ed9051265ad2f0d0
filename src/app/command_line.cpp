#include "app/command_line.h"

#include <algorithm>

#include "foundation/case_map.h"

namespace kelvane {

namespace {

std::vector<std::string> g_words;

void EndWord(std::string& word, bool lowerCase, std::vector<std::string>& words) {
  const std::size_t first = word.find_first_not_of(" /-");
  if (first != std::string::npos) {
    const std::size_t last = word.find_last_not_of(" /-");
    std::string trimmed = word.substr(first, last - first + 1);
    words.push_back(lowerCase ? ToLowerText(trimmed) : trimmed);
  }
  word.clear();
}

}  // namespace

std::vector<std::string> SplitCommandLine(const char* text, bool lowerCase) {
  std::vector<std::string> words;
  if (text == nullptr) return words;
  std::string word;
  bool quoted = false;
  for (const char* c = text; *c != 0; ++c) {
    if (*c == '"') {
      EndWord(word, lowerCase, words);
      quoted = !quoted;
    } else if (*c == ' ' && !quoted) {
      EndWord(word, lowerCase, words);
    } else {
      word += *c;
    }
  }
  EndWord(word, lowerCase, words);
  return words;
}

void SetCommandLineWords(const std::vector<std::string>& words) { g_words = words; }

const std::vector<std::string>& CommandLineWords() { return g_words; }

bool HasCommandLineWord(const std::string& word) {
  return std::find(g_words.begin(), g_words.end(), word) != g_words.end();
}

}  // namespace kelvane
