#pragma once
// A scratch program folder with its own Settings.ini for backup tests, and
// stamps computed from the clock by the system's own time conversions.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/scratch_folder.h"

class BackupTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ScratchFolder program;  // stands for the program folder
};

constexpr LONGLONG kSecond = 10000000LL;
constexpr LONGLONG kHour = 3600 * kSecond;
constexpr LONGLONG kDay = 24 * kHour;

// The local time now moved by `offset` (100 ns units; negative = earlier),
// formatted with one of the stamp formats.
std::string StampFromNow(LONGLONG offset, const char* format);

// A key below the real HKEY_CURRENT_USER\Software for imports done by the
// registry editor (another process, which no sandbox reaches); deleted when
// the object goes away.
class RealScratchKey {
 public:
  RealScratchKey();
  ~RealScratchKey();
  RealScratchKey(const RealScratchKey&) = delete;
  RealScratchKey& operator=(const RealScratchKey&) = delete;

  const std::string& path() const { return path_; }  // below HKEY_CURRENT_USER
  std::string fullPath() const { return "HKEY_CURRENT_USER\\" + path_; }
  // The string value `name`, or "<missing>".
  std::string ReadString(const std::string& name) const;

 private:
  std::string path_;
};

// A REGEDIT4 file that sets `name`="data" in `fullKeyPath`.
std::string RegFileSetting(const std::string& fullKeyPath, const std::string& name,
                           const std::string& data);

// Whether a UTF-16LE file's content holds `ascii`.
bool Utf16Contains(const std::string& content, const std::string& ascii);
