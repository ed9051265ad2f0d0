#include "ui/rules/update_version.h"

namespace kelvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The white space the C library's number parsing skips.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

struct Decimal {
  std::string whole;     // without leading zeros
  std::string fraction;  // without trailing zeros
};

Decimal SplitDecimal(const std::string& number) {
  const std::size_t point = number.find('.');
  Decimal decimal;
  decimal.whole = number.substr(0, point);
  if (point != std::string::npos) decimal.fraction = number.substr(point + 1);
  decimal.whole.erase(0, decimal.whole.find_first_not_of('0'));
  decimal.fraction.erase(decimal.fraction.find_last_not_of('0') + 1);
  return decimal;
}

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

}  // namespace

std::string LeadingVersionNumber(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  const std::size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  const std::size_t wholeDigits = at - start;
  if (at < text.size() && text[at] == '.' && at + 1 < text.size() && IsDigit(text[at + 1])) {
    ++at;
    while (at < text.size() && IsDigit(text[at])) ++at;
  } else if (wholeDigits == 0) {
    return std::string();
  }
  if (at - start > kMaxVersionNumberLength) return std::string();
  return text.substr(start, at - start);
}

int CompareVersions(const std::string& a, const std::string& b) {
  const Decimal left = SplitDecimal(LeadingVersionNumber(a));
  const Decimal right = SplitDecimal(LeadingVersionNumber(b));
  if (left.whole.size() != right.whole.size())
    return left.whole.size() < right.whole.size() ? -1 : 1;
  if (const int whole = left.whole.compare(right.whole)) return Sign(whole);
  // Without trailing zeros, fractions compare as digit strings.
  return Sign(left.fraction.compare(right.fraction));
}

UpdateFinding JudgeVersionFile(const std::string& body, bool oversized,
                               const std::string& ownVersion) {
  UpdateFinding finding;
  finding.verdict = UpdateVerdict::kNotNewer;
  if (oversized || body.size() > kMaxVersionFileBytes) return finding;
  const std::string offered = LeadingVersionNumber(body);
  if (offered.empty() || CompareVersions(ownVersion, offered) >= 0) return finding;
  finding.verdict = UpdateVerdict::kNewer;
  finding.offeredVersion = offered;
  return finding;
}

}  // namespace kelvane
