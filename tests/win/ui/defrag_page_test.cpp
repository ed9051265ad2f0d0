// The defragmentation page: the result window shows the figures of the
// analysis just made and opens on the user-interface thread; the restart and
// "LastDefrag" follow only a confirmed, accepted replacement; a stop request
// waits for the save under way.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "defrag/hive_compactor.h"
#include "defrag/process_privileges.h"
#include "foundation/file_checks.h"
#include "foundation/file_size_text.h"
#include "foundation/settings_keys.h"
#include "foundation/settings_store.h"
#include "foundation/version_info.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "support/registry_sandbox.h"
#include "test_dialog_ids.h"
#include "ui/dialog.h"
#include "ui/pages/defrag_analysis.h"
#include "ui/pages/defrag_page.h"
#include "ui/rules/text_format.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

constexpr std::size_t kBigHive = 300000;  // far larger than the copy of a small key

std::string Text(const char* key) { return LanguageText(key); }

// The caption of a window of the test thread, asked without waiting on that
// thread: it may have stopped delivering messages (it joins the driver).
std::string CaptionOf(HWND window) {
  char text[256] = "";
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_NORMAL, 200, &copied))
    return "";
  return text;
}

// What one run through the page's windows does and meets.
struct Seen {
  std::string result[4];  // lines 1008, 1009, 1010 and 1011 of the result window
  std::string barText;
  int barPosition = -1;
  bool replaceEnabled = false;
  std::string cancelCaption;
  bool onTestThread = false;
  std::vector<std::string> messages;  // texts of the boxes after the result window
};

class DefragPageTest : public ::testing::Test {
 protected:
  DefragPageTest() : host_(IDD_TEST_DIALOG) {
    EXPECT_TRUE(EnableDefragPrivileges()) << "saving a hive needs the backup privilege";
    SetString(kUsers, "S-1-5-21-7-7-7-1001\\Console", "UserMarker", "blue");
    SetString(kLocalMachine, "SOFTWARE\\Vendor", "MachineMarker", "green");
    host_.Create(nullptr);
    page_ = std::make_unique<DefragPage>(PageContext{program_.path(), nullptr}, [this] {
      ++restarts_;
      return restartWorks_;
    });
    page_->Create(host_.window());
  }
  ~DefragPageTest() override {
    page_.reset();
    host_.Destroy();
    SetProcessHiveList({});
  }

  HiveEntry Hive(const char* name, const std::string& file, std::size_t size) const {
    const std::string path = files_.WriteFile(file, std::string(size, 'h'));
    return HiveEntry{name, path, GetFileSize64(path), 0, "", ""};
  }
  // The user's and the machine's hive, their files in `folder`.
  HiveList UsableHives(std::size_t size, const std::string& folder = "a") const {
    return {Hive("\\REGISTRY\\USER\\S-1-5-21-7-7-7-1001", folder + "\\NTUSER.DAT", size),
            Hive("\\REGISTRY\\MACHINE\\SOFTWARE", folder + "\\software", size)};
  }

