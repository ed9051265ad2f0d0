#include "scan/class_checkers.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "foundation/ansi_chars.h"
#include "foundation/case_map.h"
#include "foundation/file_path_rules.h"
#include "foundation/registry_access.h"
#include "foundation/registry_key.h"
#include "foundation/value_format.h"
#include "foundation/wildcard.h"
#include "scan/missing_path.h"
#include "scan/scan_issue.h"

namespace kelvane {

namespace {

constexpr DWORD kMinimumIdentifierBuffer = 256;
constexpr DWORD kCommandBuffer = 500;  // longer commands are not judged
// A server text of any length is read: one that cannot be judged keeps its class.
constexpr DWORD kServerTextLimit = 65536;

// "CLSID\{GUID}\InprocServer32" -> "CLSID\{GUID}"; a path without a
// backslash stays as it is.
std::string ParentKeyOf(const std::string& path) {
  const std::size_t cut = FindLastAnsiChar(path, "\\");
  return cut == std::string::npos ? path : path.substr(0, cut);
}

// A key that ends in a class identifier somewhere below a CLSID key.
bool IsClassKey(const std::string& key) {
  return WildcardMatch("*clsid\\{*-*-*-*-*}", ToLowerText(key));
}

// The key's default value as zero-terminated text, whatever its type; false
// when it cannot be read or takes more than `bufferSize` bytes.
bool ReadDefaultText(HKEY key, DWORD bufferSize, std::string& text) {
  return ReadValueText(key, "", bufferSize, text);
}

// A class whose server still works is in use, whatever else it names: a
// missing icon must not delete it. A server entry whose text is not judged
// missing (it exists, or it names no local path that could be judged)
// counts as working.
bool HasWorkingServer(RootKey root, const std::string& classKey) {
  static const char* const kServerKeys[] = {"InprocServer32", "LocalServer32", "InprocHandler32"};
  for (const char* server : kServerKeys) {
    RegKey key;
    std::string text, missing;
    if (key.Open(root, classKey + "\\" + server) == ERROR_SUCCESS &&
        ReadDefaultText(key.Get(), kServerTextLimit, text) && !text.empty() &&
        !FindMissingPath(text, missing))
      return true;
  }
  return false;
}

// The program identifier that the extension key names in its default
// value, when a key of that name exists beside it; else the extension
// itself, which then stands for its own program.
std::string ProgramIdentifierOf(RootKey root, const std::string& parentPath,
                                const std::string& extension, const std::string& extKey) {
  std::string identifier;
  {
    RegKey key;
    if (key.Open(root, extKey) == ERROR_SUCCESS) {
      const DWORD longest = LongestValueData(key.Get());
      ReadDefaultText(key.Get(), std::max(longest + 1, kMinimumIdentifierBuffer), identifier);
    }
  }
  // An identifier is one key name. Text with a backslash would lead
  // elsewhere in the tree (or, as "\", back to the classes key itself), and
  // that key would then be reported for deletion.
  if (identifier.empty() || identifier.find('\\') != std::string::npos) return extension;
  if (!OpenRegKey(root, JoinKeyPath(parentPath, identifier)).IsOpen()) return extension;
  return identifier;
}

// Removes a trailing argument placeholder: "app.exe" "%1" -> "app.exe" ".
// Only a '%' after the last space counts.
std::string WithoutTrailingPlaceholder(std::string command) {
  const std::size_t lastSpace = command.rfind(' ');
  if (lastSpace == std::string::npos) return command;
  const std::size_t percent = command.find('%', lastSpace);
  if (percent != std::string::npos) command.erase(percent);
  return command;
}

void CheckExtension(ScanContext& scan, RootKey root, const std::string& parentPath,
                    const std::string& extension, const std::string& extKey) {
  const std::string progKey =
      JoinKeyPath(parentPath, ProgramIdentifierOf(root, parentPath, extension, extKey));

  RegKey program;
  if (program.Open(root, progKey) != ERROR_SUCCESS) return;
  RegKey command;
  if (command.Open(program.Get(), "Shell\\Open\\Command") != ERROR_SUCCESS) return;
  std::string rawCommand;
  if (!ReadDefaultText(command.Get(), kCommandBuffer, rawCommand)) return;

  std::string missing;
  if (!FindMissingPath(WithoutTrailingPlaceholder(rawCommand), missing)) return;

  AddIssue(scan, MakeKeyIssue(root, extKey, "", IssueCategory::kFileAssociation, rawCommand));
  if (lstrcmpiA(progKey.c_str(), extKey.c_str()) != 0)
    AddIssue(scan, MakeKeyIssue(root, progKey, "", IssueCategory::kFileAssociation, rawCommand));
}

}  // namespace

int CheckComServerValue(RootKey root, const std::string& keyPath, const std::string& valueName,
                        std::uint32_t, std::uint32_t type, const unsigned char* data,
                        std::uint32_t dataLength, void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  // Only the default value of a subkey of a class key names a file; the
  // pattern test comes first because it costs no file-system call.
  const std::string classKey = ParentKeyOf(keyPath);
  std::string missing;
  if (type == kTypeString && valueName.empty() && IsClassKey(classKey) &&
      FindMissingPath(DataAsText(data, dataLength), missing) && !HasWorkingServer(root, classKey))
    AddIssue(scan, MakeKeyIssue(root, classKey, "", IssueCategory::kComObject,
                                GetFileNameOf(missing, true)));
  return ContinueAnswer(scan);
}

int CheckFileAssociation(RootKey root, const std::string& parentPath, const std::string& subkeyName,
                         std::uint32_t, std::uint32_t, const unsigned char*, std::uint32_t,
                         void* context) {
  ScanContext& scan = *static_cast<ScanContext*>(context);
  const std::string extKey = JoinKeyPath(parentPath, subkeyName);
  ReportCurrentKey(scan, extKey, false);
  if (WildcardMatch(".*", subkeyName)) CheckExtension(scan, root, parentPath, subkeyName, extKey);
  return ContinueAnswer(scan);
}

}  // namespace kelvane
