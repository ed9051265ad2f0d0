#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/time_stamp.h"
#include "ui/rules/cell_markup.h"
#include "ui/rules/display_date.h"
#include "ui/rules/html_report.h"
#include "ui/rules/job_status.h"
#include "ui/rules/text_format.h"

using namespace kelvane;

namespace {

constexpr std::optional<RgbColor> kNoColor = std::nullopt;

}  // namespace

TEST(FormatDisplayDate, TwelveHourDialAndMonthNames) {
  const std::vector<std::string> months = {"January",   "February", "March",    "April",
                                           "May",       "June",     "July",     "August",
                                           "September", "October",  "November", "December"};
  const struct {
    LocalDateTime time;
    const char* shown;
  } cases[] = {
      {{2024, 3, 7, 9, 5, 0}, "March 07, 2024. 09:05 AM"},
      {{2024, 12, 31, 0, 5, 0}, "December 31, 2024. 00:05 AM"},  // midnight stays 00
      {{2024, 1, 1, 12, 30, 0}, "January 01, 2024. 12:30 PM"},   // noon stays 12
      {{2024, 6, 15, 23, 59, 0}, "June 15, 2024. 11:59 PM"},
      {{2024, 13, 2, 13, 0, 0}, " 02, 2024. 01:00 PM"},  // no such month: no name
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDisplayDate(c.time, months), c.shown);
  EXPECT_EQ(FormatDisplayDate({2024, 5, 2, 8, 0, 0}, {"Jan", "Feb"}), " 02, 2024. 08:00 AM")
      << "a short list of names";
}

TEST(ComputeJobStatus, EachPanelIsDueAtItsThresholdInItsColour) {
  const LocalDateTime now = {2024, 3, 20, 12, 0, 0};
  const struct {
    const char* stored;
    int dueDays;
    JobState state;
    std::int64_t days;
    RgbColor color;
    const char* advice;
  } cases[] = {
      {"", kFixDueDays, JobState::Never, 0, kNeverDoneColor, kActionRecommendedKey},
      {"2024-03-1x 12:00:00", kFixDueDays, JobState::Never, 0, kNeverDoneColor,
       kActionRecommendedKey},
      {"2024-02-30 12:00:00", kFixDueDays, JobState::Never, 0, kNeverDoneColor,
       kActionRecommendedKey},
      {"2024-03-17 12:00:01", kFixDueDays, JobState::Recent, 2, kRecentColor, kNoActionNeededKey},
      {"2024-03-17 12:00:00", kFixDueDays, JobState::Old, 3, kOldColor, kActionRecommendedKey},
      {"2024-03-13 12:00:01", kDefragDueDays, JobState::Recent, 6, kRecentColor,
       kNoActionNeededKey},
      {"2024-03-13 12:00:00", kDefragDueDays, JobState::Old, 7, kOldColor, kActionRecommendedKey},
      {"2024-03-06 12:00:01", kBackupDueDays, JobState::Recent, 13, kRecentColor,
       kNoActionNeededKey},
      {"2024-03-06 12:00:00", kBackupDueDays, JobState::Old, 14, kOldColor, kActionRecommendedKey},
  };
  for (const auto& c : cases) {
    const JobStatus status = ComputeJobStatus(c.stored, now, c.dueDays);
    EXPECT_EQ(status.state, c.state) << c.stored;
    EXPECT_EQ(status.color, c.color) << c.stored;
    EXPECT_STREQ(status.adviceKey, c.advice) << c.stored;
    if (c.state != JobState::Never) EXPECT_EQ(status.days, c.days) << c.stored;
  }
}

TEST(ComputeJobStatus, FutureStampsAndBrokenClocksNeverNag) {
  const JobStatus future = ComputeJobStatus("2024-04-30 12:00:00", {2024, 3, 10, 12, 0, 0}, 3);
  EXPECT_TRUE(future.inFuture) << "stored after now";
  const JobStatus noClock = ComputeJobStatus("2024-03-01 12:00:00", {2024, 14, 1, 0, 0, 0}, 3);
  EXPECT_EQ(noClock.state, JobState::Recent) << "a now that is no date must not nag";
}

TEST(ParseCellMarkup, LeadingTagsGiveTheCellItsLook) {
  const RgbColor red = MakeRgb(255, 0, 0);
  const RgbColor yellow = MakeRgb(255, 255, 0);
  // clang-format off
  const struct { const char* cell; const char* text; int icon; int percent;
                 std::optional<RgbColor> textColor; std::optional<RgbColor> backColor; } kCases[] = {
      {"{ICON:3}Missing file", "Missing file", 3, -1, kNoColor, kNoColor},
      {"{PERCENT:40}", "", -1, 40, kNoColor, kNoColor},
      {"{TEXTCOLOR:255,0,0}{BKCOLOR:255,255,0}x", "x", -1, -1, red, yellow},
      {"{PERCENT:5000}", "", -1, 100, kNoColor, kNoColor},
      {"{TEXTCOLOR:300,-5,12}x", "x", -1, -1, MakeRgb(255, 0, 12), kNoColor},
      {"{ICON:1}{ICON:2}x", "{ICON:2}x", 1, -1, kNoColor, kNoColor},
      {"Missing {ICON:3}", "Missing {ICON:3}", -1, -1, kNoColor, kNoColor},
      {"{645FF040-5081-101B-9F08-00AA002F954E}", "{645FF040-5081-101B-9F08-00AA002F954E}",
       -1, -1, kNoColor, kNoColor}};
  // clang-format on
  for (const auto& c : kCases) {
    const ParsedCell parsed = ParseCellMarkup(c.cell);
    EXPECT_EQ(parsed.text, c.text) << c.cell;
    EXPECT_EQ(parsed.markup.icon, c.icon) << c.cell;
    EXPECT_EQ(parsed.markup.percent, c.percent) << c.cell;
    EXPECT_EQ(parsed.markup.textColor, c.textColor) << c.cell;
    EXPECT_EQ(parsed.markup.backColor, c.backColor) << c.cell;
  }
}

