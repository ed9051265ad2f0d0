#pragma once
// How the update check reads the version file and compares versions. The
// file comes from the network, so nothing of it is trusted beyond its
// leading number: that number alone is compared and shown.
#include <cstddef>
#include <string>

namespace kelvane {

// A version file larger than this is no version file ("3.1" and a line end).
constexpr std::size_t kMaxVersionFileBytes = 64;
// A leading number longer than this is no version either.
constexpr std::size_t kMaxVersionNumberLength = 20;

// The decimal number a version text starts with, after leading white space:
// digits, optionally a point and more digits ("3.1" of "3.1\r\n", "3.0" of
// "3.0.1", ".5", "3" of "3."). No sign, no exponent. Empty when the text starts with no
// number or the number is longer than kMaxVersionNumberLength.
std::string LeadingVersionNumber(const std::string& text);

// Compares two version texts by their leading numbers as exact decimal
// numbers, so 3.10 equals 3.1 and 3.9 is higher than 3.10; a text without a
// number counts as 0. Negative, zero or positive, like strcmp.
int CompareVersions(const std::string& a, const std::string& b);

enum class UpdateVerdict {
  kFailed,    // no version file came (no answer, an error status)
  kNotNewer,  // the offered version is not higher, or the file is no version file
  kNewer,     // a higher version is offered
};

struct UpdateFinding {
  UpdateVerdict verdict = UpdateVerdict::kFailed;
  std::string offeredVersion;  // the leading number alone, when kNewer
};

// What a version file says against `ownVersion`. `body` holds the file's
// first bytes; `oversized` tells that it had more than kMaxVersionFileBytes.
UpdateFinding JudgeVersionFile(const std::string& body, bool oversized,
                               const std::string& ownVersion);

}  // namespace kelvane
