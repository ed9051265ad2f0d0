#pragma once
// The question every path checker asks of registry text: does it name a
// local file or folder that is gone?
#include <string>

namespace kelvane {

// True when `text` names a path on a fixed local drive (ExtractFilePath)
// that does not exist (PathExists); `path` then holds that path. A path that
// holds a '%' is never judged missing: it may carry an environment reference
// (%NAME%) that its reader expands, and the literal text cannot tell whether
// the real file is there. Existing paths are recognised with one attribute
// query before the full test.
bool FindMissingPath(const std::string& text, std::string& path);

}  // namespace kelvane
