#pragma once
// Writes registry values, one at a time or a key with its whole subtree,
// into a REGEDIT4 file that the system registry editor imports again. The
// caller opens the stream (text mode, "w") and closes it.
#include <cstdint>
#include <cstdio>
#include <string>

#include "foundation/registry_path.h"

// Writes one value as its key line and its value line, preceded by the
// "REGEDIT4" header when the stream is still empty. Nothing at all is
// written when the path does not parse, the key or value cannot be read,
// or the key path or name holds a line break. Returns 0.
int ExportValue(const std::string& keyPath, const std::string& valueName, FILE* out);

// Writes every value of the key and, with `recurse` non-zero, of all keys
// below it, in walk order; a key that holds no values is written as its key
// line alone, so that restoring brings it back. Returns 0.
int ExportKey(const std::string& keyPath, FILE* out, int recurse);

// The value visitor of ExportKey's walk; its context is the FILE*. Exports
// the reported value by its path and always goes on.
int ExportValueVisitor(RootKey root, const std::string& path, const std::string& name,
                       std::uint32_t nameLength, std::uint32_t type, const unsigned char* data,
                       std::uint32_t dataLength, void* context);

// The lines ExportValue and ExportKey would write at this moment, without
// the header ("" when they would write nothing): what a restore imports.
std::string ExportValueText(const std::string& keyPath, const std::string& valueName);
std::string ExportKeyText(const std::string& keyPath, int recurse);
