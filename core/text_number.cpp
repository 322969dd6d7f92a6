#include "core/text_number.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v >= 0 && v < base ? v : -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// For a decimal number beyond even the range of a double: whether it is too
// large (rather than too small), from the power of ten of its first nonzero
// digit.
bool IsTooLarge(std::string_view number) {
  std::int64_t power = 0;
  bool found = false;
  size_t i = 0;
  for (; i < number.size() && IsDigit(number[i]); ++i) {
    if (found)
      ++power;
    else
      found = number[i] != '0';
  }
  if (i < number.size() && number[i] == '.') {
    for (++i; i < number.size() && IsDigit(number[i]); ++i) {
      if (!found) {
        --power;
        found = number[i] != '0';
      }
    }
  }
  if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) negative = number[i++] == '-';
    std::int64_t exponent = 0;
    for (; i < number.size() && IsDigit(number[i]); ++i)
      if (exponent < 1000000) exponent = exponent * 10 + (number[i] - '0');
    power += negative ? -exponent : exponent;
  }
  return power > 0;
}

}  // namespace

std::int64_t TextToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    base = 2;
    ++i;
  }
  std::uint64_t value = 0;  // unsigned, so that overflow wraps instead of being undefined
  for (; i < text.size(); ++i) {
    int d = DigitValue(text[i], base);
    if (d < 0) break;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
  }
  if (negative) value = 0 - value;
  return static_cast<std::int64_t>(value);
}

float TextToFloat(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // Only a digit, or a point followed by a digit, starts a decimal number
  // (this keeps "inf", "nan" and hexadecimal forms out).
  bool starts =
      i < text.size() &&
      (IsDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1])));
  if (!starts) return 0.0f;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  float value = 0.0f;
  auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small for a float: keep the direction of the number
    // (infinity or zero), also beyond the range of a double.
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    double wide = 0.0;
    if (std::from_chars(first, last, wide, std::chars_format::general).ec == std::errc())
      value = std::fabs(wide) > std::numeric_limits<float>::max() ? kInfinity
                                                                  : static_cast<float>(wide);
    else
      value =
          IsTooLarge(std::string_view(first, static_cast<size_t>(end - first))) ? kInfinity : 0.0f;
  } else if (ec != std::errc()) {
    return 0.0f;
  }
  return negative ? -value : value;
}

std::string DecimalText(float value) {
  char buffer[64];
  int n = std::snprintf(buffer, sizeof buffer, "%.6f", static_cast<double>(value));
  if (n < 0 || n >= static_cast<int>(sizeof buffer)) {
    std::string big(static_cast<size_t>(n > 0 ? n : 0) + 1, '\0');
    std::snprintf(big.data(), big.size(), "%.6f", static_cast<double>(value));
    big.pop_back();
    return big;
  }
  return std::string(buffer, static_cast<size_t>(n));
}

std::string IntegerText(std::int64_t value) { return std::to_string(value); }
