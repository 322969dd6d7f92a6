#include "core/text_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

constexpr std::int64_t kMaxInt = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinInt = std::numeric_limits<std::int64_t>::min();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

struct IntCase {
  std::string_view text;
  std::int64_t expected;
};

void ExpectInts(std::initializer_list<IntCase> cases) {
  for (const IntCase& c : cases)
    EXPECT_EQ(TextToInt(c.text), c.expected) << "text: \"" << c.text << "\"";
}

TEST(TextToInt, ReadsDecimalDigitsUpToTheFirstOtherCharacter) {
  ExpectInts({
      {"0", 0},
      {"7", 7},
      {"007", 7},
      {"123456", 123456},
      {"96.5", 96},
      {"12 34", 12},
      {"42abc", 42},
      {"1e5", 1},
      {"3,5", 3},
      {"0x10", 0},
      {"5$", 5},
      {"10%", 10},
  });
}

TEST(TextToInt, SkipsBlanksAndTabsButNoOtherWhiteSpace) {
  ExpectInts({
      {" 5", 5},
      {"   5", 5},
      {"\t5", 5},
      {" \t \t5", 5},
      {"\t-5", -5},
      {"  $1F", 31},
      {"\n5", 0},
      {"\r5", 0},
      {"\v5", 0},
      {"\f5", 0},
      {" \n5", 0},
      {"\r\n5", 0},
  });
}

TEST(TextToInt, TakesOneOptionalSign) {
  ExpectInts({
      {"-5", -5},
      {"+5", 5},
      {"-0", 0},
      {" -250", -250},
      {"--5", 0},
      {"+-5", 0},
      {"-+5", 0},
      {"- 5", 0},
      {"5-", 5},
  });
}

TEST(TextToInt, DollarIntroducesHexadecimal) {
  ExpectInts({
      {"$0", 0},
      {"$9", 9},
      {"$a", 10},
      {"$A", 10},
      {"$ff", 255},
      {"$FF", 255},
      {"$aB", 171},
      {"$10", 16},
      {"$7fffffffffffffff", kMaxInt},
      {"$1g", 1},
      {"$12.5", 18},
      {"-$ff", -255},
      {"+$10", 16},
      {" -$A", -10},
      {"$-5", 0},
      {"$ 5", 0},
      {"ff", 0},
  });
}

TEST(TextToInt, PercentIntroducesBaseTwo) {
  ExpectInts({
      {"%0", 0},
      {"%1", 1},
      {"%101", 5},
      {"%1111", 15},
      {"%102", 2},
      {"%2", 0},
      {"%1a", 1},
      {"-%110", -6},
      {"+%11", 3},
  });
}

TEST(TextToInt, TextWithoutDigitsReadsAsZero) {
  ExpectInts({
      {"", 0},
      {" ", 0},
      {"\t", 0},
      {"abc", 0},
      {"-", 0},
      {"+", 0},
      {"$", 0},
      {"%", 0},
      {"-$", 0},
      {".5", 0},
      {"x5", 0},
  });
}

TEST(TextToInt, ReadsTheWholeSixtyFourBitRange) {
  ExpectInts({
      {"2147483648", 2147483648LL},
      {"-2147483649", -2147483649LL},
      {"4294967296", 4294967296LL},
      {"9223372036854775807", kMaxInt},
      {"-9223372036854775807", -kMaxInt},
      {"-9223372036854775808", kMinInt},
      {"-$8000000000000000", kMinInt},
  });
}

TEST(TextToInt, ValuesBeyondSixtyFourBitsWrapAround) {
  ExpectInts({
      {"9223372036854775808", kMinInt},
      {"18446744073709551615", -1},
      {"18446744073709551616", 0},
      {"18446744073709551617", 1},
      {"$FFFFFFFFFFFFFFFF", -1},
      {"$10000000000000000", 0},
      {"$10000000000000005", 5},
  });
  // A very long run of digits is still read to its end without failing.
  const std::string many_nines(400, '9');
  const std::int64_t wrapped = TextToInt(many_nines);
  EXPECT_EQ(TextToInt(many_nines + "x"), wrapped);
  EXPECT_EQ(TextToInt("-" + many_nines),
            static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(wrapped)));
}

