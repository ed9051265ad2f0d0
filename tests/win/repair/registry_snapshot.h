#pragma once
// The registry as the wide-character API reports it, for comparing a tree
// before and after a restore; and the system registry editor's import.
#include <windows.h>

#include <string>

#include "foundation/ansi_text.h"
#include "repair/reg_import_model.h"

// Key path relative to the snapshot's start ("" = the start key) -> values.
using WideSnapshot = WideRegTree;

// Every key and value below HKEY_CURRENT_USER\<subkey>; empty when the key
// does not exist. Fails the test when something cannot be read.
WideSnapshot SnapshotTree(const std::string& subkey);

// Readable differences between two snapshots ("" when equal).
std::string SnapshotDifferences(const WideSnapshot& before, const WideSnapshot& after);

// Runs `regedit /s file` and waits for it; false when it could not run.
bool ImportWithRegedit(const std::string& file);

// Creates the key and sets the value through the wide API, below
// HKEY_CURRENT_USER (the sandboxed one while a sandbox exists).
void SetWideValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                  DWORD size);