  // Starts the page's job and says yes to its first question; in the result
  // window, `replaceAnswer` 0 closes it, IDOK or IDCANCEL presses "L0030" and
  // answers "L0038" so (after IDCANCEL the window must stay, and is closed
  // then); `beforeReplace` runs while it is open. Boxes after it get OK.
  Seen Run(int replaceAnswer, const std::function<void()>& beforeReplace = nullptr) {
    Seen seen;
    const std::string warning = Text("L0025");
    ModalDriver driver([&](ModalDriver& d) {
      const HWND ask = d.WaitForWindow("#32770", warning, 10000);
      if (ask == nullptr) return;
      if (BoxText(ask) != Text("L0024")) d.Problem("the first question reads " + BoxText(ask));
      PostMessageA(ask, WM_COMMAND, IDOK, 0);
      const HWND result = d.WaitForWindow("#32770", Text("L0028"), 30000);
      if (result == nullptr) return;
      seen.onTestThread = GetWindowThreadProcessId(result, nullptr) == d.testThread();
      const int lines[] = {IDC_RESULT_SAVED, IDC_RESULT_AFTER, IDC_RESULT_FREED, IDC_RESULT_ADVICE};
      for (int i = 0; i < 4; ++i) seen.result[i] = WindowTextOf(GetDlgItem(result, lines[i]));
      seen.barText = WindowTextOf(GetDlgItem(result, IDC_RESULT_BAR));
      seen.barPosition =
          static_cast<int>(SendMessageA(GetDlgItem(result, IDC_RESULT_BAR), PBM_GETPOS, 0, 0));
      seen.replaceEnabled = IsWindowEnabled(GetDlgItem(result, IDC_RESULT_REPLACE)) != FALSE;
      seen.cancelCaption = WindowTextOf(GetDlgItem(result, IDCANCEL));
      if (beforeReplace) beforeReplace();
      if (replaceAnswer != 0) {
        PostMessageA(GetDlgItem(result, IDC_RESULT_REPLACE), BM_CLICK, 0, 0);
        const HWND confirm = d.WaitForWindow("#32770", warning);
        if (confirm == nullptr) return;
        if (BoxText(confirm) != Text("L0038")) d.Problem("the restart question is not L0038");
        PostMessageA(confirm, WM_COMMAND, replaceAnswer, 0);
        d.WaitUntilGone(confirm);
      }
      if (replaceAnswer != IDOK) {
        Sleep(200);
        if (!IsWindowVisible(result)) d.Problem("the result window closed without a yes");
        PostMessageA(result, WM_COMMAND, IDCANCEL, 0);
      }
      if (!d.WaitUntilGone(result)) return;
      // Any box now is the page's word on the replacement.
      for (DWORD start = GetTickCount(); page_running_ && GetTickCount() - start < 10000;
           Sleep(50)) {
        HWND box = nullptr;
        EnumThreadWindows(
            d.testThread(),
            [](HWND window, LPARAM found) -> BOOL {
              if (!IsWindowVisible(window) || CaptionOf(window) != ProgramProductName())
                return TRUE;
              *reinterpret_cast<HWND*>(found) = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&box));
        if (box == nullptr) continue;
        seen.messages.push_back(BoxText(box));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        d.WaitUntilGone(box);
      }
    });
    page_running_ = true;
    page_->Defragment();
    page_running_ = false;
    driver.Finish();
    EXPECT_TRUE(driver.ok()) << driver.report();
    return seen;
  }

  RegistrySandbox sandbox_;
  GdiplusScope gdiplus_;
  ProgramFolder program_;
  ScratchFolder files_;
  Dialog host_;
  std::unique_ptr<DefragPage> page_;
  int restarts_ = 0;
  bool restartWorks_ = true;
  volatile bool page_running_ = false;
};

}  // namespace

