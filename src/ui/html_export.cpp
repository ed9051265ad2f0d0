#include "ui/html_export.h"

#include <commdlg.h>

#include <cstdio>
#include <vector>

#include "foundation/language_table.h"

namespace kelvane {

namespace {

constexpr const char kFilter[] = "Html Files (*.htm)\0*.htm\0";
constexpr std::size_t kPathBuffer = 4096;

// The folder part of `path` ("." when it names none).
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

// A menu entry's text as a title: without the dots that promise a dialog.
std::string TitleFromEntry(std::string text) {
  while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

ReportTable ReadReportTable(const ResultList& list) {
  ReportTable table;
  const int columns = list.ColumnCount();
  for (int column = 0; column < columns; ++column)
    table.columnTitles.push_back(list.ColumnTitle(column));
  const int rows = list.RowCount();
  table.rows.reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column) cells.push_back(list.CellText(row, column));
    table.rows.push_back(std::move(cells));
  }
  table.evenRowColor = list.evenRowColor();
  table.oddRowColor = list.oddRowColor();
  table.textColor = list.textColor();
  return table;
}

bool WriteAndClose(ScopedStdioFile file, const std::string& text) {
  if (!file.IsValid()) return false;
  const std::size_t written =
      text.empty() ? 0 : std::fwrite(text.data(), 1, text.size(), file.Get());
  const bool complete = written == text.size();
  return CloseStdioFile(file) && complete;
}

bool WriteFileReplacing(const std::string& path, const std::string& text) {
  // A protected file or a folder is never replaced (Windows refuses to move
  // over a read-only file; Wine would do it).
  const DWORD existing = GetFileAttributesA(path.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES &&
      (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
    return false;
  char temporary[MAX_PATH + 16] = "";
  // A name of its own in the target's folder, so the move is a rename on
  // one volume.
  if (GetTempFileNameA(FolderOf(path).c_str(), "kvr", 0, temporary) == 0) return false;
  const bool written =
      WriteAndClose(ScopedStdioFile(std::fopen(temporary, "wb")), text) &&
      MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!written) DeleteFileA(temporary);
  return written;
}

std::string AskHtmlReportPath(HWND owner) {
  std::vector<char> file(kPathBuffer, '\0');
  const std::string title = TitleFromEntry(LanguageText("L0084"));
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = "htm";
  dialog.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameA(&dialog)) return std::string();
  return file.data();
}

ExportResult ExportListToHtml(const ResultList& list, const std::string& path) {
  std::string target = path;
  if (target.empty()) target = AskHtmlReportPath(GetActiveWindow());
  if (target.empty()) return ExportResult::kCancelled;
  return WriteFileReplacing(target, BuildHtmlReport(ReadReportTable(list))) ? ExportResult::kSaved
                                                                            : ExportResult::kFailed;
}

}  // namespace kelvane
