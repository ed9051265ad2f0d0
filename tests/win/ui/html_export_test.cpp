// The HTML export: registry text escaped and its forged markup shown, a
// failed write reported without touching the old file, and the save dialog
// asking before it replaces a file.
#include <gtest/gtest.h>

#include <string>

#include "foundation/file_checks.h"
#include "modal_driver.h"
#include "support/scratch_folder.h"
#include "ui/html_export.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

// A hidden window holding one list of registry texts that try to be HTML
// and markup.
class HostileList {
 public:
  HostileList() {
    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    created = list.Create(window_, 1, RECT{0, 0, 400, 200}, false);
    list.SetRowColors(MakeRgb(0xFF, 0xFF, 0xFF), MakeRgb(0xEE, 0xEE, 0xEE));
    list.SetTextColor(MakeRgb(0, 0, 0));
    list.AddColumn("Key", 100);
    list.AppendRow({EscapeCellText("<b>{PERCENT:5000}&\"x\"")});
    list.AppendRow({"{TEXTCOLOR:255,0,0}red"});
  }
  ~HostileList() { DestroyWindow(window_); }
  HostileList(const HostileList&) = delete;
  HostileList& operator=(const HostileList&) = delete;

  bool created = false;
  ResultList list;

 private:
  HWND window_ = nullptr;
};

std::string Cell(const std::string& back, const std::string& fore, const std::string& text) {
  return "<tr><td width=\"150\" bgcolor=\"#" + back +
         "\"><font face=\"Tahoma\" style=\"font-size: 8pt\" color=\"#" + fore + "\">" + text +
         "</font></td></tr>";
}

const std::string kReport =
    "<table border=\"1\" bordercolorlight=\"#C0C0C0\" bordercolordark=\"#C0C0C0\" "
    "style=\"border-collapse: collapse\">" +
    Cell("0066CC", "FFFFFF", "Key") +
    Cell("FFFFFF", "000000", "&lt;b&gt;{PERCENT:5000}&amp;&quot;x&quot;") +
    Cell("EEEEEE", "FF0000", "red") + "</table>";

}  // namespace

TEST(HtmlExport, WritesTheListEscapedAndAFailedWriteLeavesTheOldFile) {
  HostileList host;
  ASSERT_TRUE(host.created);
  ScratchFolder folder;
  EXPECT_EQ(ExportListToHtml(host.list, folder / "report.htm"), ExportResult::kSaved);
  EXPECT_EQ(ReadWholeFile(folder / "report.htm"), kReport);

  EXPECT_EQ(ExportListToHtml(host.list, folder / "missing\\report.htm"), ExportResult::kFailed)
      << "a folder that is not there";
  const std::string locked = folder.WriteFile("locked.htm", "old report");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ExportListToHtml(host.list, locked), ExportResult::kFailed) << "a read-only file";
  EXPECT_EQ(ReadWholeFile(locked), "old report") << "keeps its content";
  EXPECT_FALSE(WriteAndClose(ScopedStdioFile(std::fopen(locked.c_str(), "rb")), "text"))
      << "a write that does not reach the file is reported";
}

TEST(HtmlExport, TheSaveDialogAsksBeforeReplacingAFileAndNoKeepsIt) {
  UseRepositoryLanguage();
  HostileList host;
  ASSERT_TRUE(host.created);
  ScratchFolder folder;
  const std::string path = folder.WriteFile("kept.htm", "old");
  ModalDriver driver([&](ModalDriver& d) {
    const HWND dialog = d.WaitForWindow("#32770", "Export to HTML", 20000);
    if (dialog == nullptr) return;
    HWND box = GetDlgItem(dialog, 0x47C);                 // cmb13, the name box of newer dialogs
    if (box == nullptr) box = GetDlgItem(dialog, 0x480);  // edt1
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    HWND question = nullptr;  // another dialog box of the test thread
    for (int i = 0; i < 200 && question == nullptr; ++i, Sleep(50)) {
      for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w != nullptr;
           w = FindWindowExA(nullptr, w, "#32770", nullptr))
        if (w != dialog && IsWindowVisible(w) &&
            GetWindowThreadProcessId(w, nullptr) == d.testThread())
          question = w;
    }
    if (question == nullptr) return d.Problem("no question before replacing the file");
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    d.WaitUntilGone(question);
    if (!IsWindowVisible(dialog)) d.Problem("No closed the save dialog");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(ExportListToHtml(host.list), ExportResult::kCancelled);
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(ReadWholeFile(path), "old") << "the file was not replaced";
}
