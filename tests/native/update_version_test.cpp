#include <gtest/gtest.h>

#include <string>

#include "ui/rules/update_version.h"

using namespace kelvane;

TEST(LeadingVersionNumber, TakesOnlyTheLeadingDecimalNumber) {
  const struct {
    const char* text;
    const char* number;
  } kCases[] = {
      {"3.1", "3.1"},
      {"3.5\r\n", "3.5"},
      {" \t\r\n3.2 beta", "3.2"},
      {"3.0.1", "3.0"},
      {".5", ".5"},
      {"3.", "3"},
      {"10", "10"},
      {"3e2", "3"},  // no exponent: the offer is 3, not 300
      {"-4.0", ""},
      {"+4.0", ""},
      {"v3.1", ""},
      {"<html>4.0</html>", ""},
      {".", ""},
      {"", ""},
      {"12345678901234567890", "12345678901234567890"},
      {"123456789012345678901", ""},  // too long to be a version
  };
  for (const auto& c : kCases) EXPECT_EQ(LeadingVersionNumber(c.text), c.number) << c.text;
}

TEST(CompareVersions, ComparesAsExactDecimals) {
  const struct {
    const char* a;
    const char* b;
    int sign;
  } kCases[] = {
      {"3.1", "3.0", 1},
      {"3.10", "3.1", 0},
      {"3.9", "3.10", 1},
      {"3.0.1", "3.0", 0},
      {"03.1", "3.1", 0},
      {"10.0", "9.9", 1},
      {"2.99", "3", -1},
      {"garbage", "0", 0},
      {"", "0.1", -1},
      {"3", "3.000", 0},
      {".5", "0.5", 0},
      {"0.05", "0.1", -1},
      {"99999999999999999999", "99999999999999999998.9", 1},  // beyond a double's precision
  };
  for (const auto& c : kCases) {
    const int sign = CompareVersions(c.a, c.b);
    EXPECT_EQ((sign > 0) - (sign < 0), c.sign) << c.a << " vs " << c.b;
    const int reverse = CompareVersions(c.b, c.a);
    EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign) << c.b << " vs " << c.a;
  }
}

TEST(JudgeVersionFile, OffersOnlyAHigherNumberAndShowsNothingElse) {
  const std::string oversized = "9.0" + std::string(kMaxVersionFileBytes, ' ');
  const struct {
    std::string body;
    bool oversized;
    UpdateVerdict verdict;
    const char* shown;
  } kCases[] = {
      {"3.1", false, UpdateVerdict::kNewer, "3.1"},
      {"3.5\r\nDownload now at http://elsewhere.example/", false, UpdateVerdict::kNewer, "3.5"},
      {"3.0", false, UpdateVerdict::kNotNewer, ""},
      {"2.9", false, UpdateVerdict::kNotNewer, ""},
      {"<html><body>9.0</body></html>", false, UpdateVerdict::kNotNewer, ""},
      {"9.0", true, UpdateVerdict::kNotNewer, ""},  // the first bytes of a larger file
      {oversized, false, UpdateVerdict::kNotNewer, ""},
  };
  for (const auto& c : kCases) {
    const UpdateFinding finding = JudgeVersionFile(c.body, c.oversized, "3.0");
    EXPECT_EQ(finding.verdict, c.verdict) << c.body;
    EXPECT_EQ(finding.offeredVersion, c.shown) << c.body;
  }
}
