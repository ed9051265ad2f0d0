// The HTML export of a list: the exact bytes (registry text escaped, markup
// read only where the program put it), a write that fails is reported and
// leaves nothing half-written, and the save dialog asks before it replaces
// a file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/file_checks.h"
#include "foundation/find_handle.h"
#include "modal_driver.h"
#include "support/scratch_folder.h"
#include "ui/html_export.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

// A hidden window holding one list without tick boxes.
class ListHost {
 public:
  ListHost() {
    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    created_ = list.Create(window_, 1, RECT{0, 0, 400, 200}, false);
    list.SetRowColors(MakeRgb(0xFF, 0xFF, 0xFF), MakeRgb(0xEE, 0xEE, 0xEE));
    list.SetTextColor(MakeRgb(0, 0, 0));
  }
  ~ListHost() { DestroyWindow(window_); }
  ListHost(const ListHost&) = delete;
  ListHost& operator=(const ListHost&) = delete;

  bool created() const { return created_; }
  ResultList list;

 private:
  HWND window_ = nullptr;
  bool created_ = false;
};

std::string Cell(const std::string& back, const std::string& fore, const std::string& text) {
  return "<td width=\"150\" bgcolor=\"#" + back +
         "\"><font face=\"Tahoma\" style=\"font-size: 8pt\" color=\"#" + fore + "\">" + text +
         "</font></td>";
}

const char kTableStart[] =
    "<table border=\"1\" bordercolorlight=\"#C0C0C0\" bordercolordark=\"#C0C0C0\" "
    "style=\"border-collapse: collapse\">";

// A list whose registry texts try to be HTML and markup.
void FillHostileList(ResultList& list) {
  list.AddColumn("Root key", 100);
  list.AddColumn("Key", 200);
  list.AppendRow({"HKEY_CURRENT_USER", EscapeCellText("<script>alert(1)</script>")});
  list.AppendRow({"{BKCOLOR:255,255,0}abc", EscapeCellText("{PERCENT:5000}&\"x\"")});
  list.AppendRow({"{ICON:1}{PERCENT:40}", "{TEXTCOLOR:255,0,0}red"});
}

std::string HostileListReport() {
  return std::string(kTableStart) + "<tr>" + Cell("0066CC", "FFFFFF", "Root key") +
         Cell("0066CC", "FFFFFF", "Key") + "</tr><tr>" +
         Cell("FFFFFF", "000000", "HKEY_CURRENT_USER") +
         Cell("FFFFFF", "000000", "&lt;script&gt;alert(1)&lt;/script&gt;") + "</tr><tr>" +
         Cell("FFFF00", "000000", "abc") +
         Cell("EEEEEE", "000000", "{PERCENT:5000}&amp;&quot;x&quot;") + "</tr><tr>" +
         Cell("FFFFFF", "000000", "") + Cell("FFFFFF", "FF0000", "red") + "</tr></table>";
}

// The names in `folder`, "." and ".." left out.
std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  FindHandle find(folder + "\\*");
  for (bool more = find.IsOpen(); more; more = find.Next()) {
    const std::string name = find.data().cFileName;
    if (name != "." && name != "..") names.push_back(name);
  }
  return names;
}

// A visible dialog or message box of the test thread other than `except`.
HWND OtherDialog(DWORD thread, HWND except, DWORD timeoutMs) {
  struct Search {
    HWND except;
    HWND found;
  } search{except, nullptr};
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM parameter) -> BOOL {
          auto* s = reinterpret_cast<Search*>(parameter);
          char name[32] = "";
          GetClassNameA(window, name, sizeof name);
          if (window == s->except || !IsWindowVisible(window) || lstrcmpA(name, "#32770") != 0)
            return TRUE;
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(50);
  }
  return nullptr;
}

// Types `path` into the save dialog's file name box and presses Save.
bool EnterFileName(HWND dialog, const std::string& path) {
  HWND box = GetDlgItem(dialog, 0x47C);                 // cmb13, the name box of newer dialogs
  if (box == nullptr) box = GetDlgItem(dialog, 0x480);  // edt1
  if (box == nullptr) return false;
  SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return true;
}

}  // namespace

TEST(HtmlExport, TheReportHoldsTheListExactlyWithRegistryTextEscaped) {
  ListHost host;
  ASSERT_TRUE(host.created());
  FillHostileList(host.list);
  const ReportTable table = ReadReportTable(host.list);
  ASSERT_EQ(table.rows.size(), 3u) << "one row per list row";
  EXPECT_EQ(table.rows[1][1], "{}{PERCENT:5000}&\"x\"") << "cells are read raw, markup and all";
  EXPECT_EQ(table.oddRowColor, MakeRgb(0xEE, 0xEE, 0xEE)) << "with the list's colours";

  ScratchFolder folder;
  const std::string path = folder / "report.htm";
  EXPECT_EQ(ExportListToHtml(host.list, path), ExportResult::kSaved) << "written";
  EXPECT_EQ(ReadWholeFile(path), HostileListReport())
      << "byte for byte: escaped, forged tags shown, real tags read";

  ListHost empty;
  ASSERT_TRUE(empty.created());
  empty.list.AddColumn("A", 50);
  empty.list.AddColumn("B", 50);
  EXPECT_EQ(BuildHtmlReport(ReadReportTable(empty.list)),
            std::string(kTableStart) + "<tr>" + Cell("0066CC", "FFFFFF", "A") +
                Cell("0066CC", "FFFFFF", "B") + "</tr></table>")
      << "a list without rows: the header row alone, on one line";
}

