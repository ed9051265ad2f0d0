#pragma once
// Saving a list as an HTML table (ui/rules/html_report.h gives the text).
// The file is written beside its target under another name and moved into
// place only once every byte reached the disk, so a failed export never
// leaves half a report nor destroys the report it was to replace.
#include <windows.h>

#include <string>

#include "foundation/scoped_handle.h"
#include "ui/controls/result_list.h"
#include "ui/rules/html_report.h"

namespace kelvane {

enum class ExportResult {
  kSaved,      // the whole report is in the file
  kCancelled,  // the user closed the save dialog; nothing was written
  kFailed,     // the file could not be written; an earlier file of that name is unchanged
};

// The list as the report reads it: column titles, every cell's raw text
// (markup included) and the list's colours.
ReportTable ReadReportTable(const ResultList& list);

// Writes all of `text` to `file` and closes it; false when any byte did not
// reach the file (a short write, a failed flush or close).
bool WriteAndClose(ScopedStdioFile file, const std::string& text);

// Makes `path` a file holding exactly `text`, replacing one that is there,
// through a new file in the same folder that is moved into place. False, and
// `path` untouched, when any step failed.
bool WriteFileReplacing(const std::string& path, const std::string& text);

// The save dialog (filter "Html Files (*.htm)", default extension "htm"),
// which asks before an existing file is replaced; "" when cancelled.
std::string AskHtmlReportPath(HWND owner);

// Writes the report of `list` to `path`, or first asks for a path (owned by
// the active window) when `path` is empty.
ExportResult ExportListToHtml(const ResultList& list, const std::string& path = std::string());

}  // namespace kelvane
