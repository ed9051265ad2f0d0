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

const std::vector<std::string> kMonths = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};

constexpr std::optional<RgbColor> kNoColor = std::nullopt;

}  // namespace

TEST(FormatDisplayDate, TwelveHourDialAndMonthNames) {
  // clang-format off
  const struct { LocalDateTime time; const char* text; } kCases[] = {
      {{2024, 3, 7, 0, 5, 0}, "March 07, 2024. 00:05 AM"},
      {{2024, 3, 7, 11, 59, 0}, "March 07, 2024. 11:59 AM"},
      {{2024, 3, 7, 12, 0, 0}, "March 07, 2024. 12:00 PM"},
      {{2024, 3, 7, 12, 30, 0}, "March 07, 2024. 12:30 PM"},
      {{2024, 3, 7, 13, 0, 0}, "March 07, 2024. 01:00 PM"},
      {{2024, 3, 7, 23, 59, 59}, "March 07, 2024. 11:59 PM"},
      {{1999, 12, 31, 9, 1, 0}, "December 31, 1999. 09:01 AM"},
      {{2024, 1, 1, 0, 0, 0}, "January 01, 2024. 00:00 AM"},
      {{2024, 13, 7, 9, 5, 0}, " 07, 2024. 09:05 AM"},
      {{2024, 0, 7, 9, 5, 0}, " 07, 2024. 09:05 AM"}};
  // clang-format on
  for (const auto& c : kCases)
    EXPECT_EQ(FormatDisplayDate(c.time, kMonths), c.text) << "hour " << c.time.hour;
  EXPECT_EQ(FormatDisplayDate({2024, 3, 7, 9, 5, 0}, {"January", "February"}),
            " 07, 2024. 09:05 AM")
      << "a month the list does not reach has no name";
}

TEST(ComputeJobStatus, ThresholdsColoursAndNeverDone) {
  const LocalDateTime now{2024, 3, 10, 12, 0, 0};
  // clang-format off
  const struct { const char* stored; int dueDays; JobState state; std::int64_t days; } kCases[] = {
      {"2024-03-08 12:00:00", kFixDueDays, JobState::Recent, 2},
      {"2024-03-07 12:00:01", kFixDueDays, JobState::Recent, 2},
      {"2024-03-07 12:00:00", kFixDueDays, JobState::Old, 3},
      {"2024-03-04 12:00:00", kDefragDueDays, JobState::Recent, 6},
      {"2024-03-03 12:00:00", kDefragDueDays, JobState::Old, 7},
      {"2024-02-26 12:00:00", kBackupDueDays, JobState::Recent, 13},
      {"2024-02-25 12:00:00", kBackupDueDays, JobState::Old, 14},
      {"2023-03-10 12:00:00", kBackupDueDays, JobState::Old, 366},
      {"2024-03-10 12:00:00", kFixDueDays, JobState::Recent, 0},
      {"2024-04-30 12:00:00", kFixDueDays, JobState::Recent, 51},
      {"", kFixDueDays, JobState::Never, 0},
      {"never", kFixDueDays, JobState::Never, 0},
      {"2024-03-07", kFixDueDays, JobState::Never, 0},
      {"2024-03-07 12:00", kFixDueDays, JobState::Never, 0},
      {"2024-02-30 12:00:00", kFixDueDays, JobState::Never, 0},
      {"2024-03-07 25:00:00", kFixDueDays, JobState::Never, 0}};
  // clang-format on
  for (const auto& c : kCases) {
    const JobStatus status = ComputeJobStatus(c.stored, now, c.dueDays);
    EXPECT_EQ(status.state, c.state) << c.stored;
    EXPECT_EQ(status.days, c.days) << c.stored;
    const RgbColor color = c.state == JobState::Recent ? MakeRgb(90, 150, 90)
                           : c.state == JobState::Old  ? MakeRgb(170, 50, 0)
                                                       : MakeRgb(120, 120, 120);
    EXPECT_EQ(status.color, color) << c.stored;
    EXPECT_STREQ(status.adviceKey, c.state == JobState::Recent ? "L0150" : "L0151") << c.stored;
  }
}