struct FloatCase {
  std::string_view text;
  float expected;
};

void ExpectFloats(std::initializer_list<FloatCase> cases) {
  for (const FloatCase& c : cases) {
    const float value = TextToFloat(c.text);
    EXPECT_EQ(value, c.expected) << "text: \"" << c.text << "\"";
    EXPECT_EQ(std::signbit(value), std::signbit(c.expected)) << "text: \"" << c.text << "\"";
  }
}

TEST(TextToFloat, ReadsTheLongestLeadingDecimalNumber) {
  ExpectFloats({
      {"0", 0.0f},     {"3", 3.0f},       {"1.5", 1.5f},       {"23.0", 23.0f},
      {"0.6", 0.6f},   {"1.4", 1.4f},     {"1.5e3x", 1500.0f}, {"1.5E3", 1500.0f},
      {"2e-2", 0.02f}, {"2.5e+1", 25.0f}, {".5", 0.5f},        {"5.", 5.0f},
      {"5.x", 5.0f},   {"1.2.3", 1.2f},   {"1,5", 1.0f},       {"12abc", 12.0f},
      {"7 8", 7.0f},   {"0x10", 0.0f},    {"0010.50", 10.5f},
  });
}

TEST(TextToFloat, TakesOneOptionalSign) {
  ExpectFloats({
      {"-0.25", -0.25f},
      {"+3", 3.0f},
      {"-.5", -0.5f},
      {"+.5", 0.5f},
      {"-1e2", -100.0f},
      {"--1", 0.0f},
      {"+-1", 0.0f},
      {"- 1", 0.0f},
  });
}

TEST(TextToFloat, AnIncompleteExponentIsLeftOut) {
  ExpectFloats({
      {"1e", 1.0f},
      {"1e+", 1.0f},
      {"1e-", 1.0f},
      {"2.5E", 2.5f},
      {"1ex", 1.0f},
      {"1e+x", 1.0f},
      {"3e 2", 3.0f},
  });
}

TEST(TextToFloat, SkipsLeadingWhiteSpace) {
  ExpectFloats({
      {" 2.5", 2.5f},
      {"   -2.5", -2.5f},
      {"\t2.5", 2.5f},
      {"\n2.5", 2.5f},
      {" \t\r\n2.5", 2.5f},
  });
}

TEST(TextToFloat, TextWithoutANumberReadsAsZero) {
  ExpectFloats({
      {"", 0.0f},       {"   ", 0.0f},      {"abc", 0.0f},  {"-", 0.0f},   {"+", 0.0f},
      {".", 0.0f},      {"-.", 0.0f},       {".e5", 0.0f},  {"e5", 0.0f},  {"E5", 0.0f},
      {"$10", 0.0f},    {"%10", 0.0f},      {"x1.5", 0.0f}, {"inf", 0.0f}, {"INF", 0.0f},
      {"-inf", 0.0f},   {"infinity", 0.0f}, {"nan", 0.0f},  {"NaN", 0.0f}, {"-nan", 0.0f},
      {"nan(1)", 0.0f},
  });
}

TEST(TextToFloat, HoldsTheValueAsAThirtyTwoBitFloat) {
  // 0.1 held as a float differs from 0.1 held as a double.
  EXPECT_EQ(TextToFloat("0.1"), 0.1f);
  EXPECT_NE(static_cast<double>(TextToFloat("0.1")), 0.1);
  // 16777217 has no float of its own and rounds to an even neighbour.
  EXPECT_EQ(TextToFloat("16777217"), 16777216.0f);
  EXPECT_EQ(TextToFloat("3.4028235e38"), std::numeric_limits<float>::max());
}