TEST(EscapeCellText, RegistryTextIsNeverReadAsMarkup) {
  // clang-format off
  const struct { const char* text; const char* escaped; } kCases[] = {
      {"{PERCENT:5000}", "{}{PERCENT:5000}"}, {"{TEXTCOLOR:1,2,3}", "{}{TEXTCOLOR:1,2,3}"},
      {"{}{ICON:1}", "{}{}{ICON:1}"}, {"{", "{}{"}, {"plain {PERCENT:1}", "plain {PERCENT:1}"}};
  // clang-format on
  for (const auto& c : kCases) {
    EXPECT_EQ(EscapeCellText(c.text), c.escaped) << c.text;
    for (const std::string& tags : {std::string(), std::string("{ICON:3}")}) {
      const ParsedCell parsed = ParseCellMarkup(tags + EscapeCellText(c.text));
      EXPECT_EQ(parsed.text, c.text) << "shown literally after '" << tags << "': " << c.text;
      EXPECT_EQ(parsed.markup.percent, -1) << "no bar from " << c.text;
      EXPECT_EQ(parsed.markup.textColor, kNoColor) << "no colour from " << c.text;
      EXPECT_EQ(parsed.markup.icon, tags.empty() ? -1 : 3) << "only the page's icon: " << c.text;
    }
  }
}

TEST(EscapeHtml, RegistryTextStaysText) {
  // clang-format off
  const struct { const char* text; const char* escaped; } kCases[] = {
      {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"\"a\" & b", "&quot;a&quot; &amp; b"}, {"&amp;", "&amp;amp;"}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(EscapeHtml(c.text), c.escaped) << c.text;
}

namespace {

std::string ReportCell(const std::string& back, const std::string& color, const std::string& text) {
  return "<td width=\"150\" bgcolor=\"#" + back +
         "\"><font face=\"Tahoma\" "
         "style=\"font-size: 8pt\" color=\"#" +
         color + "\">" + text + "</font></td>";
}

const std::string kStart =
    "<table border=\"1\" bordercolorlight=\"#C0C0C0\" bordercolordark=\"#C0C0C0\" "
    "style=\"border-collapse: collapse\">";

}  // namespace

TEST(BuildHtmlReport, HeaderRowsAndCellColours) {
  ReportTable table;
  table.columnTitles = {"Key", "Value"};
  table.evenRowColor = MakeRgb(0xF0, 0xF0, 0xF0);
  table.oddRowColor = MakeRgb(0xE0, 0xE8, 0xFF);
  table.textColor = MakeRgb(0, 0, 0x80);
  const std::string header = "<tr>" + ReportCell("0066CC", "FFFFFF", "Key") +
                             ReportCell("0066CC", "FFFFFF", "Value") + "</tr>";
  table.rows = {{"{TEXTCOLOR:255,0,0}{BKCOLOR:255,255,0}x"},
                {"<script>alert(1)</script>", "{}{PERCENT:5000}", "beyond the columns"}};
  const std::string rows = "<tr>" + ReportCell("FFFF00", "FF0000", "x") +
                           ReportCell("F0F0F0", "000080", "") + "</tr><tr>" +
                           ReportCell("E0E8FF", "000080", "&lt;script&gt;alert(1)&lt;/script&gt;") +
                           ReportCell("E0E8FF", "000080", "{PERCENT:5000}") + "</tr>";
  EXPECT_EQ(BuildHtmlReport(table), kStart + header + rows + "</table>")
      << "markup read per cell, row parity colours, texts escaped, short rows padded";
}

TEST(FormatChecked, FillsOnlyWhatTheArgumentsFit) {
  const std::int64_t days = 3;
  // clang-format off
  const struct { const char* format; std::vector<FormatArg> args; bool fits; const char* text; }
      kCases[] = {
      {"Last cleaned on %s (%I64d days ago)", {"March 07", days}, true,
       "Last cleaned on March 07 (3 days ago)"},
      {"%s (%d%%)", {"84.27MB", 12}, true, "84.27MB (12%)"},
      {"100%%", {}, true, "100%"},
      {"%d items", {"x"}, false, "%d items x"},
      {"%s", {5}, false, "%s 5"},
      {"%I64d", {7}, false, "%I64d 7"},
      {"%d", {days}, false, "%d 3"},
      {"%*d", {5, 6}, false, "%*d 5 6"},
      {"%ls", {"a"}, false, "%ls a"},
      {"ends with %", {}, false, "ends with %"}};
  // clang-format on
  for (const auto& c : kCases) {
    EXPECT_EQ(FormatFits(c.format, c.args), c.fits) << c.format;
    EXPECT_EQ(FormatChecked(c.format, c.args), c.text) << c.format;
  }
}
