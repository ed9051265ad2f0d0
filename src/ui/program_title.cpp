#include "ui/program_title.h"

#include "foundation/program_paths.h"
#include "foundation/version_info.h"

namespace kelvane {

std::string ProgramTitle() {
  const std::string file = GetProgramFilePath();
  return GetProductName(file) + " v" + GetProductVersion(file);
}

}  // namespace kelvane
