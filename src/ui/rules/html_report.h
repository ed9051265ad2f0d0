#pragma once
// The HTML export of a list: one bare <table> on one line, a header row with
// the column titles, then one row per list row in the colours shown on screen.
//
// Every text written into the file is HTML-escaped: the cells hold registry
// names and data, and the file is opened in a browser, where "<script>" in a
// value name must stay text.
#include <string>
#include <vector>

#include "ui/rules/rgb_color.h"

namespace kelvane {

// "&", "<", ">" and '"' as entities; everything else unchanged.
std::string EscapeHtml(const std::string& text);

// "RRGGBB" in upper-case hexadecimal, without "#".
std::string HtmlColor(RgbColor color);

// <table border="1" bordercolorlight="#C" bordercolordark="#C" style="border-collapse: collapse">
std::string HtmlTableStart(const std::string& borderColor);

// "<tr>", one <td width=.. bgcolor="#.."><font face=.. style=.. color="#..">text</font></td>
// per cell, "</tr>"; empty unless the four lists are equally long. Colours are
// "RRGGBB" texts. All pieces are escaped.
std::string HtmlRow(const std::vector<std::string>& texts, const std::vector<std::string>& widths,
                    const std::vector<std::string>& backColors,
                    const std::vector<std::string>& textColors, const std::string& face,
                    const std::string& style);

std::string HtmlTableEnd();

// A list as the window shows it, read into plain values.
struct ReportTable {
  std::vector<std::string> columnTitles;
  // Cell texts with their markup, as the list holds them. A row shorter than
  // the columns reads as empty cells; cells beyond the last column are left out.
  std::vector<std::vector<std::string>> rows;
  RgbColor evenRowColor = MakeRgb(255, 255, 255);  // rows 0, 2, 4, ...
  RgbColor oddRowColor = MakeRgb(255, 255, 255);
  RgbColor textColor = MakeRgb(0, 0, 0);
};

// The whole file's text. Each cell's markup is read: its colours replace the
// row's, its icon and percent leave nothing behind but the remaining text.
std::string BuildHtmlReport(const ReportTable& table);

}  // namespace kelvane
