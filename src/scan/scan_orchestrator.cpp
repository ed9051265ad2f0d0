#include "scan/scan_orchestrator.h"

#include <map>
#include <string>
#include <vector>

#include "foundation/case_map.h"
#include "foundation/file_checks.h"
#include "foundation/registry_access.h"
#include "scan/class_checkers.h"
#include "scan/key_checkers.h"
#include "scan/registry_walker.h"
#include "scan/scan_area.h"
#include "scan/scan_config.h"
#include "scan/software_path_checker.h"
#include "scan/value_checkers.h"

namespace kelvane {

namespace {

constexpr const char* kWow64Node = "Wow6432Node";
constexpr const char* kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kTimeZones = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

const TypeFilter kStringsOnly{kTypeString};
const TypeFilter kEveryType{};

struct Scan {
  ScanContext& context;
  std::vector<std::string> exclusions;  // the user's list, in document order

  // The area's fixed items, then every user exclusion.
  SkipList SkipListOf(std::initializer_list<const char*> fixed) const {
    SkipList list(fixed.begin(), fixed.end());
    list.insert(list.end(), exclusions.begin(), exclusions.end());
    return list;
  }

  void Walk(RootKey root, const std::string& key, int recurse, ValueVisitor checker,
            const TypeFilter& filter, const SkipList& skip) {
    WalkKey(root, key, recurse, checker, &context, ReportKeyAndCheckCancel, &context, filter, skip);
  }

  // Areas that enumerate one key's subkeys test only that key's full path,
  // by substring.
  bool IsExcludedStart(const std::string& fullPath) const {
    const std::string lower = ToLowerText(fullPath);
    for (const std::string& item : exclusions)
      if (lower.find(ToLowerText(item)) != std::string::npos) return true;
    return false;
  }

