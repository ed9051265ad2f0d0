#pragma once
// A program folder with its own Settings.ini, and a key in the real registry
// for the registry editor, which is another process and sees no sandbox.
#include <windows.h>
// After windows.h, which it needs.
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "foundation/program_paths.h"
#include "support/scratch_folder.h"

namespace kelvane {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsPaths(program / "Settings.ini", program / "Settings.xml"); }
  void TearDown() override { SetSettingsPaths("", ""); }
  ScratchFolder program;
};

// Below the real HKEY_CURRENT_USER\Software; deleted with the object.
class RealScratchKey {
 public:
  RealScratchKey() {
    static int sequence = 0;
    path_ = std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++sequence);
    SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
  }
  ~RealScratchKey() {
    SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kParent);  // fails while another run uses it
  }
  RealScratchKey(const RealScratchKey&) = delete;
  RealScratchKey& operator=(const RealScratchKey&) = delete;
  const std::string& path() const { return path_; }  // below HKEY_CURRENT_USER, ASCII

 private:
  static constexpr const char* kParent = "Software\\KelvaneRepairTest";
  std::string path_;
};

}  // namespace kelvane
