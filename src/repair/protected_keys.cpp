#include "repair/protected_keys.h"

#include "foundation/ansi_chars.h"
#include "foundation/case_map.h"

namespace kelvane {

namespace {

// Below HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or a user's hive, in lower case.
const char* const kContainers[] = {
    "software\\classes\\clsid",
    "software\\classes\\wow6432node\\clsid",
    "software\\wow6432node\\classes\\clsid",
    "software\\microsoft\\windows\\currentversion\\uninstall",
    "software\\microsoft\\windows\\currentversion\\run",
    "software\\microsoft\\windows\\currentversion\\runonce",
    "software\\microsoft\\windows\\currentversion\\runservices",
    "software\\microsoft\\windows\\currentversion\\runservicesonce",
    "software\\microsoft\\windows\\currentversion\\shareddlls",
    "software\\microsoft\\windows\\currentversion\\explorer\\shell folders",
    "software\\microsoft\\windows\\currentversion\\explorer\\user shell folders",
    "software\\microsoft\\windows\\currentversion\\explorer\\menuorder\\start menu\\programs",
    "software\\microsoft\\windows\\currentversion\\explorer\\menuorder\\start menu2\\programs",
    "software\\microsoft\\windows nt\\currentversion\\time zones",
    "software\\wow6432node\\microsoft\\windows\\currentversion\\uninstall",
    "system\\currentcontrolset\\control\\nls\\locale",
    "system\\controlset001\\control\\nls\\locale",
    "system\\controlset002\\control\\nls\\locale",
};

// The key or one above it.
bool IsContainerOrAbove(const std::string& lowered) {
  for (const char* container : kContainers) {
    const std::string text = container;
    if (text == lowered ||
        (text.size() > lowered.size() && text.compare(0, lowered.size(), lowered) == 0 &&
         text[lowered.size()] == '\\'))
      return true;
  }
  return false;
}

}  // namespace

bool IsProtectedKey(RootKey root, const std::string& subkey) {
  std::string key = ToLowerText(TrimTrailingAnsiChars(subkey, "\\"));
  const std::size_t first = key.find_first_not_of('\\');
  key = first == std::string::npos ? std::string() : key.substr(first);
  if (key.empty()) return true;
  switch (root) {
    case kClassesRoot:
      return IsContainerOrAbove("software\\classes\\" + key);
    case kUsers: {
      // The first name is a user's hive; below it the same keys as in
      // HKEY_CURRENT_USER.
      const std::size_t cut = FindAnsiChar(key, '\\');
      return cut == std::string::npos || IsContainerOrAbove(key.substr(cut + 1));
    }
    case kCurrentUser:
    case kLocalMachine:
      return IsContainerOrAbove(key);
    default:
      return true;  // no scan area looks into the other roots
  }
}

}  // namespace kelvane
