#include "ui/rules/html_report.h"

#include <cstddef>
#include <cstdio>

#include "ui/rules/cell_markup.h"

namespace kelvane {

namespace {

constexpr const char* kBorderColor = "C0C0C0";
constexpr const char* kHeaderBackColor = "0066CC";
constexpr const char* kHeaderTextColor = "FFFFFF";
constexpr const char* kCellWidth = "150";
constexpr const char* kFontFace = "Tahoma";
constexpr const char* kFontStyle = "font-size: 8pt";

}  // namespace

std::string EscapeHtml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string HtmlColor(RgbColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", RedOf(color), GreenOf(color), BlueOf(color));
  return text;
}

std::string HtmlTableStart(const std::string& borderColor) {
  const std::string color = EscapeHtml(borderColor);
  return "<table border=\"1\" bordercolorlight=\"#" + color + "\" bordercolordark=\"#" + color +
         "\" style=\"border-collapse: collapse\">";
}

std::string HtmlRow(const std::vector<std::string>& texts, const std::vector<std::string>& widths,
                    const std::vector<std::string>& backColors,
                    const std::vector<std::string>& textColors, const std::string& face,
                    const std::string& style) {
  if (widths.size() != texts.size() || backColors.size() != texts.size() ||
      textColors.size() != texts.size())
    return std::string();
  std::string row = "<tr>";
  for (std::size_t i = 0; i < texts.size(); ++i) {
    row += "<td width=\"" + EscapeHtml(widths[i]) + "\" bgcolor=\"#" + EscapeHtml(backColors[i]) +
           "\"><font face=\"" + EscapeHtml(face) + "\" style=\"" + EscapeHtml(style) +
           "\" color=\"#" + EscapeHtml(textColors[i]) + "\">" + EscapeHtml(texts[i]) +
           "</font></td>";
  }
  return row + "</tr>";
}

std::string HtmlTableEnd() { return "</table>"; }

std::string BuildHtmlReport(const ReportTable& table) {
  const std::size_t columns = table.columnTitles.size();
  const std::vector<std::string> widths(columns, kCellWidth);
  std::string report = HtmlTableStart(kBorderColor);
  report += HtmlRow(table.columnTitles, widths, std::vector<std::string>(columns, kHeaderBackColor),
                    std::vector<std::string>(columns, kHeaderTextColor), kFontFace, kFontStyle);

  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const std::vector<std::string>& cells = table.rows[r];
    const RgbColor rowBack = r % 2 == 0 ? table.evenRowColor : table.oddRowColor;
    std::vector<std::string> texts;
    std::vector<std::string> backColors;
    std::vector<std::string> textColors;
    for (std::size_t c = 0; c < columns; ++c) {
      const ParsedCell cell = ParseCellMarkup(c < cells.size() ? cells[c] : std::string());
      texts.push_back(cell.text);
      backColors.push_back(HtmlColor(cell.markup.backColor.value_or(rowBack)));
      textColors.push_back(HtmlColor(cell.markup.textColor.value_or(table.textColor)));
    }
    report += HtmlRow(texts, widths, backColors, textColors, kFontFace, kFontStyle);
  }
  return report + HtmlTableEnd();
}

}  // namespace kelvane
