#include "scan/scan_orchestrator.h"

#include <algorithm>
#include <functional>

#include "foundation/case_map.h"
#include "scan/scan_config.h"
#include "support/checker_harness.h"

using namespace kelvane;

namespace {

using Texts = std::vector<std::string>;
const std::string kCv = "Software\\Microsoft\\Windows\\CurrentVersion";

// "root\key|value" in lower case: key names come back in the case the registry keeps.
std::string K(RootKey root, const std::string& key, const std::string& value) {
  return ToLowerText(RootKeyName(root) + "\\" + key + "|" + value);
}

// Lets a test act on each message the recorder's window gets, before the recorder.
std::function<void(UINT, LPARAM)> g_onMessage;
WNDPROC g_recorderProcedure;

LRESULT CALLBACK Hooked(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_SCAN_ISSUE && message <= WM_SCAN_PROGRESS) g_onMessage(message, lParam);
  return CallWindowProcA(g_recorderProcedure, window, message, wParam, lParam);
}

class ScanOrchestrator : public CheckerHarness {
 protected:
  ComApartment com;
  const std::string gone = folder / "Gone\\x.exe";
  ScanOrchestrator() { context.configPath = folder / "Settings.xml"; }
  void Hook(std::function<void(UINT, LPARAM)> onMessage) {
    g_onMessage = std::move(onMessage);
    g_recorderProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(recorder.window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Hooked)));
  }
  // Settings.xml with the named areas switched on and the user's exclusions.
  void Configure(const Texts& on, const Texts& exclusions = {}) {
    std::string xml = "<Config><Areas>";
    for (ScanArea area : kScanAreas)
      xml += std::string("<") + AreaElementName(area) + " custom=\"" +
             (std::count(on.begin(), on.end(), AreaElementName(area)) != 0 ? "1" : "0") + "\"/>";
    xml += "</Areas><Exclude><custom>";
    for (const std::string& item : exclusions) xml += "<item value=\"" + item + "\"/>";
    folder.WriteFile("Settings.xml", xml + "</custom></Exclude></Config>");
  }
  // The issues of one scan, sorted; the progress after every area, run or not.
  Texts Scan() {
    recorder.progress.clear();
    RunScan(context);
    EXPECT_EQ(recorder.progress,
              (std::vector<int>{3, 13, 27, 35, 42, 55, 67, 78, 85, 90, 97, 100}));
    Texts keys;
    for (const ScanIssue& i : context.issues) keys.push_back(K(i.root, i.key, i.valueName));
    std::sort(keys.begin(), keys.end());
    return keys;
  }
};

TEST_F(ScanOrchestrator, EachAreaRunsWhenSwitchedOnJustBeforeIt) {
  const std::string dlls = kCv + "\\SharedDlls", mru = kCv + "\\Explorer\\RunMRU";
  const std::string locale = "System\\CurrentControlSet\\Control\\Nls\\Locale";
  const std::string zone = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\Nowhere";
  const std::string clsid = "Software\\Classes\\CLSID\\{A-B-C-D-E}",
                    uninstall = kCv + "\\Uninstall\\App";
  const std::string once = kCv + "\\RunOnce", svc = kCv + "\\RunServicesOnce";
  SetString(kCurrentUser, "Software\\Vendor", "Path", gone);
  SetString(kUsers, ".DEFAULT\\Software\\Vendor", "Path", gone);
  SetString(kLocalMachine, "Software\\Vendor", "Path", gone);
  SetString(kLocalMachine, clsid + "\\InprocServer32", "", gone);
  SetString(kLocalMachine, uninstall, "UninstallString", gone);
  SetString(kCurrentUser, mru, "a", "notepad\\1");
  CreateKey(kCurrentUser, "Software\\Empty");
  SetDword(kLocalMachine, dlls, gone, 1);
  SetString(kLocalMachine, locale, "00000c1a", "");
  SetString(kLocalMachine, zone, "Std", "Nowhere Standard Time");
  SetString(kLocalMachine, svc, "Dead", gone);
  SetString(kCurrentUser, once, "Dead", gone);
  const std::pair<const char*, Texts> cases[] = {
      {"UserSoft", {K(kCurrentUser, once, "Dead"), K(kCurrentUser, "Software\\Vendor", "Path")}},
      {"CommonSoft", {K(kUsers, ".DEFAULT\\Software\\Vendor", "Path")}},
      {"SysSoft", {K(kLocalMachine, svc, "Dead"), K(kLocalMachine, "Software\\Vendor", "Path")}},
      {"Com", {K(kLocalMachine, clsid, "")}},
      {"Uninstall", {K(kLocalMachine, uninstall, "")}},
      {"Recent", {K(kCurrentUser, mru, "a")}},
      {"StartMenu", {K(kCurrentUser, "Software\\Empty", "")}},
      {"Dll", {K(kLocalMachine, dlls, gone)}},
      {"Language", {K(kLocalMachine, locale, "00000c1a")}},
      {"TimeZone", {K(kLocalMachine, zone, "")}},
      {"Run", {K(kCurrentUser, once, "Dead"), K(kLocalMachine, svc, "Dead")}},
  };
  for (const auto& c : cases) {
    Configure({c.first});
    EXPECT_EQ(Scan(), c.second) << c.first;  // and nothing left from the scan before
  }
  // A missing or malformed file switches every area off.
  folder.WriteFile("Settings.xml", "<Config><Areas><Run custom=\"1\"></Areas>");
  EXPECT_EQ(Scan(), Texts{});
  DeleteFileA(context.configPath.c_str());
  EXPECT_EQ(Scan(), Texts{});
  // Switched over once UserSoft is done: CommonSoft does not run, Run does.
  Configure({"CommonSoft"});
  Hook([&](UINT message, LPARAM percent) {
    if (message == WM_SCAN_PROGRESS && percent == 13) Configure({"Run"});
  });
  EXPECT_EQ(Scan(), cases[10].second);
}