// An analysis that saves space is the end-to-end script's; these save none.
TEST_F(DefragPageTest, TheResultWindowShowsTheFiguresOfTheAnalysis) {
  const struct {
    const char* what;
    HiveList hives;
  } cases[] = {
      {"hive files smaller than their copies", UsableHives(1, "b")},
      {"no hive that can be saved", {Hive("\\REGISTRY\\MACHINE\\NOSUCHHIVE", "x\\gone", kBigHive)}},
      {"an empty hive list", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetProcessHiveList(c.hives);
    const Seen seen = Run(0);
    EXPECT_TRUE(seen.onTestThread) << "the result window is the user-interface thread's";
    // The figures as the files on disk give them.
    std::uint64_t before = 0, after = 0;
    for (const HiveEntry& hive : c.hives) {
      const std::string copy = hive.file + kCompactCopySuffix;
      if (!FileExists(copy)) continue;
      before += hive.fileSize;
      after += GetFileSize64(copy);
    }
    EXPECT_GE(after, before) << "nothing saved";
    EXPECT_EQ(seen.barPosition, 100);
    EXPECT_EQ(seen.barText, FormatChecked(Text("L0032"), {0}));
    EXPECT_EQ(seen.result[1], FormatChecked(Text("L0033"), {FormatFileSize(after), 100}));
    EXPECT_EQ(seen.result[2], FormatChecked(Text("L0034"), {FormatFileSize(0), 0}));
    EXPECT_EQ(seen.result[0], Text("L0035"));
    EXPECT_EQ(seen.result[3], Text("L0036"));
    EXPECT_FALSE(seen.replaceEnabled) << "nothing to replace";
    EXPECT_EQ(seen.cancelCaption, Text("L0037"));
    EXPECT_EQ(restarts_, 0) << "closing the window restarts nothing";
    EXPECT_EQ(ReadSetting(kKeyLastDefrag), "");
  }
}

TEST_F(DefragPageTest, RestartAndDateFollowOnlyAConfirmedAcceptedReplacement) {
  const struct {
    const char* what;
    int replaceAnswer;    // the answer to "L0038"
    bool copiesVanish;    // the compact copies are gone before the replacement
    bool restartWorks;    // the restart request is accepted
    int restarts;         // how often a restart is asked for
    bool dated;           // "LastDefrag" is written
    const char* message;  // the box that follows, or none
  } cases[] = {
      {"confirmed", IDOK, false, true, 1, true, nullptr},
      {"restart declined", IDCANCEL, false, true, 0, false, nullptr},
      {"nothing could be replaced", IDOK, true, true, 0, false, "L0252"},
      {"restart refused by the system", IDOK, false, false, 1, true, "L0253"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSetting(kKeyLastDefrag, "");
    restarts_ = 0;
    restartWorks_ = c.restartWorks;
    SetProcessHiveList(UsableHives(kBigHive));
    const Seen seen = Run(c.replaceAnswer, [&c] {
      if (!c.copiesVanish) return;
      for (const HiveEntry& hive : ProcessHiveList()) DeleteFileForced(hive.compactFile);
    });
    EXPECT_EQ(restarts_, c.restarts);
    EXPECT_EQ(ReadSetting(kKeyLastDefrag) != "", c.dated);
    EXPECT_EQ(seen.messages,
              c.message ? std::vector<std::string>{Text(c.message)} : std::vector<std::string>{});
  }
}

namespace {

// Stands in for the wait window: records the bar positions the analysis
// reports (sent with lParam 0) and asks it to stop at the first one.
struct StopAtFirstHive {
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message < WM_APP) return DefWindowProcA(window, message, wParam, lParam);
    if (lParam == 0) {
      positions.push_back(static_cast<int>(wParam));
      stop = 1;
    }
    return TRUE;
  }
  static std::vector<int> positions;
  static volatile LONG stop;
};
std::vector<int> StopAtFirstHive::positions;
volatile LONG StopAtFirstHive::stop = 0;

}  // namespace

TEST_F(DefragPageTest, AStopRequestWaitsForTheSaveUnderWayAndOffersNothing) {
  WNDCLASSA type = {};
  type.lpfnWndProc = StopAtFirstHive::Procedure;
  type.hInstance = GetModuleHandleA(nullptr);
  type.lpszClassName = "KelvaneTestStopAtFirstHive";
  RegisterClassA(&type);
  const HWND window = CreateWindowA(type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    type.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  HiveList hives = UsableHives(kBigHive);
  for (const char* folder : {"b", "c", "d"}) hives.push_back(UsableHives(kBigHive, folder)[1]);
  StopAtFirstHive::positions.clear();
  StopAtFirstHive::stop = 0;
  const WaitReporter reporter(window, &StopAtFirstHive::stop);
  EXPECT_FALSE(AnalyseHivesForWaitWindow(hives, reporter)) << "the analysis stopped";
  DestroyWindow(window);
  EXPECT_EQ(StopAtFirstHive::positions, std::vector<int>{20}) << "the bar stays at 1 of 5";
  EXPECT_TRUE(FileExists(hives[0].file + kCompactCopySuffix)) << "the save under way completed";
  for (std::size_t i = 1; i < hives.size(); ++i)
    EXPECT_FALSE(FileExists(hives[i].file + kCompactCopySuffix)) << i << ": never started";
  for (const HiveEntry& hive : hives)
    EXPECT_EQ(hive.compactFile, "") << "a stopped analysis offers no copy for replacement";
}
