#pragma once
// The markup a list cell carries in its own text: an icon, a progress bar and
// colours, read by the list's drawing, its sorting and the HTML report.
//
// A cell text is a run of tags followed by the cell's text:
//
//   {ICON:n}  {PERCENT:n}  {TEXTCOLOR:r,g,b}  {BKCOLOR:r,g,b}
//
// at most one of each, in any order, then the text. Only that leading run is
// read; the text after it is never parsed, so markup inside it is shown as it
// is. Text that does not come from the program itself (registry names and
// data, file names, translations) could still begin with something that looks
// like a tag, so it goes through EscapeCellText, which puts the empty tag "{}"
// in front of any text that begins with "{". "{}" ends the run of tags and is
// dropped, so the text is shown literally. Nothing else is ever changed, and
// text that was not escaped only misreads when it starts with a tag, so the
// many registry texts that hold braces ("{CLSID}" keys) need no special care.
// ComposeCell writes tags and escaped text in this form.
#include <optional>
#include <string>

#include "ui/rules/rgb_color.h"

namespace kelvane {

struct CellMarkup {
  int icon = -1;     // index into the list's image list; -1 for none
  int percent = -1;  // 0 to 100: drawn as a bar with "n%"; -1 for ordinary text
  std::optional<RgbColor> textColor;
  std::optional<RgbColor> backColor;
};

struct ParsedCell {
  std::string text;  // what is drawn, sorted on and reported
  CellMarkup markup;
};

// Reads the leading run of tags. Each value is read like atoi (leading blanks,
// a sign, leading digits; none gives 0). A tag with no "}" after its opening
// is not a tag: it and everything after it is text. A colour whose value does
// not split at "," into exactly three parts is dropped without setting the
// colour. Percentages are clamped to 0..100, colour components to 0..255; a
// negative icon index means none. A repeated or unknown tag ends the run.
ParsedCell ParseCellMarkup(const std::string& cell);

// `text` made safe to follow the tags of a cell, see above.
std::string EscapeCellText(const std::string& text);

// The tags of `markup` (absent ones left out) followed by the escaped text.
std::string ComposeCell(const CellMarkup& markup, const std::string& text);

}  // namespace kelvane
