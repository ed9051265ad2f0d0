// Fix cost: backs up and deletes about 10 000 issues (values and whole keys)
// and compares, in the same run, with deleting the same entries without a
// backup.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "foundation/language_table.h"
#include "foundation/program_paths.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "repair/issue_fixer.h"
#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"

using namespace kelvane;

namespace {

// Two thirds value issues (one value each among neighbours that stay), one
// third whole keys with a small subtree.
std::vector<ScanIssue> BuildIssues(std::size_t count) {
  std::vector<ScanIssue> issues;
  for (std::size_t i = 0; issues.size() < count; ++i) {
    const std::string id = std::to_string(i);
    HKEY key = nullptr;
    if (i % 3 != 2) {
      const std::string path = "Software\\Vendor" + std::to_string(i % 200) + "\\App" + id;
      RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr);
      const std::string dead = "\"C:\\Program Files\\Removed\\app" + id + ".exe\" /run";
      RegSetValueExA(key, "Command", 0, REG_SZ, reinterpret_cast<const BYTE*>(dead.c_str()),
                     static_cast<DWORD>(dead.size() + 1));
      const DWORD keep = 1;
      RegSetValueExA(key, "Keep", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&keep), sizeof keep);
      RegCloseKey(key);
      ScanIssue issue;
      issue.root = kCurrentUser;
      issue.key = path;
      issue.valueName = "Command";
      issue.type = REG_SZ;
      issues.push_back(issue);
    } else {
      const std::string path = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Gone" + id;
      for (const char* sub : {"", "\\Details"}) {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, (path + sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr);
        const std::string name = "Application " + id;
        RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                       static_cast<DWORD>(name.size() + 1));
        RegCloseKey(key);
      }
      ScanIssue issue;
      issue.root = kLocalMachine;
      issue.key = path;
      issue.type = kWholeKeyType;
      issue.wholeKey = true;
      issues.push_back(issue);
    }
  }
  return issues;
}

double TimeFix(std::size_t count, bool backup, std::size_t& deleted) {
  RegistrySandbox sandbox;
  ScratchFolder folder;
  SetSettingsPaths(folder / "Settings.ini", folder / "Settings.xml");
  WriteSettingInt(kKeyBackupWhenClean, backup ? 1 : 0);
  const std::vector<ScanIssue> issues = BuildIssues(count);
  const double start = Seconds();
  const FixResult result = FixIssues(issues, folder.path());
  const double elapsed = Seconds() - start;
  deleted = result.deleted;
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
  std::printf("%8s %14s %14s %8s\n", "issues", "backup+del s", "delete s", "ratio");
  double withBackup = 1e30, without = 1e30;
  std::size_t deletedWith = 0, deletedWithout = 0;
  for (int round = 0; round < 2; ++round) {
    without = std::min(without, TimeFix(count, false, deletedWithout));
    withBackup = std::min(withBackup, TimeFix(count, true, deletedWith));
  }
  std::printf("%8zu %14.3f %14.3f %8.2f\n", count, withBackup, without, withBackup / without);
  if (deletedWith != count || deletedWithout != count)
    std::printf("warning: deleted %zu with backup, %zu without, of %zu\n", deletedWith,
                deletedWithout, count);
  return 0;
}
