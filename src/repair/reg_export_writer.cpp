#include "repair/reg_export_writer.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>

#include "foundation/registry_access.h"
#include "foundation/registry_key.h"
#include "repair/reg_file_format.h"
#include "scan/registry_walker.h"

namespace {

constexpr DWORD kMinimumBuffer = 256;
constexpr int kReadAttempts = 4;  // the value may grow between size query and read

// The key path as the file names it: the root's long name, then the subkey.
std::string KeyLinePath(RootKey root, const std::string& subkey) {
  return subkey.empty() ? RootKeyName(root) : FullRegistryPath(root, subkey);
}

// Reads one value the way the ANSI API hands it out. A value that grew
// since the size query is read again with the size it reports.
bool ReadValue(HKEY key, const std::string& name, DWORD& type,
               std::unique_ptr<unsigned char[]>& data, DWORD& length) {
  DWORD size = std::max(LongestValueData(key) + 1, kMinimumBuffer);
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    data.reset(new (std::nothrow) unsigned char[size]);
    if (!data) return false;
    length = size;
    const LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type, data.get(), &length);
    if (status == ERROR_SUCCESS) return true;
    if (status != ERROR_MORE_DATA || length < size) return false;
    size = length + 1;
  }
  return false;
}

// A line break would cut the line and let the rest be read as lines of
// their own; such a name cannot be restored, so it is not written.
bool Writable(const std::string& linePath, const std::string& valueName) {
  return FitsOnOneLine(linePath) && FitsOnOneLine(valueName);
}

std::string LinesOf(const std::string& linePath, const std::string& valueName, DWORD type,
                    const unsigned char* data, DWORD length) {
  return RegKeyLine(linePath) + "\n" + RegValueLine(valueName, type, data, length) + "\n";
}

// The key line and value line of one value (each with its line end), or
// false when nothing may be written for it.
bool ValueLines(const std::string& keyPath, const std::string& valueName, std::string& lines) {
  RootKey root = 0;
  std::string subkey;
  if (!SplitRegistryPath(keyPath, root, subkey)) return false;
  const std::string linePath = KeyLinePath(root, subkey);
  if (!Writable(linePath, valueName)) return false;
  RegKey key;
  if (key.Open(root, subkey) != ERROR_SUCCESS) return false;
  DWORD type = 0, length = 0;
  std::unique_ptr<unsigned char[]> data;
  if (!ReadValue(key.Get(), valueName, type, data, length)) return false;
  lines = LinesOf(linePath, valueName, type, data.get(), length);
  return true;
}

// The key line of a key that holds no values, or false for a key with
// values (their own key lines restore it) or one that cannot be read.
bool EmptyKeyLine(RootKey root, const std::string& subkey, std::string& line) {
  const std::string linePath = KeyLinePath(root, subkey);
  if (!FitsOnOneLine(linePath)) return false;
  RegKey key;
  if (key.Open(root, subkey) != ERROR_SUCCESS) return false;
  DWORD values = 0;
  if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
      values != 0)
    return false;
  line = RegKeyLine(linePath) + "\n";
  return true;
}

void WriteLines(FILE* out, const std::string& lines) {
  if (std::ftell(out) <= 0) std::fprintf(out, "%s\n", kRegFileHeader);
  std::fputs(lines.c_str(), out);
}

int ExportEmptyKeyVisitor(RootKey root, const std::string& path, const std::string&, std::uint32_t,
                          std::uint32_t, const unsigned char*, std::uint32_t, void* context) {
  std::string line;
  if (EmptyKeyLine(root, path, line)) WriteLines(static_cast<FILE*>(context), line);
  return 1;
}

// The walk has just read the value with the same ANSI call a fresh read
// would make, so its type and bytes are used as they are.
int CollectValueVisitor(RootKey root, const std::string& path, const std::string& name,
                        std::uint32_t, std::uint32_t type, const unsigned char* data,
                        std::uint32_t dataLength, void* context) {
  const std::string linePath = KeyLinePath(root, path);
  if (Writable(linePath, name))
    *static_cast<std::string*>(context) += LinesOf(linePath, name, type, data, dataLength);
  return 1;
}

int CollectEmptyKeyVisitor(RootKey root, const std::string& path, const std::string&, std::uint32_t,
                           std::uint32_t, const unsigned char*, std::uint32_t, void* context) {
  std::string line;
  if (EmptyKeyLine(root, path, line)) *static_cast<std::string*>(context) += line;
  return 1;
}

// The walk behind ExportKey and ExportKeyText: the start key's own line
// when it holds no values, then its values and subtree in walk order.
template <typename Emit>
void WalkExport(const std::string& keyPath, int recurse, ValueVisitor valueVisitor,
                KeyVisitor emptyKeyVisitor, void* context, Emit emitStartLine) {
  RootKey root = 0;
  std::string subkey;
  if (!SplitRegistryPath(keyPath, root, subkey)) return;
  std::string line;
  if (EmptyKeyLine(root, subkey, line)) emitStartLine(line);
  WalkKey(root, subkey, recurse, valueVisitor, context, recurse != 0 ? emptyKeyVisitor : nullptr,
          context, TypeFilter(), SkipList());
}

}  // namespace

int ExportValue(const std::string& keyPath, const std::string& valueName, FILE* out) {
  std::string lines;
  if (out != nullptr && ValueLines(keyPath, valueName, lines)) WriteLines(out, lines);
  return 0;
}

int ExportKey(const std::string& keyPath, FILE* out, int recurse) {
  if (out == nullptr) return 0;
  WalkExport(keyPath, recurse, ExportValueVisitor, ExportEmptyKeyVisitor, out,
             [out](const std::string& line) { WriteLines(out, line); });
  return 0;
}

int ExportValueVisitor(RootKey root, const std::string& path, const std::string& name,
                       std::uint32_t, std::uint32_t, const unsigned char*, std::uint32_t,
                       void* context) {
  ExportValue(KeyLinePath(root, path), name, static_cast<FILE*>(context));
  return 1;
}

std::string ExportValueText(const std::string& keyPath, const std::string& valueName) {
  std::string lines;
  ValueLines(keyPath, valueName, lines);
  return lines;
}

std::string ExportKeyText(const std::string& keyPath, int recurse) {
  std::string text;
  WalkExport(keyPath, recurse, CollectValueVisitor, CollectEmptyKeyVisitor, &text,
             [&text](const std::string& line) { text += line; });
  return text;
}
