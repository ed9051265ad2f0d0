#include "foundation/registry_delete.h"

#include <string>
#include <vector>

#include "foundation/registry_key.h"

namespace kelvane {

namespace {

// The registry nests keys at most 512 deep; anything deeper is a loop.
constexpr unsigned kMaximumDepth = 512;

using NtDeleteKeyFunction = LONG(NTAPI*)(HANDLE);

bool DeleteBelow(HKEY key, unsigned depth) {
  if (depth >= kMaximumDepth) return false;
  std::vector<wchar_t> child(256);
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(child.size());
    const LONG status =
        RegEnumKeyExW(key, index, child.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return index == 0;
    if (status != ERROR_SUCCESS) return false;
    const std::wstring name(child.data(), length);
    RegKey sub;
    if (sub.OpenAsItIs(key, name, kDeleteTreeAccess) != ERROR_SUCCESS) {
      ++index;  // left in place; the key above then stays too
      continue;
    }
    if (!DeleteBelow(sub.Get(), depth + 1) || !DeleteOpenKey(sub.Get())) ++index;
  }
}

}  // namespace

bool DeleteOpenKey(HKEY key) {
  // The registry API deletes a key by name, following a link to its target;
  // the native call deletes exactly the key the handle was opened on.
  static const auto deleteKey = reinterpret_cast<NtDeleteKeyFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
  return key != nullptr && deleteKey != nullptr && deleteKey(key) == 0;
}

bool DeleteKeysBelow(HKEY key) { return DeleteBelow(key, 0); }

}  // namespace kelvane
