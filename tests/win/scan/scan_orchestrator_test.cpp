#include "scan/scan_orchestrator.h"

#include <algorithm>
#include <functional>

#include "foundation/case_map.h"
#include "scan/scan_area.h"
#include "scan/scan_config.h"
#include "support/checker_harness.h"

namespace {

using Texts = std::vector<std::string>;
const std::string kCv = "Software\\Microsoft\\Windows\\CurrentVersion";
const std::string kZones = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\Nowhere";
const std::vector<int> kProgress = {3, 13, 27, 35, 42, 55, 67, 78, 85, 90, 97, 100};

// "root\key|value" in lower case: key names come back in the case the registry keeps.
std::string K(RootKey root, const std::string& key, const std::string& value) {
  return ToLowerText(RootKeyName(root) + "\\" + key + "|" + value);
}

// A window that hands every scan message it gets to `onMessage`.
struct Hook {
  std::function<void(UINT, LPARAM)> onMessage;
  HWND window =
      CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
  WNDPROC original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  explicit Hook(std::function<void(UINT, LPARAM)> handler) : onMessage(std::move(handler)) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Hook() { DestroyWindow(window); }
  static LRESULT CALLBACK Procedure(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Hook*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (message < WM_SCAN_ISSUE || message > WM_SCAN_PROGRESS || self == nullptr)
      return CallWindowProcA(self != nullptr ? self->original : DefWindowProcA, w, message, wParam,
                             lParam);
    self->onMessage(message, lParam);
    return 0;
  }
};

class ScanOrchestrator : public CheckerHarness {
 protected:
  ComApartment com;
  const std::string gone = folder / "Gone\\x.exe";

  ScanOrchestrator() { context.configPath = folder / "Settings.xml"; }

  // A Settings.xml with the named areas switched on and the user's exclusions.
  void Configure(const Texts& on, const Texts& exclusions = {}) {
    std::string xml = "<?xml version=\"1.0\"?>\n<Config><Areas>\n";
    for (ScanArea area : kScanAreas) {
      const bool enabled = std::count(on.begin(), on.end(), AreaElementName(area)) != 0;
      xml += std::string("<") + AreaElementName(area) + " default=\"1\" custom=\"" +
             (enabled ? "1" : "0") + "\"/>\n";
    }
    xml += "</Areas><Exclude><default/><custom>";
    for (const std::string& item : exclusions) xml += "<item value=\"" + item + "\"/>";
    folder.WriteFile("Settings.xml", xml + "</custom></Exclude></Config>\n");
  }

