#include "ui/rules/cell_markup.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <vector>

namespace kelvane {

namespace {

constexpr const char* kEndOfTags = "{}";

enum class Tag { Icon, Percent, TextColor, BackColor };

struct TagName {
  Tag tag;
  const char* opening;
};

constexpr TagName kTags[] = {{Tag::Icon, "{ICON:"},
                             {Tag::Percent, "{PERCENT:"},
                             {Tag::TextColor, "{TEXTCOLOR:"},
                             {Tag::BackColor, "{BKCOLOR:"}};

bool StartsWithAt(const std::string& text, std::size_t at, const std::string& prefix) {
  return text.compare(at, prefix.size(), prefix) == 0;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// atoi without its undefined overflow: saturates at the int range.
int LeadingInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::optional<RgbColor> ColorValue(const std::string& value) {
  std::vector<std::string> parts(1);
  for (const char c : value) {
    if (c == ',') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  if (parts.size() != 3) return std::nullopt;
  const auto component = [](const std::string& part) {
    return std::clamp(LeadingInt(part), 0, 255);
  };
  return MakeRgb(component(parts[0]), component(parts[1]), component(parts[2]));
}

std::string ColorText(RgbColor color) {
  return std::to_string(RedOf(color)) + "," + std::to_string(GreenOf(color)) + "," +
         std::to_string(BlueOf(color));
}

}  // namespace

ParsedCell ParseCellMarkup(const std::string& cell) {
  ParsedCell parsed;
  bool seen[4] = {false, false, false, false};
  std::size_t at = 0;
  while (at < cell.size()) {
    if (StartsWithAt(cell, at, kEndOfTags)) {
      at += 2;
      break;
    }
    const TagName* found = nullptr;
    for (const TagName& name : kTags)
      if (StartsWithAt(cell, at, name.opening)) found = &name;
    if (found == nullptr || seen[static_cast<int>(found->tag)]) break;
    const std::size_t valueAt = at + std::char_traits<char>::length(found->opening);
    const std::size_t close = cell.find('}', valueAt);
    if (close == std::string::npos) break;

    const std::string value = cell.substr(valueAt, close - valueAt);
    seen[static_cast<int>(found->tag)] = true;
    CellMarkup& markup = parsed.markup;
    switch (found->tag) {
      case Tag::Icon:
        markup.icon = std::max(LeadingInt(value), -1);
        break;
      case Tag::Percent:
        // A bar wider than its cell would draw over the neighbours.
        markup.percent = std::clamp(LeadingInt(value), 0, 100);
        break;
      case Tag::TextColor:
        markup.textColor = ColorValue(value);
        break;
      case Tag::BackColor:
        markup.backColor = ColorValue(value);
        break;
    }
    at = close + 1;
  }
  parsed.text = cell.substr(at);
  return parsed;
}

std::string EscapeCellText(const std::string& text) {
  return !text.empty() && text[0] == '{' ? kEndOfTags + text : text;
}

std::string ComposeCell(const CellMarkup& markup, const std::string& text) {
  std::string cell;
  if (markup.icon >= 0) cell += "{ICON:" + std::to_string(markup.icon) + "}";
  if (markup.percent >= 0) cell += "{PERCENT:" + std::to_string(markup.percent) + "}";
  if (markup.textColor) cell += "{TEXTCOLOR:" + ColorText(*markup.textColor) + "}";
  if (markup.backColor) cell += "{BKCOLOR:" + ColorText(*markup.backColor) + "}";
  return cell + EscapeCellText(text);
}

}  // namespace kelvane
