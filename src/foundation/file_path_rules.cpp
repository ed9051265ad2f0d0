#include "foundation/file_path_rules.h"

#include "foundation/ansi_chars.h"
#include "foundation/case_map.h"
#include "foundation/wildcard.h"

namespace kelvane {

namespace {

// Removes leading and trailing blanks and double quotes, nothing inside.
void Trim(std::string& s) {
  const std::size_t first = s.find_first_not_of(" \"");
  if (first == std::string::npos) {
    s.clear();
    return;
  }
  const std::size_t last = s.find_last_not_of(" \"");
  s = s.substr(first, last - first + 1);
}

bool Contains(const std::string& s, const char* what) { return s.find(what) != std::string::npos; }

void CutBefore(std::string& s, std::size_t pos) {
  s.erase(pos);
  Trim(s);
}

std::size_t CountDriveSeparators(const std::string& s) {
  std::size_t count = 0;
  for (std::size_t pos = s.find(":\\"); pos != std::string::npos; pos = s.find(":\\", pos + 2))
    ++count;
  return count;
}

}  // namespace

bool ExtractFilePathWith(const std::string& text, std::string& path,
                         const FixedDriveTest& isFixedDrive) {
  path.clear();
  std::string s = text;

  Trim(s);
  if (s.size() < 3 || s[1] != ':' || s[2] != '\\') return false;
  if (Contains(s, ",") || Contains(s, ";") || Contains(s, "!")) return false;

  const std::size_t lastDot = s.rfind('.');
  if (lastDot != std::string::npos && s.find('[', lastDot) != std::string::npos) return false;

  const std::size_t slash = s.find('/');
  if (slash != std::string::npos) CutBefore(s, slash);

  // A second colon starts another path ("C:\\Data D:\\Backup"): cutting
  // there would make up a path that neither text names.
  const std::size_t drive = s.find(":\\");
  if (drive != std::string::npos && s.find(':', drive + 2) != std::string::npos) return false;

  if (Contains(s, "*") || Contains(s, " -")) return false;

  const std::size_t quote = s.find('"');
  if (quote != std::string::npos) CutBefore(s, quote);

  if (Contains(s, "'")) return false;

  const std::size_t firstDot = s.find('.');
  if (firstDot != std::string::npos && s.find(' ', firstDot) != std::string::npos) return false;

  if (CountDriveSeparators(s) != 1) return false;

  const std::string letter = ToUpperText(s.substr(0, 1));
  if (!isFixedDrive || !isFixedDrive(letter[0])) return false;

  Trim(s);
  if (WildcardMatch("*\\system32\\*", ToLowerText(s))) return false;

  path = s;
  return true;
}

std::string GetFileNameOf(const std::string& path, bool keepExtension) {
  const std::size_t sep = FindLastAnsiChar(path, "\\:");
  std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
  if (!keepExtension) {
    const std::size_t dot = FindLastAnsiChar(name, ".");
    if (dot != std::string::npos) name.erase(dot);
  }
  return name;
}

}  // namespace kelvane