TEST(HtmlExport, AFailedWriteIsReportedAndLeavesNoHalfFileNorChangesTheOldOne) {
  ListHost host;
  ASSERT_TRUE(host.created());
  FillHostileList(host.list);
  ScratchFolder folder;

  EXPECT_EQ(ExportListToHtml(host.list, folder / "missing\\report.htm"), ExportResult::kFailed)
      << "a folder that is not there";
  EXPECT_FALSE(FileExists(folder / "missing\\report.htm")) << "leaves no file";

  const std::string taken = folder.MakeFolder("taken.htm");
  EXPECT_FALSE(WriteFileReplacing(taken, "report")) << "a folder of the target's name";
  EXPECT_TRUE(FolderExists(taken)) << "is left a folder";

  const std::string locked = folder.WriteFile("locked.htm", "old report");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(WriteFileReplacing(locked, "new report")) << "a read-only file is not replaced";
  EXPECT_EQ(ReadWholeFile(locked), "old report") << "and keeps its content";
  EXPECT_EQ(FolderEntries(folder.path()), (std::vector<std::string>{"locked.htm", "taken.htm"}))
      << "no temporary file is left behind";

  const std::string existing = folder.WriteFile("existing.htm", "old");
  EXPECT_TRUE(WriteFileReplacing(existing, "new")) << "a plain file is replaced";
  EXPECT_EQ(ReadWholeFile(existing), "new") << "by the new text alone";

  EXPECT_FALSE(WriteAndClose(ScopedStdioFile(std::fopen(existing.c_str(), "rb")), "text"))
      << "a write that does not reach the file is reported";
  EXPECT_FALSE(WriteAndClose(ScopedStdioFile(), "text")) << "so is a file that did not open";
  EXPECT_TRUE(WriteAndClose(ScopedStdioFile(std::fopen(existing.c_str(), "wb")), ""))
      << "an empty text is written";
}

TEST(HtmlExport, TheSaveDialogAsksBeforeReplacingAFileAndNoKeepsIt) {
  UseRepositoryLanguage();
  ListHost host;
  ASSERT_TRUE(host.created());
  FillHostileList(host.list);
  ScratchFolder folder;
  const std::string path = folder.WriteFile("kept.htm", "old");

  bool stayedOpen = false;
  ModalDriver driver([&](ModalDriver& d) {
    const HWND dialog = d.WaitForWindow("#32770", "Export to HTML", 20000);
    if (dialog == nullptr) return;
    if (!EnterFileName(dialog, path)) {
      d.Problem("no file name box");
      return;
    }
    const HWND question = OtherDialog(d.testThread(), dialog, 10000);
    if (question == nullptr) {
      d.Problem("no question before replacing the file");
      return;
    }
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    d.WaitUntilGone(question);
    Sleep(200);
    stayedOpen = IsWindowVisible(dialog) != FALSE;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  const ExportResult result = ExportListToHtml(host.list);
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_TRUE(stayedOpen) << "No goes back to the save dialog";
  EXPECT_EQ(result, ExportResult::kCancelled) << "which was then cancelled";
  EXPECT_EQ(ReadWholeFile(path), "old") << "the file was not replaced";
}

TEST(HtmlExport, TheSaveDialogReplacesAFileOnYesAndWritesANewOneWithoutAsking) {
  UseRepositoryLanguage();
  ListHost host;
  ASSERT_TRUE(host.created());
  FillHostileList(host.list);
  ScratchFolder folder;
  const std::string replaced = folder.WriteFile("replaced.htm", "old");

  ModalDriver yes([&](ModalDriver& d) {
    const HWND dialog = d.WaitForWindow("#32770", "Export to HTML", 20000);
    if (dialog == nullptr) return;
    if (!EnterFileName(dialog, replaced)) {
      d.Problem("no file name box");
      return;
    }
    const HWND question = OtherDialog(d.testThread(), dialog, 10000);
    if (question == nullptr) {
      d.Problem("no question before replacing the file");
      return;
    }
    PostMessageA(question, WM_COMMAND, IDYES, 0);
  });
  EXPECT_EQ(ExportListToHtml(host.list), ExportResult::kSaved) << "Yes saves";
  yes.Finish();
  EXPECT_TRUE(yes.ok()) << yes.report();
  EXPECT_EQ(ReadWholeFile(replaced), HostileListReport()) << "the report replaced the file";

  const std::string fresh = folder / "fresh";
  ModalDriver save([&](ModalDriver& d) {
    const HWND dialog = d.WaitForWindow("#32770", "Export to HTML", 20000);
    if (dialog == nullptr) return;
    if (!EnterFileName(dialog, fresh)) {
      d.Problem("no file name box");
      return;
    }
  });
  EXPECT_EQ(ExportListToHtml(host.list), ExportResult::kSaved) << "a new name saves at once";
  save.Finish();
  EXPECT_TRUE(save.ok()) << save.report();
  EXPECT_EQ(ReadWholeFile(fresh + ".htm"), HostileListReport())
      << "under the name with the default extension";
}
