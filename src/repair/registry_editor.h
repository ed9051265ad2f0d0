#pragma once
// Exports and imports through the system registry editor, started as its own
// process by its full path in the Windows folder: a bare "regedit.exe" would
// be searched in the program's and the current folder first, where anyone
// could plant one to run with administrator rights.
#include <string>

namespace kelvane {

enum class EditorWait { kNo, kUntilEnd };
enum class ImportMode { kSilent, kAskFirst };

// <Windows folder>\regedit.exe.
std::string RegistryEditorPath();

// Starts `exe` with "/e "file" "key" " (or "/e "file" " for the whole
// registry when `key` is empty) and with kUntilEnd waits for it to end
// without a time-out. True when the editor was started and, if waited for,
// ended with exit code 0 (which says little: the editor also ends with 0
// after a failure; callers check the file or the registry).
bool ExportRegistry(const std::string& key, const std::string& file, const std::string& exe,
                    EditorWait wait);

// Starts `exe` with "/s "file" " (kSilent) or ""file" ", waiting as above.
bool ImportRegistry(const std::string& file, const std::string& exe, EditorWait wait,
                    ImportMode mode);

}  // namespace kelvane
