#pragma once

// The size check of gaugit.exe: bounds in megabytes written as decimals,
// compared exactly with a size in bytes. No exceptions and no library beyond
// views, so that the small tool stays small; the native tests read it too.

#include <cstdint>
#include <optional>
#include <string_view>

namespace size_bounds {

using Wide = unsigned __int128;

constexpr std::uint64_t kBytesPerMegabyte = 1048576;

// A bound as the exact fraction digits / 10^scale.
struct Decimal {
  std::uint64_t digits = 0;
  unsigned scale = 0;
};

inline Wide PowerOfTen(unsigned exponent) {
  Wide result = 1;
  while (exponent-- > 0) result *= 10;
  return result;
}

// Digits with at most one dot and at least one digit: "90", "89.5", ".5",
// "5.". Up to 19 significant digits and 18 decimals are kept exactly; longer
// numbers are refused rather than rounded.
inline std::optional<Decimal> ParseDecimal(std::wstring_view text) {
  // (Views made by hand: substr() would bring the library's exceptions in.)
  std::wstring_view whole = text;
  std::wstring_view fraction;
  if (const size_t dot = text.find(L'.'); dot != std::wstring_view::npos) {
    whole = std::wstring_view(text.data(), dot);
    fraction = std::wstring_view(text.data() + dot + 1, text.size() - dot - 1);
  }
  if (whole.empty() && fraction.empty()) return std::nullopt;
  auto allDigits = [](std::wstring_view part) {
    for (wchar_t c : part)
      if (c < L'0' || c > L'9') return false;
    return true;
  };
  if (!allDigits(whole) || !allDigits(fraction)) return std::nullopt;
  while (!whole.empty() && whole.front() == L'0') whole.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == L'0') fraction.remove_suffix(1);
  if (fraction.size() > 18 || whole.size() + fraction.size() > 19) return std::nullopt;
  Decimal value;
  for (wchar_t c : whole) value.digits = value.digits * 10 + static_cast<unsigned>(c - L'0');
  for (wchar_t c : fraction) value.digits = value.digits * 10 + static_cast<unsigned>(c - L'0');
  value.scale = static_cast<unsigned>(fraction.size());
  return value;
}

// -1, 0 or 1 as bytes is below, equal to or above the bound in megabytes.
inline int CompareWithBound(std::uint64_t bytes, const Decimal& bound) {
  Wide left = Wide{bytes} * PowerOfTen(bound.scale);
  Wide right = Wide{bound.digits} * kBytesPerMegabyte;
  return left < right ? -1 : left > right ? 1 : 0;
}

inline bool Above(const Decimal& a, const Decimal& b) {
  return Wide{a.digits} * PowerOfTen(b.scale) > Wide{b.digits} * PowerOfTen(a.scale);
}

}  // namespace size_bounds
