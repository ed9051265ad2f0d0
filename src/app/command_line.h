#pragma once
// The words of the program's command line.
#include <string>
#include <vector>

namespace kelvane {

// Cuts at blanks outside double quotes; a quote also ends the word before
// it. Blanks, '/' and '-' are trimmed from both ends of each word, empty
// words dropped; with `lowerCase` the words are lower-cased.
std::vector<std::string> SplitCommandLine(const char* text, bool lowerCase);

// Set once at start-up.
void SetCommandLineWords(const std::vector<std::string>& words);
const std::vector<std::string>& CommandLineWords();

// Whether some word equals `word` exactly.
bool HasCommandLineWord(const std::string& word);

}  // namespace kelvane
