#pragma once
// One problem found by a scan, the list that collects them and the context
// that every checker receives.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/registry_path.h"
#include "foundation/value_format.h"

namespace kelvane {

struct ScanIssue {
  RootKey root = 0;
  std::string key;          // relative to root, no leading or trailing backslash
  std::string valueName;    // empty for a key issue
  std::string data;         // display text of the value's data
  std::string description;  // the category text, formatted
  std::uint32_t type = 0;   // value type, or kWholeKeyType for the whole key
  // A key issue (the key with its subtree) rather than one value. A fact of
  // its own: a value's type may be any 32-bit number, 0xFFFFFFFF included.
  bool wholeKey = false;
  std::string category;  // the problem kind: its IssueCategory language key
};

// The eleven problem kinds; each is the language key of its description.
namespace IssueCategory {
constexpr const char* kSoftwarePath = "L0045";
constexpr const char* kComObject = "L0047";
constexpr const char* kUninstallEntry = "L0048";
constexpr const char* kHistoryList = "L0049";
constexpr const char* kMenuOrder = "L0050";
constexpr const char* kEmptySoftwareKey = "L0051";
constexpr const char* kFileAssociation = "L0052";
constexpr const char* kSharedDll = "L0053";
constexpr const char* kLocale = "L0054";
constexpr const char* kTimeZone = "L0055";
constexpr const char* kStartup = "L0056";
}  // namespace IssueCategory

using IssueList = std::vector<ScanIssue>;

// Messages a running scan sends (synchronously) to the windows that show it.
constexpr UINT WM_SCAN_ISSUE = WM_USER + 242;        // lParam: const ScanIssue*
constexpr UINT WM_SCAN_CURRENT_KEY = WM_USER + 245;  // lParam: const std::string*
constexpr UINT WM_SCAN_PROGRESS = WM_USER + 246;     // lParam: percent 0..100

struct ScanContext {
  std::string configPath;               // Settings.xml; read by the orchestrator only
  HWND hwndCurrentKey = nullptr;        // receives WM_SCAN_CURRENT_KEY
  volatile LONG* cancelFlag = nullptr;  // non-zero = stop
  HWND hwndIssues = nullptr;            // receives WM_SCAN_ISSUE
  HWND hwndProgress = nullptr;          // receives WM_SCAN_PROGRESS
  IssueList issues;
  // The user's exclusions, lower-cased (set by the scan): no issue whose key
  // path contains one of them, or matches one as a pattern, is added,
  // whichever area found it.
  std::vector<std::string> exclusions;
};

// The answer every checker gives the walker: 0 (stop) once the cancel flag
// is set, else 1.
int ContinueAnswer(const ScanContext& context);

// A new value issue with its description: the category text formatted
// with `argument`.
ScanIssue MakeIssue(RootKey root, const std::string& key, const std::string& valueName,
                    const std::string& data, const char* category, const std::string& argument,
                    std::uint32_t type);

// A new whole-key issue (type kWholeKeyType, no value name).
ScanIssue MakeKeyIssue(RootKey root, const std::string& key, const std::string& data,
                       const char* category, const std::string& argument);

// Whether the issue's key lies under one of the context's exclusions,
// matched as the walk matches its skip list.
bool IsExcludedIssue(const ScanContext& context, const ScanIssue& issue);

// Drops excluded issues and those of the cannot-remove list, else appends a
// copy and announces it to context.hwndIssues.
void AddIssue(ScanContext& context, const ScanIssue& issue);

// The issue's full path: root name\key, plus \valueName for a value issue.
std::string IssueFullPath(const ScanIssue& issue);

// Sends `message` with `lParam` when `window` is set and still exists.
void SendToWindow(HWND window, UINT message, LPARAM lParam);

}  // namespace kelvane
