#include "scan/scan_orchestrator.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <functional>

#include "foundation/case_map.h"
#include "support/registry_sandbox.h"
#include "support/scan_recorder.h"
#include "support/scratch_folder.h"
#include "support/test_paths.h"

namespace {

const char* const kAllAreas[] = {"UserSoft", "CommonSoft", "SysSoft",  "Com",
                                 "Uninstall", "Recent",    "StartMenu", "Dll",
                                 "Language", "TimeZone",   "Run"};

std::string ConfigXml(const std::vector<std::string>& on,
                      const std::vector<std::string>& exclusions = {}) {
  std::string xml = "<?xml version=\"1.0\"?>\r\n<Config>\r\n<Areas>\r\n";
  for (const char* area : kAllAreas) {
    const bool enabled = std::find(on.begin(), on.end(), area) != on.end();
    xml += std::string("<") + area + " default=\"1\" custom=\"" + (enabled ? "1" : "0") + "\"/>\r\n";
  }
  xml += "</Areas>\r\n<Exclude>\r\n<default><item value=\"HKEY_LOCAL_MACHINE\\Software\\Factory\"/></default>\r\n<custom>";
  for (const std::string& item : exclusions) xml += "<item value=\"" + item + "\"/>";
  xml += "</custom>\r\n</Exclude>\r\n</Config>\r\n";
  return xml;
}

const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// A window whose WM_SCAN_PROGRESS handler can act in the middle of a scan.
class ProgressHook {
 public:
  explicit ProgressHook(std::function<void(int)> onProgress) : onProgress_(std::move(onProgress)) {
    static ATOM atom = [] {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = Procedure;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "KelvaneTestProgressHook";
      return RegisterClassA(&wc);
    }();
    (void)atom;
    window_ = CreateWindowExA(0, "KelvaneTestProgressHook", "", 0, 0, 0, 1, 1, HWND_MESSAGE,
                              nullptr, GetModuleHandleA(nullptr), this);
  }
  ~ProgressHook() { DestroyWindow(window_); }
  HWND window() const { return window_; }
  std::vector<int> seen;

 private:
  static LRESULT CALLBACK Procedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
      SetWindowLongPtrA(w, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<ProgressHook*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (self && m == WM_SCAN_PROGRESS) {
      self->seen.push_back(static_cast<int>(lp));
      self->onProgress_(static_cast<int>(lp));
      return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
  }
  std::function<void(int)> onProgress_;
  HWND window_ = nullptr;
};

}  // namespace

class ScanOrchestrator : public ::testing::Test {
 protected:
  RegistrySandbox sandbox;
  ScratchFolder folder;
  std::string config = folder / "Settings.xml";
  ScanRecorder recorder;
  ScanContext context;

  void SetUp() override {
    CoInitialize(nullptr);
    UseRepositoryLanguage();
    context.configPath = config;
    recorder.Attach(context);
  }
  void TearDown() override { CoUninitialize(); }

  void WriteConfig(const std::string& xml) { folder.WriteFile("Settings.xml", xml); }

