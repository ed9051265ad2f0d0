#include "support/test_paths.h"

#ifndef KELVANE_EXE_PATH
#define KELVANE_EXE_PATH ""
#endif

std::string KelvaneExePath() {
  std::string path = std::string("Z:") + KELVANE_EXE_PATH;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}
