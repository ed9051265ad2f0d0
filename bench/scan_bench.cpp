// Scan throughput: builds synthetic registries of growing size in a registry
// sandbox and times, in the same run, a raw walk of the same keys (only
// RegEnumKeyA/RegEnumValueA) and RunScan over them.
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "foundation/language_table.h"
#include "scan/scan_orchestrator.h"
#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"

using namespace kelvane;

namespace {

HKEY Create(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

void Put(HKEY key, const std::string& name, const std::string& text) {
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
}

void PutDword(HKEY key, const std::string& name, DWORD value) {
  RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof value);
}

// A realistic mix, ten values per key: software settings (plain text,
// numbers, paths that exist and paths that are gone), class registrations,
// uninstall entries and history lists.
std::size_t BuildRegistry(std::size_t values, const std::string& existing,
                          const std::string& gone) {
  std::size_t made = 0;
  std::size_t n = 0;
  while (made < values) {
    const std::string id = std::to_string(n++);
    switch (n % 10) {
      case 0:
      case 1:
      case 2:
      case 3:
      case 4: {  // user software
        HKEY key = Create(HKEY_CURRENT_USER, "Software\\Vendor" + std::to_string(n % 97) + "\\App" +
                                                 id + "\\Settings");
        Put(key, "InstallDir", existing);
        Put(key, "Title", "Application " + id);
        Put(key, "LastFile", n % 3 == 0 ? gone + id + ".doc" : existing + "\\readme.txt");
        Put(key, "Language", "en-US");
        PutDword(key, "Width", 800);
        PutDword(key, "Height", 600);
        Put(key, "Args", "-quiet -fast");
        Put(key, "Url", "http://example.com/app" + id);
        Put(key, "Helper", "\"" + existing + "\\helper.exe\" /run");
        Put(key, "Cache", "%TEMP%\\app" + id);
        RegCloseKey(key);
        made += 10;
        break;
      }
      case 5:
      case 6: {  // machine software
        HKEY key = Create(HKEY_LOCAL_MACHINE,
                          "Software\\Vendor" + std::to_string(n % 53) + "\\Product" + id);
        Put(key, "Path", n % 4 == 0 ? gone + id : existing);
        Put(key, "Version", "1.2.3." + id);
        for (int i = 0; i < 8; ++i) PutDword(key, "Option" + std::to_string(i), i);
        RegCloseKey(key);
        made += 10;
        break;
      }
      case 7: {  // class registrations
        char guid[64];
        std::snprintf(guid, sizeof guid, "{%08zX-1111-2222-3333-444455556666}", n);
        const std::string base = std::string("Software\\Classes\\CLSID\\") + guid;
        HKEY cls = Create(HKEY_LOCAL_MACHINE, base);
        Put(cls, "", "Component " + id);
        RegCloseKey(cls);
        HKEY server = Create(HKEY_LOCAL_MACHINE, base + "\\InprocServer32");
        Put(server, "", n % 5 == 0 ? gone + id + ".dll" : existing + "\\component.dll");
        Put(server, "ThreadingModel", "Apartment");
        RegCloseKey(server);
        HKEY prog = Create(HKEY_LOCAL_MACHINE, base + "\\ProgID");
        Put(prog, "", "Vendor.Component." + id);
        RegCloseKey(prog);
        made += 4;
        break;
      }
      case 8: {  // uninstall entries
        HKEY key = Create(HKEY_LOCAL_MACHINE,
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App" + id);
        Put(key, "DisplayName", "Application " + id);
        Put(key, "UninstallString", "\"" + (n % 6 == 0 ? gone : existing) + "\\uninst.exe\"");
        Put(key, "Publisher", "Vendor");
        PutDword(key, "EstimatedSize", 1024);
        RegCloseKey(key);
        made += 4;
        break;
      }
      default: {  // history lists
        HKEY key = Create(HKEY_CURRENT_USER,
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs\\.t" +
                              std::to_string(n % 50));
        Put(key, "MRU" + id, "document" + id + ".txt");
        RegCloseKey(key);
        made += 1;
        break;
      }
    }
  }
  return made;
}

std::size_t RawWalk(HKEY parent, const char* subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyA(parent, subkey, &key) != ERROR_SUCCESS) return 0;
  std::size_t values = 0;
  char name[1024];
  BYTE data[4096];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
      break;
    ++values;
  }
  for (DWORD j = 0; RegEnumKeyA(key, j, name, sizeof name) == ERROR_SUCCESS; ++j)
    values += RawWalk(key, name);
  RegCloseKey(key);
  return values;
}

// The keys the scan walks: the four roots of the sandbox.
std::size_t RawWalkAll() {
  return RawWalk(HKEY_CURRENT_USER, "") + RawWalk(HKEY_USERS, "") +
         RawWalk(HKEY_LOCAL_MACHINE, "") + RawWalk(HKEY_CLASSES_ROOT, "");
}

std::size_t PeakMemoryMiB() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize / (1024 * 1024);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::size_t> sizes = {10000, 100000, 1000000};
  if (argc > 1) {
    sizes.clear();
    for (int i = 1; i < argc; ++i) sizes.push_back(std::strtoul(argv[i], nullptr, 10));
  }
  CoInitialize(nullptr);
  std::printf("%10s %10s %12s %12s %8s %10s %9s\n", "values", "issues", "raw v/s", "scan v/s",
              "ratio", "scan us/v", "peak MiB");
  for (std::size_t size : sizes) {
    RegistrySandbox sandbox;
    ScratchFolder folder;
    const std::string existing = folder.MakeFolder("Program Files\\Vendor");
    folder.WriteFile("Program Files\\Vendor\\readme.txt");
    folder.WriteFile("Program Files\\Vendor\\helper.exe");
    folder.WriteFile("Program Files\\Vendor\\uninst.exe");
    folder.WriteFile("Program Files\\Vendor\\component.dll");
    const std::string gone = folder / "Program Files\\Removed\\item";
    const std::string english =
        folder.WriteFile("English.txt", "[String]\r\nL0045=Missing: %s\r\n");
    ProcessLanguageTable().Open(english, english);
    const std::string config = folder.WriteFile(
        "Settings.xml",
        "<Config><Areas><UserSoft custom=\"1\"/><CommonSoft custom=\"1\"/><SysSoft custom=\"1\"/>"
        "<Com custom=\"1\"/><Uninstall custom=\"1\"/><Recent custom=\"1\"/><StartMenu "
        "custom=\"1\"/>"
        "<Dll custom=\"1\"/><Language custom=\"1\"/><TimeZone custom=\"0\"/><Run custom=\"1\"/>"
        "</Areas><Exclude><default/><custom/></Exclude></Config>");

    BuildRegistry(size, existing, gone);
    const std::size_t walked = RawWalkAll();  // warm-up, and the count of values

    double raw = 1e30, scan = 1e30;
    std::size_t issues = 0;
    for (int round = 0; round < 2; ++round) {
      double start = Seconds();
      RawWalkAll();
      raw = std::min(raw, Seconds() - start);
      ScanContext context;
      context.configPath = config;
      start = Seconds();
      RunScan(context);
      scan = std::min(scan, Seconds() - start);
      issues = context.issues.size();
    }
    std::printf("%10zu %10zu %12.0f %12.0f %8.2f %10.2f %9zu\n", walked, issues, walked / raw,
                walked / scan, scan / raw, scan * 1e6 / walked, PeakMemoryMiB());
    std::fflush(stdout);
  }
  CoUninitialize();
  return 0;
}