  std::vector<std::string> IssueKeys() const {
    std::vector<std::string> keys;
    for (const ScanIssue& issue : context.issues)
      keys.push_back(RootKeyName(issue.root) + "\\" + issue.key + "|" + issue.valueName);
    return keys;
  }
};

TEST_F(ScanOrchestrator, OnlyRunWalksTheSixRunKeysAndReportsEveryProgressStep) {
  WriteConfig(ConfigXml({"Run"}));
  const std::string gone = "\"" + (folder / "Gone\\tool.exe") + "\" /min";
  const std::string alive = "\"" + folder.WriteFile("Tool\\tool.exe") + "\" /min";
  SetString(kLocalMachine, kRun, "DeadMachine", gone);
  SetString(kLocalMachine, kRunOnce, "Alive", alive);
  SetString(kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce", "Dead2", gone);
  SetString(kCurrentUser, kRunOnce, "DeadUser", gone);
  SetString(kCurrentUser, "Software\\Vendor", "Path", gone);  // UserSoft is off
  SetString(kCurrentUser, std::string(kRun) + "\\Sub", "Deeper", gone);  // no recursion

  RunScan(context);
  EXPECT_EQ(recorder.progress,
            (std::vector<int>{3, 13, 27, 35, 42, 55, 67, 78, 85, 90, 97, 100}));
  EXPECT_EQ(IssueKeys(),
            (std::vector<std::string>{
                "HKEY_LOCAL_MACHINE\\" + std::string(kRun) + "|DeadMachine",
                "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce|Dead2",
                "HKEY_CURRENT_USER\\" + std::string(kRunOnce) + "|DeadUser"}));
  EXPECT_EQ(recorder.issues.size(), 3u);
}

TEST_F(ScanOrchestrator, MissingOrMalformedSettingsSwitchEveryAreaOff) {
  SetString(kCurrentUser, kRun, "Dead", folder / "Gone\\x.exe");
  RunScan(context);  // no Settings.xml at all
  EXPECT_TRUE(context.issues.empty());
  EXPECT_EQ(recorder.progress.size(), 12u);

  WriteConfig("<Config><Areas><Run custom=\"1\"></Areas>");  // not well-formed
  recorder.progress.clear();
  RunScan(context);
  EXPECT_TRUE(context.issues.empty());
  EXPECT_EQ(recorder.progress.back(), 100);
}

TEST_F(ScanOrchestrator, TheListIsEmptiedAtTheStartOfEveryScan) {
  WriteConfig(ConfigXml({"Run"}));
  SetString(kCurrentUser, kRun, "Dead", folder / "Gone\\x.exe");
  RunScan(context);
  RunScan(context);
  EXPECT_EQ(context.issues.size(), 1u);
}

TEST_F(ScanOrchestrator, AreaSwitchesAreReadJustBeforeEachArea) {
  WriteConfig(ConfigXml({"UserSoft"}));
  SetString(kLocalMachine, kRun, "Dead", folder / "Gone\\x.exe");
  ProgressHook hook([&](int percent) {
    if (percent == 13) WriteConfig(ConfigXml({"Run"}));  // after UserSoft has run
  });
  context.hwndProgress = hook.window();
  RunScan(context);
  ASSERT_EQ(context.issues.size(), 1u);
  EXPECT_EQ(context.issues[0].valueName, "Dead");
}

TEST_F(ScanOrchestrator, UserExclusionsKeepKeysOutOfWalksAndEnumerations) {
  WriteConfig(ConfigXml({"UserSoft", "Uninstall", "StartMenu", "Run"},
                        {"hkey_current_user\\software\\excluded", "*\\wild*", "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL"}));
  const std::string gone = folder / "Gone\\x.exe";
  SetString(kCurrentUser, "Software\\Excluded\\Deep", "Path", gone);
  SetString(kCurrentUser, "Software\\Wildcard", "Path", gone);
  SetString(kCurrentUser, "Software\\Kept", "Path", gone);
  CreateKey(kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NoValues");
  // The empty-key checker does not consult exclusions: an excluded empty key
  // below HKCU\Software is still reported by the start menu area.
  CreateKey(kCurrentUser, "Software\\Excluded2");

  RunScan(context);
  EXPECT_EQ(IssueKeys(), (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Kept|Path",
                                                   "HKEY_CURRENT_USER\\Software\\Excluded2|"}));
}

TEST_F(ScanOrchestrator, AnExclusionOfTheWordSoftwareStopsEveryEnumeration) {
  WriteConfig(ConfigXml({"Uninstall", "StartMenu", "TimeZone"}, {"SoftWare"}));
  CreateKey(kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NoValues");
  CreateKey(kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs\\Old");
  CreateKey(kLocalMachine, "Software\\EmptyKey");
  SetString(kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\Nowhere", "Std", "Nowhere Standard Time");
  RunScan(context);
  EXPECT_TRUE(context.issues.empty()) << context.issues.size();
}

TEST_F(ScanOrchestrator, CancellingKeepsWhatWasFoundAndLaterAreasStillReport) {
  WriteConfig(ConfigXml({"UserSoft", "Run"}));
  const std::string gone = folder / "Gone\\x.exe";
  for (int i = 0; i < 5; ++i)
    SetString(kCurrentUser, "Software\\Vendor" + std::to_string(i), "Path", gone);
  SetString(kLocalMachine, kRun, "Dead", gone);
  volatile LONG stop = 0;
  context.cancelFlag = &stop;

  // Stop once the first issue has been announced.
  struct Stopper {
    static LRESULT CALLBACK Procedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
      if (m == WM_SCAN_ISSUE) {
        *reinterpret_cast<volatile LONG*>(GetWindowLongPtrA(w, GWLP_USERDATA)) = 1;
        return 0;
      }
      return DefWindowProcA(w, m, wp, lp);
    }
  };
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Stopper::Procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KelvaneTestStopper";
  RegisterClassA(&wc);
  HWND stopper = CreateWindowExA(0, "KelvaneTestStopper", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                 nullptr, nullptr);
  SetWindowLongPtrA(stopper, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&stop));
  context.hwndIssues = stopper;

  RunScan(context);
  DestroyWindow(stopper);
  EXPECT_EQ(recorder.progress.back(), 100);
  EXPECT_EQ(recorder.progress.size(), 12u);
  // The first issue, and at most the first value of each later walk.
  ASSERT_GE(context.issues.size(), 1u);
  EXPECT_LE(context.issues.size(), 2u);
  EXPECT_EQ(context.issues[0].key, "Software\\Vendor0");
}

TEST_F(ScanOrchestrator, AWholeScanFindsIssuesInAreaOrder) {
  std::vector<std::string> all(std::begin(kAllAreas), std::end(kAllAreas));
  WriteConfig(ConfigXml(all));
  const std::string gone = folder / "Gone\\app.exe";
  const std::string present = folder.WriteFile("App\\app.exe");

  SetString(kCurrentUser, "Software\\Vendor", "Path", gone);                  // UserSoft
  SetString(kCurrentUser, "Software\\Vendor", "Fine", present);
  SetString(kUsers, ".DEFAULT\\Software\\Vendor", "Path", gone);              // CommonSoft
  SetString(kLocalMachine, "Software\\Vendor", "Path", gone);                 // SysSoft
  SetString(kLocalMachine, "Software\\Classes\\CLSID\\{A-B-C-D-E}\\InprocServer32", "",
            folder / "Gone\\x.dll");                                          // Com
  SetString(kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App",
            "UninstallString", gone);                                         // Uninstall
  SetString(kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", "a",
            "notepad\\1");                                                    // Recent
  SetString(kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
            folder / "Gone\\shared.dll", "");                                 // Dll, and SysSoft: its name is a path
  SetString(kLocalMachine, "System\\CurrentControlSet\\Control\\Nls\\Locale", "00000c1a", "");  // Language
  SetString(kCurrentUser, kRun, "Dead", gone);                                // Run

  RunScan(context);
  // Key names come back in the letter case the registry keeps.
  std::vector<std::string> keys = IssueKeys();
  for (std::string& key : keys) key = ToLowerText(key);
  const auto n = static_cast<long>(keys.size());
  auto first = [&](const std::string& key) {
    return static_cast<long>(std::find(keys.begin(), keys.end(), ToLowerText(key)) - keys.begin());
  };
  auto last = [&](const std::string& key) {
    const auto it = std::find(keys.rbegin(), keys.rend(), ToLowerText(key));
    return it == keys.rend() ? n : static_cast<long>(keys.rend() - it - 1);
  };
  // Values found by two areas are reported twice, once by each.
  const std::string run = "HKEY_CURRENT_USER\\" + std::string(kRun) + "|Dead";
  const std::string dll = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls|" +
                          (folder / "Gone\\shared.dll");
  EXPECT_EQ(std::count(keys.begin(), keys.end(), ToLowerText(run)), 2);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), ToLowerText(dll)), 2);
  const long order[] = {
      first("HKEY_CURRENT_USER\\Software\\Vendor|Path"),
      first("HKEY_USERS\\.DEFAULT\\Software\\Vendor|Path"),
      first("HKEY_LOCAL_MACHINE\\Software\\Vendor|Path"),
      first("HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{A-B-C-D-E}|"),
      first("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App|"),
      first("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU|a"),
      last(dll),
      first("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Nls\\Locale|00000c1a"),
      last(run),
  };
  for (std::size_t i = 0; i < std::size(order); ++i) EXPECT_LT(order[i], n) << i;
  for (std::size_t i = 1; i < std::size(order); ++i) EXPECT_LT(order[i - 1], order[i]) << i;
  EXPECT_EQ(last(run), n - 1);
  // The healthy value is never reported.
  EXPECT_EQ(first("HKEY_CURRENT_USER\\Software\\Vendor|Fine"), n);
  // The uninstall key itself is kept out of the system software walk.
  EXPECT_EQ(first("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App|UninstallString"),
            n);
}