TEST_F(ScanOrchestrator, UserExclusionsKeepKeysOutOfWalksAndEnumerations) {
  Configure({"UserSoft", "Uninstall"},
            {"hkey_current_user\\software\\excluded", "*\\wild*", "CurrentVersion\\UNINSTALL"});
  SetString(kCurrentUser, "Software\\Excluded\\Deep", "Path", gone);
  SetString(kCurrentUser, "Software\\Wildcard", "Path", gone);
  SetString(kCurrentUser, "Software\\Kept", "Path", gone);
  CreateKey(kLocalMachine, kCv + "\\Uninstall\\NoValues");
  EXPECT_EQ(Scan(), Texts{K(kCurrentUser, "Software\\Kept", "Path")});
}

TEST_F(ScanOrchestrator, MenuOrderIsJudgedOnlyWhileBothProgramsFoldersCanBeListed) {
  Configure({"StartMenu"});
  const std::string shell = kCv + "\\Explorer\\Shell Folders";
  const std::string order = kCv + "\\Explorer\\MenuOrder\\Start Menu\\Programs\\";
  folder.MakeFolder("User\\Games");
  folder.MakeFolder("Common\\Tools");
  SetString(kCurrentUser, shell, "Programs", folder / "User");
  SetString(kLocalMachine, shell, "Common Programs", folder / "Common");
  for (const char* entry : {"Games", "tools", "Old Tools"}) CreateKey(kCurrentUser, order + entry);
  EXPECT_EQ(Scan(), Texts{K(kCurrentUser, order + "Old Tools", "")});
  SetString(kCurrentUser, shell, "Programs", folder / "Removed");
  EXPECT_EQ(Scan(), Texts{});
}

TEST_F(ScanOrchestrator, CancellingKeepsWhatWasFoundAndEveryLaterAreaReportsProgress) {
  Configure({"UserSoft", "Run"});
  for (char i = '0'; i < '5'; ++i)
    SetString(kCurrentUser, std::string("Software\\Vendor") + i, "Path", gone);
  SetString(kLocalMachine, kCv + "\\Run", "Dead", gone);
  Hook([&](UINT message, LPARAM) { cancel = cancel || message == WM_SCAN_ISSUE; });
  // The first issue, and at most the first value of each later walk.
  const Texts found = Scan();
  ASSERT_FALSE(found.empty()) << "the issue found before the cancel is kept";
  EXPECT_LE(found.size(), 2u) << "after the cancel, each later walk reads at most its first value";
  EXPECT_EQ(context.issues[0].key, "Software\\Vendor0");
}

}  // namespace