TEST(ComputeJobStatus, FutureStampsAndBrokenClocksNeverNag) {
  const JobStatus future = ComputeJobStatus("2024-04-30 12:00:00", {2024, 3, 10, 12, 0, 0}, 3);
  EXPECT_TRUE(future.inFuture) << "stored after now";
  EXPECT_EQ(future.doneAt.month, 4) << "the stored time is handed back for display";
  const JobStatus past = ComputeJobStatus("2024-03-01 12:00:00", {2024, 3, 10, 12, 0, 0}, 3);
  EXPECT_FALSE(past.inFuture) << "stored before now";
  const JobStatus leap = ComputeJobStatus("2024-02-28 12:00:00", {2024, 3, 1, 12, 0, 0}, 3);
  EXPECT_EQ(leap.days, 2) << "February 29 counts";
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
      {"{BKCOLOR:255,255,0}{ICON:0}{TEXTCOLOR:255,0,0}x", "x", 0, -1, red, yellow},
      {"{ICON:2 abc", "{ICON:2 abc", -1, -1, kNoColor, kNoColor},
      {"{ICON:1}{PERCENT:7 abc", "{PERCENT:7 abc", 1, -1, kNoColor, kNoColor},
      {"{PERCENT:5000}", "", -1, 100, kNoColor, kNoColor},
      {"{PERCENT:-7}", "", -1, 0, kNoColor, kNoColor},
      {"{PERCENT:99999999999999999999}", "", -1, 100, kNoColor, kNoColor},
      {"{PERCENT:abc}", "", -1, 0, kNoColor, kNoColor},
      {"{PERCENT: 42x}y", "y", -1, 42, kNoColor, kNoColor},
      {"{ICON:-4}x", "x", -1, -1, kNoColor, kNoColor},
      {"{TEXTCOLOR:300,-5,12}x", "x", -1, -1, MakeRgb(255, 0, 12), kNoColor},
      {"{TEXTCOLOR:,,}x", "x", -1, -1, MakeRgb(0, 0, 0), kNoColor},
      {"{TEXTCOLOR:1,2}x", "x", -1, -1, kNoColor, kNoColor},
      {"{BKCOLOR:1,2,3,4}x", "x", -1, -1, kNoColor, kNoColor},
      {"{ICON:1}{ICON:2}x", "{ICON:2}x", 1, -1, kNoColor, kNoColor},
      {"{icon:1}x", "{icon:1}x", -1, -1, kNoColor, kNoColor},
      {"{FOO:1}{ICON:1}", "{FOO:1}{ICON:1}", -1, -1, kNoColor, kNoColor},
      {"Missing {ICON:3}", "Missing {ICON:3}", -1, -1, kNoColor, kNoColor},
      {"{645FF040-5081-101B-9F08-00AA002F954E}", "{645FF040-5081-101B-9F08-00AA002F954E}",
       -1, -1, kNoColor, kNoColor},
      {"", "", -1, -1, kNoColor, kNoColor}};
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
      {"{}", "{}{}"}, {"{}{ICON:1}", "{}{}{ICON:1}"}, {"{", "{}{"},
      {"{ICON:2 abc", "{}{ICON:2 abc"}, {"plain {PERCENT:1}", "plain {PERCENT:1}"},
      {"", ""}, {"}", "}"}};
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

TEST(ComposeCell, WhatItWritesParsesBack) {
  CellMarkup markup;
  markup.icon = 5;
  markup.percent = 40;
  markup.textColor = MakeRgb(255, 0, 0);
  markup.backColor = MakeRgb(1, 2, 3);
  const std::string cell = ComposeCell(markup, "{PERCENT:9}data");
  EXPECT_EQ(cell, "{ICON:5}{PERCENT:40}{TEXTCOLOR:255,0,0}{BKCOLOR:1,2,3}{}{PERCENT:9}data")
      << "tags in fixed order, then the escaped text";
  const ParsedCell parsed = ParseCellMarkup(cell);
  EXPECT_EQ(parsed.text, "{PERCENT:9}data") << "the text comes back unchanged";
  EXPECT_EQ(parsed.markup.icon, 5) << "icon";
  EXPECT_EQ(parsed.markup.percent, 40) << "percent";
  EXPECT_EQ(parsed.markup.textColor, markup.textColor) << "text colour";
  EXPECT_EQ(parsed.markup.backColor, markup.backColor) << "background";
  EXPECT_EQ(ComposeCell(CellMarkup(), "x"), "x") << "no markup writes no tags";
}

TEST(HtmlPieces, ColoursTableStartAndRows) {
  // clang-format off
  const struct { RgbColor color; const char* text; } kColors[] = {
      {MakeRgb(255, 255, 0), "FFFF00"}, {MakeRgb(0x12, 0xAB, 0x0C), "12AB0C"},
      {MakeRgb(0, 0, 0), "000000"}, {0xFFFFFFFF, "FFFFFF"}};
  // clang-format on
  for (const auto& c : kColors) EXPECT_EQ(HtmlColor(c.color), c.text) << c.text;

  EXPECT_EQ(HtmlTableStart("C0C0C0"),
            "<table border=\"1\" bordercolorlight=\"#C0C0C0\" bordercolordark=\"#C0C0C0\" "
            "style=\"border-collapse: collapse\">")
      << "table start";
  EXPECT_EQ(HtmlTableEnd(), "</table>") << "table end";
  EXPECT_EQ(HtmlRow({"a"}, {"150"}, {"FFFF00"}, {"FF0000"}, "Tahoma", "font-size: 8pt"),
            "<tr><td width=\"150\" bgcolor=\"#FFFF00\"><font face=\"Tahoma\" "
            "style=\"font-size: 8pt\" color=\"#FF0000\">a</font></td></tr>")
      << "one cell";
  EXPECT_EQ(HtmlRow({}, {}, {}, {}, "Tahoma", ""), "<tr></tr>") << "no cells";

  using List = std::vector<std::string>;
  const List two = {"1", "2"};
  const List one = {"1"};
  // clang-format off
  const struct { List widths; List backs; List texts; } kUneven[] = {
      {one, two, two}, {two, one, two}, {two, two, one}};
  // clang-format on
  for (const auto& c : kUneven)
    EXPECT_EQ(HtmlRow(two, c.widths, c.backs, c.texts, "f", "s"), "") << "lists of other lengths";
}

