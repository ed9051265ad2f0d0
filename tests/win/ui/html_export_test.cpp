// The HTML export: registry text escaped and its forged markup shown, and a
// failed write reported without touching the old file.
#include <gtest/gtest.h>

#include <string>

#include "foundation/file_checks.h"
#include "support/scratch_folder.h"
#include "ui/html_export.h"

using namespace kelvane;

namespace {

std::string Cell(const std::string& back, const std::string& fore, const std::string& text) {
  return "<tr><td width=\"150\" bgcolor=\"#" + back +
         "\"><font face=\"Tahoma\" style=\"font-size: 8pt\" color=\"#" + fore + "\">" + text +
         "</font></td></tr>";
}

const std::string kReport =
    "<table border=\"1\" bordercolorlight=\"#C0C0C0\" bordercolordark=\"#C0C0C0\" "
    "style=\"border-collapse: collapse\">" +
    Cell("0066CC", "FFFFFF", "Key") +
    Cell("FFFFFF", "000000", "&lt;script&gt;{PERCENT:5000}&amp;&quot;x&quot;") +
    Cell("EEEEEE", "FF0000", "red") + "</table>";

}  // namespace

TEST(HtmlExport, WritesTheListEscapedAndAFailedWriteLeavesTheOldFile) {
  const HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  ResultList list;
  ASSERT_TRUE(list.Create(window, 1, RECT{0, 0, 400, 200}, false));
  list.SetRowColors(MakeRgb(0xFF, 0xFF, 0xFF), MakeRgb(0xEE, 0xEE, 0xEE));
  list.SetTextColor(MakeRgb(0, 0, 0));
  list.AddColumn("Key", 100);
  list.AppendRow({EscapeCellText("<script>{PERCENT:5000}&\"x\"")});  // registry text
  list.AppendRow({"{TEXTCOLOR:255,0,0}red"});                        // the program's markup
  ScratchFolder folder;
  EXPECT_EQ(ExportListToHtml(list, folder / "report.htm"), ExportResult::kSaved);
  EXPECT_EQ(ReadWholeFile(folder / "report.htm"), kReport);

  EXPECT_EQ(ExportListToHtml(list, folder / "missing\\report.htm"), ExportResult::kFailed)
      << "a folder that is not there";
  const std::string locked = folder.WriteFile("locked.htm", "old report");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ExportListToHtml(list, locked), ExportResult::kFailed) << "a read-only file";
  EXPECT_EQ(ReadWholeFile(locked), "old report") << "keeps its content";
  EXPECT_FALSE(WriteAndClose(ScopedStdioFile(std::fopen(locked.c_str(), "rb")), "text"))
      << "a write that does not reach the file is reported";
  DestroyWindow(window);
}