  void Enumerate(RootKey root, const std::string& key, KeyVisitor checker, void* checkerContext) {
    if (IsExcludedStart(FullRegistryPath(root, key))) return;
    EnumSubkeys(root, key, checker, checkerContext, 0, 0xFFFFFFFFu, 0);
  }
};

void ScanUserSoftware(Scan& scan) {
  scan.Walk(kCurrentUser, "Software", 1, CheckSoftwareValue, kStringsOnly,
            scan.SkipListOf({"CLSID", kWow64Node}));
}

void ScanCommonSoftware(Scan& scan) {
  scan.Walk(kUsers, "", 1, CheckSoftwareValue, kStringsOnly,
            scan.SkipListOf({"CLSID", kShellFolders, kWow64Node}));
}

void ScanSystemSoftware(Scan& scan) {
  scan.Walk(
      kLocalMachine, "", 1, CheckSoftwareValue, kStringsOnly,
      scan.SkipListOf({"CLSID", "Software\\Classes",
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DocFolderPaths",
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Installer", kUninstall,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache",
                       kWow64Node}));
}

void ScanComObjects(Scan& scan) {
  const SkipList skip = scan.SkipListOf({kWow64Node});
  scan.Walk(kClassesRoot, "CLSID", 1, CheckComServerValue, kStringsOnly, skip);
  scan.Walk(kLocalMachine, "Software\\Classes\\CLSID", 1, CheckComServerValue, kStringsOnly, skip);
}

void ScanUninstallEntries(Scan& scan) {
  scan.Enumerate(kLocalMachine, kUninstall, CheckUninstallEntry, &scan.context);
}

void ScanHistoryLists(Scan& scan) {
  static const char* const kHistoryKeys[] = {
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU",
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StreamMRU",
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs",
      "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List",
      "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
  };
  const SkipList skip = scan.SkipListOf({kWow64Node});
  for (const char* key : kHistoryKeys)
    scan.Walk(kCurrentUser, key, 1, CheckHistoryValue, kEveryType, skip);
  scan.Walk(kCurrentUser, "Software\\Microsoft\\Internet Explorer\\TypedUrls", 1, CheckHistoryValue,
            kStringsOnly, scan.SkipListOf({kWow64Node}));
}

void ScanStartMenu(Scan& scan) {
  const std::string userPrograms = ReadRegistryString(kCurrentUser, kShellFolders, "Programs");
  const std::string commonPrograms =
      ReadRegistryString(kLocalMachine, kShellFolders, "Common Programs");
  std::map<std::string, std::string> folders;
  ListSubfolders(userPrograms, folders, ListInto::kEmptied, 0);
  ListSubfolders(commonPrograms, folders, ListInto::kKept, 0);

  // An entry is judged by its name against both folders' subfolders: while
  // either folder cannot be listed, its subfolders would all look missing,
  // so no entry is judged at all.
  const auto listable = [](const std::string& folder) {
    return !folder.empty() && FolderExists(folder);
  };
  if (listable(userPrograms) && listable(commonPrograms)) {
    StartMenuContext menu{&scan.context, &folders};
    const std::string menuOrder = std::string(kExplorer) + "\\MenuOrder\\";
    scan.Enumerate(kCurrentUser, menuOrder + "Start Menu\\Programs", CheckStartMenuOrder, &menu);
    scan.Enumerate(kCurrentUser, menuOrder + "Start Menu2\\Programs", CheckStartMenuOrder, &menu);
  }

  scan.Enumerate(kCurrentUser, "Software", CheckEmptySoftwareKey, &scan.context);
  scan.Enumerate(kLocalMachine, "Software", CheckEmptySoftwareKey, &scan.context);
  scan.Enumerate(kLocalMachine, "Software\\Classes", CheckFileAssociation, &scan.context);
}

void ScanSharedDlls(Scan& scan) {
  scan.Walk(kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls", 0,
            CheckSharedDllValue, kEveryType, scan.SkipListOf({kWow64Node}));
}

void ScanLocales(Scan& scan) {
  scan.Walk(kLocalMachine, "System\\CurrentControlSet\\Control\\Nls\\Locale", 0, CheckLocaleValue,
            kStringsOnly, scan.SkipListOf({kWow64Node}));
}

void ScanTimeZones(Scan& scan) {
  scan.Enumerate(kLocalMachine, kTimeZones, CheckTimeZone, &scan.context);
}

void ScanStartupEntries(Scan& scan) {
  static const struct {
    RootKey root;
    const char* key;
  } kRunKeys[] = {
      {kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
      {kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
      {kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"},
      {kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce"},
      {kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
      {kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
  };
  const SkipList skip = scan.SkipListOf({kWow64Node});
  for (const auto& run : kRunKeys)
    scan.Walk(run.root, run.key, 0, CheckStartupValue, kStringsOnly, skip);
}

struct AreaStep {
  ScanArea area;
  void (*run)(Scan&);
  int progress;  // percent reported after the area, whether it ran or not
};

const AreaStep kAreaSteps[] = {
    {ScanArea::UserSoft, ScanUserSoftware, 13},      {ScanArea::CommonSoft, ScanCommonSoftware, 27},
    {ScanArea::SysSoft, ScanSystemSoftware, 35},     {ScanArea::Com, ScanComObjects, 42},
    {ScanArea::Uninstall, ScanUninstallEntries, 55}, {ScanArea::Recent, ScanHistoryLists, 67},
    {ScanArea::StartMenu, ScanStartMenu, 78},        {ScanArea::Dll, ScanSharedDlls, 85},
    {ScanArea::Language, ScanLocales, 90},           {ScanArea::TimeZone, ScanTimeZones, 97},
    {ScanArea::Run, ScanStartupEntries, 100},
};

}  // namespace

void RunScan(ScanContext& context) {
  context.issues.clear();
  Scan scan{context, ReadExclusions(context.configPath, false)};
  context.exclusions.clear();
  for (const std::string& item : scan.exclusions) context.exclusions.push_back(ToLowerText(item));
  ReportProgressPercent(context, 3);
  for (const AreaStep& step : kAreaSteps) {
    // Read just before the area, so a switch changed during a scan counts
    // for the areas not begun yet.
    if (IsAreaEnabled(LoadScanConfig(context.configPath), step.area)) step.run(scan);
    ReportProgressPercent(context, step.progress);
  }
}

}  // namespace kelvane
