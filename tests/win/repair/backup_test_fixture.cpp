#include "backup_test_fixture.h"

#include <shlwapi.h>

#include <atomic>
#include <cstdio>

#include "foundation/program_paths.h"

void BackupTest::SetUp() { SetSettingsPaths(program / "Settings.ini", program / "Settings.xml"); }

void BackupTest::TearDown() { SetSettingsPaths("", ""); }

std::string StampFromNow(LONGLONG offset, const char* format) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  now.wMilliseconds = 0;
  FILETIME ft;
  EXPECT_TRUE(SystemTimeToFileTime(&now, &ft));
  ULARGE_INTEGER ticks;
  ticks.LowPart = ft.dwLowDateTime;
  ticks.HighPart = ft.dwHighDateTime;
  ticks.QuadPart += offset;
  ft.dwLowDateTime = ticks.LowPart;
  ft.dwHighDateTime = ticks.HighPart;
  SYSTEMTIME moved;
  EXPECT_TRUE(FileTimeToSystemTime(&ft, &moved));
  char text[64];
  std::snprintf(text, sizeof text, format, moved.wYear, moved.wMonth, moved.wDay, moved.wHour,
                moved.wMinute, moved.wSecond);
  return text;
}

namespace {
std::atomic<int> g_keySequence{0};
}

RealScratchKey::RealScratchKey() {
  char name[96];
  std::snprintf(name, sizeof name, "Software\\KelvaneBackupTest\\%lu-%d", GetCurrentProcessId(),
                ++g_keySequence);
  path_ = name;
  SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

RealScratchKey::~RealScratchKey() {
  SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
  // The parent goes too once no other test run uses it.
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KelvaneBackupTest");
}

std::string RealScratchKey::ReadString(const std::string& name) const {
  char data[256] = {};
  DWORD size = sizeof data - 1;
  if (SHGetValueA(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), nullptr, data, &size) !=
      ERROR_SUCCESS)
    return "<missing>";
  return data;
}

std::string RegFileSetting(const std::string& fullKeyPath, const std::string& name,
                           const std::string& data) {
  return "REGEDIT4\r\n\r\n[" + fullKeyPath + "]\r\n\"" + name + "\"=\"" + data + "\"\r\n\r\n";
}

bool Utf16Contains(const std::string& content, const std::string& ascii) {
  std::string wide;
  for (char c : ascii) {
    wide += c;
    wide += '\0';
  }
  return content.find(wide) != std::string::npos;
}
