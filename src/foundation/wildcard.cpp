#include "foundation/wildcard.h"

namespace kelvane {

bool WildcardMatch(const std::string& pattern, const std::string& text) {
  const std::size_t pn = pattern.size();
  const std::size_t tn = text.size();
  std::size_t p = 0;
  std::size_t t = 0;

  // Literal prefix up to the first star.
  while (t < tn && !(p < pn && pattern[p] == '*')) {
    if (p >= pn || (pattern[p] != text[t] && pattern[p] != '?')) return false;
    ++p;
    ++t;
  }

  // One back-tracking point: the pattern after the last star seen.
  std::size_t backtrack = pn;
  std::size_t resume = 0;
  bool haveBacktrack = false;
  while (t < tn) {
    if (p < pn && pattern[p] == '*') {
      if (++p == pn) return true;
      backtrack = p;
      resume = t + 1;
      haveBacktrack = true;
    } else if (p < pn && (pattern[p] == text[t] || pattern[p] == '?')) {
      ++p;
      ++t;
    } else {
      if (!haveBacktrack) return false;
      p = backtrack;
      t = resume++;
    }
  }

  while (p < pn && pattern[p] == '*') ++p;
  return p == pn;
}

}  // namespace kelvane