  Texts Scan() {
    recorder.progress.clear();
    RunScan(context);
    EXPECT_EQ(recorder.progress, kProgress);
    Texts keys;
    for (const ScanIssue& issue : context.issues)
      keys.push_back(K(issue.root, issue.key, issue.valueName));
    std::sort(keys.begin(), keys.end());
    return keys;
  }
};

TEST_F(ScanOrchestrator, EachAreaRunsWhenSwitchedOnAndEveryAreaReportsProgress) {
  const std::string dlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
  const std::string locale = "System\\CurrentControlSet\\Control\\Nls\\Locale";
  const std::string clsid = "Software\\Classes\\CLSID\\{A-B-C-D-E}", runOnce = kCv + "\\RunOnce";
  SetString(kCurrentUser, "Software\\Vendor", "Path", gone);
  SetString(kCurrentUser, "Software\\Vendor", "Fine", folder.WriteFile("App\\app.exe"));
  SetString(kUsers, ".DEFAULT\\Software\\Vendor", "Path", gone);
  SetString(kLocalMachine, "Software\\Vendor", "Path", gone);
  SetString(kLocalMachine, clsid + "\\InprocServer32", "", gone);
  SetString(kLocalMachine, kCv + "\\Uninstall\\App", "UninstallString", gone);
  SetString(kCurrentUser, kCv + "\\Explorer\\RunMRU", "a", "notepad\\1");
  CreateKey(kCurrentUser, "Software\\Empty");
  SetDword(kLocalMachine, dlls, gone, 1);
  SetString(kLocalMachine, locale, "00000c1a", "");
  SetString(kLocalMachine, kZones, "Std", "Nowhere Standard Time");
  SetString(kLocalMachine, kCv + "\\RunServicesOnce", "Dead", gone);
  SetString(kCurrentUser, runOnce, "Dead", gone);

  const struct {
    const char* area;
    Texts found;  // sorted
  } cases[] = {
      {"UserSoft", {K(kCurrentUser, runOnce, "Dead"), K(kCurrentUser, "Software\\Vendor", "Path")}},
      {"CommonSoft", {K(kUsers, ".DEFAULT\\Software\\Vendor", "Path")}},
      {"SysSoft",
       {K(kLocalMachine, kCv + "\\RunServicesOnce", "Dead"),
        K(kLocalMachine, "Software\\Vendor", "Path")}},
      {"Com", {K(kLocalMachine, clsid, "")}},
      {"Uninstall", {K(kLocalMachine, kCv + "\\Uninstall\\App", "")}},
      {"Recent", {K(kCurrentUser, kCv + "\\Explorer\\RunMRU", "a")}},
      {"StartMenu", {K(kCurrentUser, "Software\\Empty", "")}},
      {"Dll", {K(kLocalMachine, dlls, gone)}},
      {"Language", {K(kLocalMachine, locale, "00000c1a")}},
      {"TimeZone", {K(kLocalMachine, kZones, "")}},
      {"Run",
       {K(kCurrentUser, runOnce, "Dead"), K(kLocalMachine, kCv + "\\RunServicesOnce", "Dead")}},
  };
  for (const auto& c : cases) {
    Configure({c.area});
    EXPECT_EQ(Scan(), c.found) << c.area;  // the list of the previous scan is gone too
  }
}

TEST_F(ScanOrchestrator, MissingOrMalformedSettingsSwitchEveryAreaOff) {
  SetString(kCurrentUser, kCv + "\\Run", "Dead", gone);
  EXPECT_EQ(Scan(), Texts{});
  folder.WriteFile("Settings.xml", "<Config><Areas><Run custom=\"1\"></Areas>");
  EXPECT_EQ(Scan(), Texts{});
}

TEST_F(ScanOrchestrator, AreaSwitchesAreReadJustBeforeEachArea) {
  Configure({"UserSoft"});
  SetString(kLocalMachine, kCv + "\\Run", "Dead", gone);
  Hook hook([&](UINT, LPARAM percent) {
    recorder.progress.push_back(int(percent));
    if (percent == 13) Configure({"Run"});  // UserSoft is done
  });
  context.hwndProgress = hook.window;
  EXPECT_EQ(Scan(), Texts{K(kLocalMachine, kCv + "\\Run", "Dead")});
}

TEST_F(ScanOrchestrator, UserExclusionsKeepKeysOutOfWalksAndEnumerations) {
  Configure({"UserSoft", "Uninstall", "TimeZone"},
            {"hkey_current_user\\software\\excluded", "*\\wild*", "CurrentVersion\\UNINSTALL",
             "time zones"});
  SetString(kCurrentUser, "Software\\Excluded\\Deep", "Path", gone);
  SetString(kCurrentUser, "Software\\Wildcard", "Path", gone);
  SetString(kCurrentUser, "Software\\Kept", "Path", gone);
  CreateKey(kLocalMachine, kCv + "\\Uninstall\\NoValues");
  SetString(kLocalMachine, kZones, "Std", "Nowhere Standard Time");
  EXPECT_EQ(Scan(), Texts{K(kCurrentUser, "Software\\Kept", "Path")});
}

TEST_F(ScanOrchestrator, CancellingKeepsWhatWasFoundAndEveryLaterAreaReportsProgress) {
  Configure({"UserSoft", "Run"});
  for (char i = '0'; i < '5'; ++i)
    SetString(kCurrentUser, std::string("Software\\Vendor") + i, "Path", gone);
  SetString(kLocalMachine, kCv + "\\Run", "Dead", gone);
  Hook stopper([&](UINT message, LPARAM) {
    if (message == WM_SCAN_ISSUE) cancel = 1;
  });
  context.hwndIssues = stopper.window;
  const Texts found = Scan();
  // The first issue, and at most the first value of each later walk.
  ASSERT_FALSE(found.empty());
  EXPECT_LE(found.size(), 2u);
  EXPECT_EQ(context.issues[0].key, "Software\\Vendor0");
}

}  // namespace
