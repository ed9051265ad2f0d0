#pragma once
// The text side of deciding whether registry text names a local file or
// folder. The drive test is passed in so that the rules run without Windows.
#include <functional>
#include <string>

namespace kelvane {

// Answers whether an upper-case drive letter is a fixed local drive.
using FixedDriveTest = std::function<bool(char upperLetter)>;

// Finds the local path that `text` names; `path` is emptied first and holds
// the path (in the text's own letter case) when the result is true.
// `isFixedDrive` is asked only for texts that pass every text rule.
bool ExtractFilePathWith(const std::string& text, std::string& path,
                         const FixedDriveTest& isFixedDrive);

// The text after the last '\' or ':'; without `keepExtension` also cut at
// the last '.' of that name.
std::string GetFileNameOf(const std::string& path, bool keepExtension);

}  // namespace kelvane