TEST(TextToFloat, NumbersBeyondTheFloatRangeKeepTheirDirection) {
  const std::string huge_digits = "1" + std::string(400, '0');
  const std::string tiny_digits = "0." + std::string(400, '0') + "1";
  const std::string huge_fraction = huge_digits + ".5e-50";
  const std::string tiny_with_exponent = "0." + std::string(400, '0') + "1e200";
  ExpectFloats({
      {"1e39", kInfinity},
      {"-1e39", -kInfinity},
      {"1e400", kInfinity},
      {"-1e400", -kInfinity},
      {"1e4000x", kInfinity},
      {"1e99999999999999999999", kInfinity},
      {"-1e99999999999999999999", -kInfinity},
      {huge_digits, kInfinity},
      {huge_fraction, kInfinity},
      {"0.00001e400", kInfinity},
      {"1e-50", 0.0f},
      {"-1e-50", -0.0f},
      {"1e-400", 0.0f},
      {"-1e-400", -0.0f},
      {"1e-99999999999999999999", 0.0f},
      {"100000e-400", 0.0f},
      {tiny_digits, 0.0f},
      {tiny_with_exponent, 0.0f},
      {"0e99999", 0.0f},
  });
}

struct DecimalCase {
  float value;
  std::string_view expected;
};

TEST(DecimalText, WritesSixDigitsAfterThePointWithoutExponent) {
  const DecimalCase cases[] = {
      {1.4f, "1.400000"},
      {0.6f, "0.600000"},
      {0.0f, "0.000000"},
      {1.0f, "1.000000"},
      {0.1f, "0.100000"},
      {25.0f, "25.000000"},
      {-2.5f, "-2.500000"},
      {-0.6f, "-0.600000"},
      {-100.0f, "-100.000000"},
      {0.25f, "0.250000"},
      {1.0e-7f, "0.000000"},
      {6.0e-7f, "0.000001"},
      {0.9999999f, "1.000000"},
      {1.0e7f, "10000000.000000"},
      {16777216.0f, "16777216.000000"},
      {1.0e10f, "10000000000.000000"},
      {1.0e20f, "100000002004087734272.000000"},
      {-1.0e20f, "-100000002004087734272.000000"},
      {std::numeric_limits<float>::max(), "340282346638528859811704183484516925440.000000"},
  };
  for (const DecimalCase& c : cases) EXPECT_EQ(DecimalText(c.value), c.expected) << c.value;
}

TEST(DecimalText, ValuesComputedAsFloatPrintAsTheirShortDecimal) {
  const float one = 1.0f;
  const float forty = 40.0f;
  const float hundred = 100.0f;
  EXPECT_EQ(DecimalText(one + forty / hundred), "1.400000");
  EXPECT_EQ(DecimalText(one - forty / hundred), "0.600000");
  EXPECT_EQ(DecimalText(TextToFloat("1.4")), "1.400000");
  EXPECT_EQ(DecimalText(TextToFloat("22.5") * 0.5f), "11.250000");
}

struct IntegerCase {
  std::int64_t value;
  std::string_view expected;
};

TEST(IntegerText, WritesPlainDecimal) {
  const IntegerCase cases[] = {
      {0, "0"},
      {1, "1"},
      {7, "7"},
      {10, "10"},
      {100, "100"},
      {-1, "-1"},
      {-42, "-42"},
      {2147483648LL, "2147483648"},
      {-2147483649LL, "-2147483649"},
      {kMaxInt, "9223372036854775807"},
      {kMinInt, "-9223372036854775808"},
  };
  for (const IntegerCase& c : cases) EXPECT_EQ(IntegerText(c.value), c.expected) << c.value;
}

TEST(IntegerText, ReadsBackAsTheSameValue) {
  for (std::int64_t value :
       {std::int64_t{0}, std::int64_t{-1}, std::int64_t{123456789}, kMaxInt, kMinInt, kMinInt + 1})
    EXPECT_EQ(TextToInt(IntegerText(value)), value) << value;
}

}  // namespace
