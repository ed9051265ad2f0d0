#pragma once
// Visits registry keys and values on behalf of the checkers.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/registry_path.h"
#include "scan/scan_issue.h"

namespace kelvane {

// One signature for value and key callbacks: root, path, name, name length,
// type, data, data length, context; non-zero = go on, 0 = stop.
//  - value visitor (WalkKey): path of the key holding the value;
//  - key visitor (WalkKey): the subkey's own path, then 0, 0, null, 0;
//  - key visitor (EnumSubkeys): the parent key's path, then 0, 0, null, 0.
using RegistryVisitor = int (*)(RootKey root, const std::string& path, const std::string& name,
                                std::uint32_t nameLength, std::uint32_t type,
                                const unsigned char* data, std::uint32_t dataLength, void* context);
using ValueVisitor = RegistryVisitor;
using KeyVisitor = RegistryVisitor;

using TypeFilter = std::vector<std::uint32_t>;  // empty = every type
using SkipList = std::vector<std::string>;      // fragments or wildcard patterns

// Pre-order walk: the key's own values, then for each subkey its key
// callback and (with `recurse`) its subtree. Keys whose lower-cased full
// path contains a skip item, or matches it as a pattern, are left out.
// Returns 0 when a callback said stop (at any depth), else 1.
int WalkKey(RootKey root, const std::string& subkey, int recurse, ValueVisitor valueVisitor,
            void* valueContext, KeyVisitor keyVisitor, void* keyContext,
            const TypeFilter& typeFilter, const SkipList& skipList);

// Calls `keyVisitor` for each subkey of one key; a stop answer ends this
// key's loop only. The scan passes recurse 0, maxDepth 0xFFFFFFFF, depth 0.
void EnumSubkeys(RootKey root, const std::string& subkey, KeyVisitor keyVisitor, void* context,
                 int recurse, std::uint32_t maxDepth, std::uint32_t depth);

// True when the key has no subkey or cannot be opened.
bool HasNoSubkeys(RootKey root, const std::string& subkey);

// The scan's key visitor: shows the key (throttled) and turns a set stop
// flag into the stop answer. Its context is the ScanContext.
int ReportKeyAndCheckCancel(RootKey root, const std::string& path, const std::string& name,
                            std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                            std::uint32_t dataLength, void* context);

// Sends WM_SCAN_CURRENT_KEY; throttled sends go out at most every 70 ms.
void ReportCurrentKey(ScanContext& context, const std::string& text, bool throttled);

// Sends WM_SCAN_PROGRESS.
void ReportProgressPercent(ScanContext& context, int percent);

}  // namespace kelvane