TEST(EscapeHtml, RegistryTextStaysText) {
  // clang-format off
  const struct { const char* text; const char* escaped; } kCases[] = {
      {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"a & b", "a &amp; b"}, {"\"quoted\"", "&quot;quoted&quot;"}, {"&amp;", "&amp;amp;"},
      {"C:\\Program Files\\x.exe", "C:\\Program Files\\x.exe"}, {"it's", "it's"}, {"", ""}};
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
  EXPECT_EQ(BuildHtmlReport(table), kStart + header + "</table>") << "two columns, no rows";

  table.rows = {{"{ICON:3}{PERCENT:40}", "plain"},
                {"{BKCOLOR:255,255,0}abc", "next"},
                {"{TEXTCOLOR:255,0,0}{BKCOLOR:255,255,0}x"},
                {"<script>alert(1)</script>", "{}{PERCENT:5000}", "beyond the columns"}};
  const std::string rows =
      "<tr>" + ReportCell("F0F0F0", "000080", "") + ReportCell("F0F0F0", "000080", "plain") +
      "</tr><tr>" + ReportCell("FFFF00", "000080", "abc") + ReportCell("E0E8FF", "000080", "next") +
      "</tr><tr>" + ReportCell("FFFF00", "FF0000", "x") + ReportCell("F0F0F0", "000080", "") +
      "</tr><tr>" + ReportCell("E0E8FF", "000080", "&lt;script&gt;alert(1)&lt;/script&gt;") +
      ReportCell("E0E8FF", "000080", "{PERCENT:5000}") + "</tr>";
  EXPECT_EQ(BuildHtmlReport(table), kStart + header + rows + "</table>")
      << "markup read per cell, row parity colours, texts escaped, short rows padded";

  table.columnTitles = {"<b>Key</b>"};
  table.rows.clear();
  EXPECT_EQ(BuildHtmlReport(table).find("<b>"), std::string::npos) << "captions are escaped";
}

TEST(FormatChecked, FillsOnlyWhatTheArgumentsFit) {
  const std::int64_t days = 3;
  // clang-format off
  const struct { const char* format; std::vector<FormatArg> args; bool fits; const char* text; }
      kCases[] = {
      {"Last cleaned on %s (%I64d days ago)", {"March 07", days}, true,
       "Last cleaned on March 07 (3 days ago)"},
      {"%s (%d%%)", {"84.27MB", 12}, true, "84.27MB (12%)"},
      {"%-4d|%5s|%x|%lu", {7, "ab", 255, 9}, true, "7   |   ab|ff|9"},
      {"%05.1f %lf", {2.5, 0.5}, true, "002.5 0.500000"},
      {"%lld", {std::int64_t{5000000000}}, true, "5000000000"},
      {"%I64d", {std::int64_t{-5000000000}}, true, "-5000000000"},
      {"%s", {"a", "b"}, true, "a"},
      {"100%%", {}, true, "100%"},
      {"%d items", {"x"}, false, "%d items x"},
      {"%s", {5}, false, "%s 5"},
      {"%n", {5}, false, "%n 5"},
      {"%s%s", {"a"}, false, "%s%s a"},
      {"%I64d", {7}, false, "%I64d 7"},
      {"%d", {days}, false, "%d 3"},
      {"%*d", {5, 6}, false, "%*d 5 6"},
      {"%1$s", {"a"}, false, "%1$s a"},
      {"%4000d", {5}, false, "%4000d 5"},
      {"%ls", {"a"}, false, "%ls a"},
      {"%c", {65}, false, "%c 65"},
      {"%p", {"a"}, false, "%p a"},
      {"ends with %", {}, false, "ends with %"},
      {"%f", {1}, false, "%f 1"}};
  // clang-format on
  for (const auto& c : kCases) {
    EXPECT_EQ(FormatFits(c.format, c.args), c.fits) << c.format;
    EXPECT_EQ(FormatChecked(c.format, c.args), c.text) << c.format;
  }
}

TEST(FormatArg, KindFollowsTheType) {
  // clang-format off
  const struct { FormatArg arg; FormatArg::Kind kind; const char* what; } kCases[] = {
      {FormatArg(1), FormatArg::Kind::Int, "int"},
      {FormatArg(1u), FormatArg::Kind::Int, "unsigned"},
      {FormatArg(std::int64_t{1}), FormatArg::Kind::Int64, "int64_t"},
      {FormatArg(1LL), FormatArg::Kind::Int64, "long long"},
      {FormatArg(1.5), FormatArg::Kind::Double, "double"},
      {FormatArg("a"), FormatArg::Kind::String, "literal"},
      {FormatArg(std::string("a")), FormatArg::Kind::String, "std::string"}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(c.arg.kind(), c.kind) << c.what;
  EXPECT_EQ(FormatArg(static_cast<const char*>(nullptr)).text(), "") << "a null text is empty";
}
