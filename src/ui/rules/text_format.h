#pragma once
// Filling language texts that are printf formats. A translation is free text:
// it may hold a conversion the caller does not pass ("%d" where a name is
// given, "%n", "%*d", one "%s" too many), and printf would then read or write
// memory it was never given. So a format is first checked against the exact
// arguments, and filled only when every conversion fits its argument.
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace kelvane {

// One argument of a format: a string, a 32-bit int, a 64-bit int or a double.
class FormatArg {
 public:
  enum class Kind { String, Int, Int64, Double };

  FormatArg(const char* text) : kind_(Kind::String), text_(text ? text : "") {}
  FormatArg(std::string text) : kind_(Kind::String), text_(std::move(text)) {}
  FormatArg(double number) : kind_(Kind::Double), double_(number) {}
  // Integers up to 32 bits are ints, wider ones 64-bit ints.
  template <typename T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
  FormatArg(T number)
      : kind_(sizeof(T) <= 4 ? Kind::Int : Kind::Int64),
        integer_(static_cast<std::int64_t>(number)) {}

  Kind kind() const { return kind_; }
  const std::string& text() const { return text_; }
  std::int64_t integer() const { return integer_; }
  double number() const { return double_; }

 private:
  Kind kind_;
  std::string text_;
  std::int64_t integer_ = 0;
  double double_ = 0;
};

// Whether filling `format` with `args` is safe. Each conversion takes the next
// argument and must fit its kind:
//   string  %s
//   int     %d %i %u %x %X %o, optionally with l (32 bits on Windows)
//   64-bit  the same with I64 or ll
//   double  %f %e %g (and upper case), optionally with l
// Flags ("-+ #0"), a width and a precision of up to three digits are allowed;
// "*", positional "$", "%n" and any other conversion are not, nor more
// conversions than arguments. Fewer are fine. "%%" is a percent sign.
bool FormatFits(const std::string& format, const std::vector<FormatArg>& args);

// `format` filled with `args` when it fits; otherwise the format unfilled,
// then each argument after a blank, so nothing is lost and nothing crashes.
std::string FormatChecked(const std::string& format, const std::vector<FormatArg>& args);

}  // namespace kelvane
