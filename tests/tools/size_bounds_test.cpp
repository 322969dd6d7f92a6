// The size check of gaugit.exe: which bounds are numbers, and whether a
// size in bytes lies within them, compared exactly.
#include "tools/size_bounds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

using namespace size_bounds;

struct SizeCase {
  const wchar_t* low;
  const wchar_t* high;
  std::uint64_t bytes;
  unsigned expected;  // gaugit's exit code: 0 within, 1 outside
};

unsigned Verdict(const SizeCase& c) {
  const std::optional<Decimal> low = ParseDecimal(c.low);
  const std::optional<Decimal> high = ParseDecimal(c.high);
  if (!low || !high) return 2;
  return CompareWithBound(c.bytes, *low) >= 0 && CompareWithBound(c.bytes, *high) <= 0 ? 0 : 1;
}

TEST(SizeBounds, ASizeLiesWithinTheBoundsInMegabytesExactly) {
  constexpr std::uint64_t MB = 1048576;
  const SizeCase cases[] = {
      // Whole megabytes: just below, at, inside, at and just above the bounds.
      {L"1", L"2", MB - 1, 1},
      {L"1", L"2", MB, 0},
      {L"1", L"2", 1500000, 0},
      {L"1", L"2", 2 * MB, 0},
      {L"1", L"2", 2 * MB + 1, 1},
      // Decimal bounds, compared exactly.
      {L"0.5", L"1.5", MB / 2 - 1, 1},
      {L"0.5", L"1.5", MB / 2, 0},
      {L"0.5", L"1.5", MB + MB / 2, 0},
      {L"0.5", L"1.5", MB + MB / 2 + 1, 1},
      {L"89.5", L"89.5", 93847552, 0},
      {L"89.5", L"89.5", 93847551, 1},
      {L"89.5", L"89.5", 93847553, 1},
      // 0.1 MB is 104857.6 bytes and 0.2 MB 209715.2 bytes.
      {L"0.1", L"0.2", 104857, 1},
      {L"0.1", L"0.2", 104858, 0},
      {L"0.2", L"0.2", 209715, 1},
      {L"0.1", L"0.2", 209715, 0},
      {L"0.1", L"0.2", 209716, 1},
      // Other spellings of the same numbers.
      {L"00.50", L"1.500", MB / 2, 0},
      {L".5", L"1.", MB / 2 - 1, 1},
      {L".5", L"1.", MB, 0},
      {L".5", L"1.", MB + 1, 1},
      // An empty file, and sizes beyond 4 GB (whose lower 32 bits alone
      // would give 1 GB).
      {L"0", L"0", 0, 0},
      {L"0", L"0", 1, 1},
      {L"5119.5", L"5120", 5120 * MB, 0},
      {L"1", L"1024", 5120 * MB, 1},
      {L"1024", L"5119.999999", 5120 * MB, 1},
  };
  for (const SizeCase& c : cases)
    EXPECT_EQ(Verdict(c), c.expected) << std::wstring(c.low).size() << " " << c.bytes;
}

TEST(SizeBounds, OnlyDigitsWithAtMostOneDotAreBounds) {
  for (const wchar_t* bound : {L"0", L"90", L"89.5", L".5", L"5.", L"00.50", L"1.500",
                               L"9999999999999999999", L"0.000000000000000001"})
    EXPECT_TRUE(ParseDecimal(bound).has_value()) << std::wstring(bound).size();
  for (const wchar_t* bound : {L"", L".", L"a", L"2MB", L"1,5", L"-1", L"+1", L"1e0", L"1.2.3",
                               L" 1", L"1 ", L"99999999999999999999", L"0.0000000000000000001"})
    EXPECT_FALSE(ParseDecimal(bound).has_value()) << std::wstring(bound).size();
  EXPECT_TRUE(Above(*ParseDecimal(L"1.0000001"), *ParseDecimal(L"1")));
  EXPECT_FALSE(Above(*ParseDecimal(L"1.0"), *ParseDecimal(L"1")));
}

}  // namespace
