#include "args/rate_control_options.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "app/startup.h"
#include "jobs/batch_line.h"
#include "settings/catalogue.h"
#include "support/first_start.h"
#include "support/memory_window.h"
#include "ui/control_id.h"

namespace {

// No list entry selected.
constexpr int kNoEntry = -1;

using Group = ArgList (*)(const Settings&);

class RateControlOptions : public ::testing::Test {
 protected:
  RateControlOptions() { FillFixedLists(window); }

  void check(ControlId id, bool ticked) { window.setState(id, ticked ? 1 : 0); }

  Settings settings() const { return ReadSettings(window); }

  // The text a batch line carries for `group` with the settings the window shows.
  std::string written(Group group) const { return WriteArguments(group(settings())); }
  std::optional<Refusal> refusal(Group group) const { return CheckCommand({"", group(settings())}); }

  MemoryWindow window;
};

// ---------------------------------------------------------------------------
// Bitrate

struct SizeCase {
  std::string_view what;
  std::string_view value;  // MB
  ClipInfo clip;           // frames, milliseconds
  bool audio;
  std::string_view aub;
  std::string_view expected;
};

class BitrateSwitch : public RateControlOptions {
 protected:
  // Size mode for `clip`: `value` MB, audio `aubText` kbit/s taken off when
  // `audio` is ticked.
  std::string sized(std::string_view value, const std::optional<ClipInfo>& clip, bool audio,
                    std::string_view aubText) {
    check(cid::sizemode, true);
    window.setText(cid::value, value);
    check(cid::aud, audio);
    window.setText(cid::aub, aubText);
    return WriteArguments(BitrateOption(settings(), clip));
  }

  void expectSizes(std::initializer_list<SizeCase> cases) {
    for (const SizeCase& c : cases)
      EXPECT_EQ(sized(c.value, c.clip, c.audio, c.aub), c.expected) << c.what;
  }
};

TEST_F(BitrateSwitch, DerivesTheBitrateFromTheTargetSize) {
  expectSizes({
      // 750 frames in 30 s: R = 25, S = 30. 100 MB = 838860800 bits.
      // Audio 64 * 30 * 1024 = 1966080 bits; 836894720 / 30 = 27896490; / 1002 = 27840.
      {"worked example, audio on", "100", {750, 30000}, true, "64", " -B 27840"},
      // 838860800 / 30 = 27962026; / 1002 = 27906.
      {"worked example, audio off", "100", {750, 30000}, false, "64", " -B 27906"},
      {"audio off ignores aub", "100", {750, 30000}, false, "999", " -B 27906"},
      // 23.976 fps: R = 23976000 / 1000000 = 23, S = 23976 / 23 = 1042.4 -> 1042.
      // 838860800 / 1042 = 805048; / 1002 = 803.
      {"23.976 fps counts as 23", "100", {23976, 1000000}, false, "", " -B 803"},
      // Audio 64 * 1042 * 1024 = 68288512; 770572288 / 1042 = 739512; / 1002 = 738.
      {"23.976 fps with audio", "100", {23976, 1000000}, true, "64", " -B 738"},
      // 29.97 fps: R = 2997000 / 100000 = 29, S = 2997 / 29 = 103.3 -> 103.
      // 50 MB = 419430400 bits; / 103 = 4072140; / 1002 = 4064.
      {"29.97 fps counts as 29", "50", {2997, 100000}, false, "", " -B 4064"},
      // Audio 128 * 103 * 1024 = 13500416; 405929984 / 103 = 3941067; / 1002 = 3933.
      {"29.97 fps with audio", "50", {2997, 100000}, true, "128", " -B 3933"},
      // R = 30; S = 2.5 goes to 2, S = 3.5 goes to 4. 10 MB = 83886080 bits.
      {"half a second down to even", "10", {75, 2500}, false, "", " -B 41859"},
      {"half a second up to even", "10", {105, 3500}, false, "", " -B 20929"},
      // R = 18000 / 700 = 25, S = 0.72 -> 1. 8388608 / 1 / 1002 = 8371.
      {"just over half a second", "1", {18, 700}, false, "", " -B 8371"},
      // 100.5 MB = 843055104 bits; / 30 = 28101836; / 1002 = 28045.
      {"fraction of a MB", "100.5", {750, 30000}, false, "", " -B 28045"},
      // -1966080 / 30 = -65536; / 1002 = -65.4, toward zero.
      {"audio beyond the target", "0", {750, 30000}, true, "64", " -B -65"},
      {"size that is no number", "abc", {750, 30000}, true, "64", " -B -65"},
      // -838860800 / 30 = -27962026; / 1002 = -27906.
      {"negative target", "-100", {750, 30000}, false, "", " -B -27906"},
  });
}

TEST_F(BitrateSwitch, TargetsOf256MbAndMoreFitTheSize) {
  expectSizes({
      // 256 MB = 2147483648 bits, one more than a 32-bit integer holds.
      // / 30 = 71582788; / 1002 = 71439.
      {"256 MB", "256", {750, 30000}, false, "", " -B 71439"},
      // 300 MB = 2516582400 bits; / 30 = 83886080; / 1002 = 83718.
      {"300 MB", "300", {750, 30000}, false, "", " -B 83718"},
      // 2516582400 - 1966080 = 2514616320; / 30 = 83820544; / 1002 = 83653.
      {"300 MB with audio", "300", {750, 30000}, true, "64", " -B 83653"},
      // One hour at 25 fps: S = 3600. 4000 MB = 33554432000 bits;
      // / 3600 = 9320675; / 1002 = 9302.
      {"4000 MB", "4000", {90000, 3600000}, false, "", " -B 9302"},
      // Audio 128 * 3600 * 1024 = 471859200; 33082572800 / 3600 = 9189603; / 1002 = 9171.
      {"4000 MB with audio", "4000", {90000, 3600000}, true, "128", " -B 9171"},
  });
}

TEST_F(BitrateSwitch, NoClipOrNoUsableRateOrDurationGivesNoSwitch) {
  EXPECT_EQ(sized("100", std::nullopt, true, "64"), "") << "no clip";
  expectSizes({
      {"zero length", "100", {750, 0}, false, "", ""},
      {"no frames", "100", {0, 30000}, false, "", ""},
      {"no frames and no length", "100", {0, 0}, true, "64", ""},
      // R = 1000 / 2000 = 0.
      {"under one frame a second", "100", {1, 2000}, false, "", ""},
      // R = 25, S = 0.4.
      {"shorter than half a second", "100", {10, 400}, true, "64", ""},
      // R = 24, S = 0.5 goes to the even 0.
      {"exactly half a second", "100", {12, 500}, false, "", ""},
      {"negative frame count", "100", {-750, 30000}, false, "", ""},
      {"negative duration", "100", {750, -30000}, false, "", ""},
  });
}

TEST_F(BitrateSwitch, FiguresBeyond64BitsGiveNoSwitch) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  expectSizes({
      {"size in bits", "1e30", {750, 30000}, false, "", ""},
      {"infinite size", "1e999", {750, 30000}, false, "", ""},
      {"frame count times 1000", "100", {kMax, 1000}, false, "", ""},
      {"audio bits", "100", {750, 30000}, true, "9000000000000000000", ""},
      // 2^37 MB is 2^60 bits; audio -2^53 kbit/s for S = 1 is -2^63 bits, and
      // 2^60 - (-2^63) is beyond 64 bits.
      {"size less audio", "137438953472", {1000, 1000}, true, "-9007199254740992", ""},
  });
}

TEST_F(BitrateSwitch, WithoutSizeModeWritesTheValueWhateverTheClip) {
  check(cid::sizemode, false);
  check(cid::aud, true);
  window.setText(cid::aub, "64");
  window.setText(cid::value, "100");
  EXPECT_EQ(WriteArguments(BitrateOption(settings(), ClipInfo{750, 30000})), " -B 100");
  EXPECT_EQ(WriteArguments(BitrateOption(settings(), std::nullopt)), " -B 100");
}

// ---------------------------------------------------------------------------
// Quantizer limits, QP ratios, chroma offset

TEST_F(RateControlOptions, QuantizerLimitsAndCurveCompression) {
  const struct {
    std::string_view minqp, maxqp, qps, vbr;
    std::string_view expected;
  } cases[] = {
      {"10", "51", "4", "60", " --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000"},
      {"0", "69", "1", "0", " --qpmin 0 --qpmax 69 --qpstep 1 --qcomp 0.000000"},
      {"20", "40", "2", "100", " --qpmin 20 --qpmax 40 --qpstep 2 --qcomp 1.000000"},
      {"10", "51", "4", "75", " --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.750000"},
      // The percentage is read as a whole number.
      {"10", "51", "4", "60.9", " --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000"},
      {"10", "51", "4", "abc", " --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.000000"},
  };
  for (const auto& c : cases) {
    window.setText(cid::minqp, c.minqp);
    window.setText(cid::maxqp, c.maxqp);
    window.setText(cid::qps, c.qps);
    window.setText(cid::vbr, c.vbr);
    EXPECT_EQ(written(QuantizerLimitOptions), c.expected);
  }
}

// Every decimal computed from a percentage, over the whole range its field
// allows, is the exact value in hundredths (1 + 756 / 100 is 8.56) written
// with six digits: rounded to a 32-bit float once, never twice.
TEST(ComputedDecimals, AreExactOverTheWholeRangeOfTheirFields) {
  struct Decimal {
    std::string Settings::*field;
    int max;
    int base;  // in hundredths
    ArgList (*group)(const Settings&);
    const char* option;
  };
  const Decimal decimals[] = {
      {&Settings::kfb, 900, 100, FrameQpRatioOptions, "--ipratio"},
      {&Settings::bfr, 900, 100, FrameQpRatioOptions, "--pbratio"},
      {&Settings::vbr, 100, 0, QuantizerLimitOptions, "--qcomp"},
      {&Settings::bv, 1000, 0, [](const Settings& s) { return VbvOptions(s, false); }, "--ratetol"},
  };
  for (const Decimal& d : decimals) {
    Settings s = FirstStartSettings();
    for (int percent = 0; percent <= d.max; ++percent) {
      s.*d.field = std::to_string(percent);
      const int hundredths = d.base + percent;
      char exact[32];
      std::snprintf(exact, sizeof exact, " %s %d.%02d0000", d.option, hundredths / 100,
                    hundredths % 100);
      const std::string written = WriteArguments(d.group(s));
      ASSERT_NE(written.find(exact), std::string::npos) << written;
    }
  }
}

TEST_F(RateControlOptions, FrameQpRatiosAreOnePlusThePercentage) {
  const struct {
    std::string_view kfb, bfr;
    std::string_view expected;
  } cases[] = {
      {"40", "30", " --ipratio 1.400000 --pbratio 1.300000"},
      {"0", "0", " --ipratio 1.000000 --pbratio 1.000000"},
      {"0", "30", " --ipratio 1.000000 --pbratio 1.300000"},
      {"100", "25", " --ipratio 2.000000 --pbratio 1.250000"},
      {"40.5", "30.9", " --ipratio 1.400000 --pbratio 1.300000"},
      {"", "x", " --ipratio 1.000000 --pbratio 1.000000"},
  };
  for (const auto& c : cases) {
    window.setText(cid::kfb, c.kfb);
    window.setText(cid::bfr, c.bfr);
    EXPECT_EQ(written(FrameQpRatioOptions), c.expected);
  }
}

TEST_F(RateControlOptions, ChromaQpOffsetIsAlwaysWritten) {
  const struct {
    std::string_view offset;
    std::string_view expected;
  } cases[] = {
      {"0", " --chroma-qp-offset 0"},
      {"-2", " --chroma-qp-offset -2"},
      {"12", " --chroma-qp-offset 12"},
  };
  for (const auto& c : cases) {
    window.setText(cid::chromaqpoffset, c.offset);
    EXPECT_EQ(written(ChromaQpOffsetOption), c.expected);
  }
}

// ---------------------------------------------------------------------------
// VBV

TEST_F(RateControlOptions, VbvWritesBufferAndRateOnlyWhenNotZero) {
  const struct {
    std::string_view bv, vib, vbs, vmb;
    bool omitRatetol;
    std::string_view expected;
  } cases[] = {
      {"100", "0.9", "0", "0", false, " --ratetol 1.000000 --vbv-init 0.9"},
      {"100", "0.9", "0", "0", true, " --vbv-init 0.9"},
      {"100", "0.9", "2000", "1500", false,
       " --ratetol 1.000000 --vbv-init 0.9 --vbv-bufsize 2000 --vbv-maxrate 1500"},
      {"100", "0.9", "2000", "1500", true, " --vbv-init 0.9 --vbv-bufsize 2000 --vbv-maxrate 1500"},
      {"50", "0.5", "abc", "0.0", false, " --ratetol 0.500000 --vbv-init 0.5"},
      {"0", "0.9", "0", "800", false, " --ratetol 0.000000 --vbv-init 0.9 --vbv-maxrate 800"},
      {"250", "0.9", "1000", "0", false, " --ratetol 2.500000 --vbv-init 0.9 --vbv-bufsize 1000"},
      // The percentage is read as a whole number.
      {"100.7", "0.9", "0", "0", false, " --ratetol 1.000000 --vbv-init 0.9"},
      {"100", "0", "0", "0", true, " --vbv-init 0"},
  };
  for (const auto& c : cases) {
    window.setText(cid::bv, c.bv);
    window.setText(cid::vib, c.vib);
    window.setText(cid::vbs, c.vbs);
    window.setText(cid::vmb, c.vmb);
    EXPECT_EQ(WriteArguments(VbvOptions(settings(), c.omitRatetol)), c.expected);
  }
}

// ---------------------------------------------------------------------------
// Key frames, AQ, deadzones

TEST_F(RateControlOptions, KeyframesPutTheMaximumIntervalFirst) {
  const struct {
    std::string_view sct, maxgop, mingop;
    std::string_view expected;
  } cases[] = {
      {"40", "250", "25", " --scenecut 40 -I 250 -i 25"},
      {"-1", "500", "50", " --scenecut -1 -I 500 -i 50"},
  };
  for (const auto& c : cases) {
    window.setText(cid::sct, c.sct);
    window.setText(cid::maxgop, c.maxgop);
    window.setText(cid::mingop, c.mingop);
    EXPECT_EQ(written(KeyframeOptions), c.expected);
  }
}

TEST_F(RateControlOptions, AqWritesTheModeAndTheStrengthWhenOn) {
  const struct {
    std::string_view entry;
    std::string_view aq1;
    std::string_view expected;
  } cases[] = {
      {"Disable", "1.0", " --aq-mode 0"},
      {"Disable", "", " --aq-mode 0"},
      {"Variance AQ", "1.0", " --aq-mode 1 --aq-strength 1.0"},
      {"Variance AQ", "0.5", " --aq-mode 1 --aq-strength 0.5"},
  };
  for (const auto& c : cases) {
    window.setText(cid::aq, c.entry);
    window.setText(cid::aq1, c.aq1);
    EXPECT_EQ(written(AqOptions), c.expected) << c.entry << " " << c.aq1;
  }
}

TEST_F(RateControlOptions, AqWithoutSelectionWritesItsIndex) {
  // Start-up leaves the list without a selection until settings are loaded;
  // the index -1 is written as it is and, not being 0, brings the strength.
  window.setState(cid::aq, kNoEntry);
  window.setText(cid::aq1, "1.0");
  EXPECT_EQ(written(AqOptions), " --aq-mode -1 --aq-strength 1.0");
}

TEST_F(RateControlOptions, DeadzonesInterThenIntra) {
  const struct {
    std::string_view inter, intra;
    std::string_view expected;
  } cases[] = {
      {"21", "11", " --deadzone-inter 21 --deadzone-intra 11"},
      {"0", "32", " --deadzone-inter 0 --deadzone-intra 32"},
  };
  for (const auto& c : cases) {
    window.setText(cid::dzinter, c.inter);
    window.setText(cid::dzintra, c.intra);
    EXPECT_EQ(written(DeadzoneOptions), c.expected);
  }
}

// ---------------------------------------------------------------------------
// Level

TEST_F(RateControlOptions, LevelFollowsTheSelectedEntry) {
  // The first entry, "Disable", writes no level; every other entry is
  // "Level <x>" and writes x.
  constexpr std::string_view kPrefix = "Level ";
  window.setState(cid::level, 0);
  EXPECT_EQ(written(LevelOption), "");
  ASSERT_GT(window.itemCount(cid::level), 1);
  for (int index = 1; index < window.itemCount(cid::level); ++index) {
    const std::string entry = window.item(cid::level, index);
    ASSERT_EQ(entry.substr(0, kPrefix.size()), kPrefix);
    window.setState(cid::level, index);
    EXPECT_EQ(written(LevelOption), " --level " + entry.substr(kPrefix.size())) << entry;
  }
}

TEST_F(RateControlOptions, LevelWithoutAKnownIndexIsLeftOut) {
  window.setState(cid::level, kNoEntry);
  EXPECT_EQ(written(LevelOption), "");
  // An entry past the known ones.
  const int past = window.itemCount(cid::level);
  window.addItem(cid::level, "Level 5.2");
  window.setState(cid::level, past);
  ASSERT_EQ(window.state(cid::level), past);
  EXPECT_EQ(written(LevelOption), "");
}

// ---------------------------------------------------------------------------
// Psychovisual optimization, noise reduction, quantization matrices

TEST_F(RateControlOptions, PsyRdJoinsBothStrengthsWithAColon) {
  const struct {
    std::string_view rdo, trellis;
    std::string_view expected;
  } cases[] = {
      {"1.0", "0.0", " --psy-rd 1.0:0.0"},
      {"0.5", "0.2", " --psy-rd 0.5:0.2"},
  };
  for (const auto& c : cases) {
    window.setText(cid::psyrd_rdo, c.rdo);
    window.setText(cid::psyrd_tre, c.trellis);
    EXPECT_EQ(written(PsyRdOption), c.expected);
  }
}

TEST_F(RateControlOptions, NoiseReductionIsAlwaysWritten) {
  const struct {
    std::string_view nr;
    std::string_view expected;
  } cases[] = {
      {"0", " --nr 0"},
      {"250", " --nr 250"},
  };
  for (const auto& c : cases) {
    window.setText(cid::nr, c.nr);
    EXPECT_EQ(written(NoiseReductionOption), c.expected);
  }
}

TEST_F(RateControlOptions, QuantMatrixNamesOrFile) {
  const struct {
    std::string_view cqm;
    std::string_view expected;
  } cases[] = {
      {"flat", " --cqm flat"},
      {"jvt", " --cqm jvt"},
      {"JVT", " --cqmfile JVT"},
      {"Flat", " --cqmfile Flat"},
      {"custom...", " --cqmfile custom..."},
      {"\"C:\\matrices\\my matrix.cfg\"", " --cqmfile \"C:\\matrices\\my matrix.cfg\""},
      // A name the command interpreter would split is quoted.
      {"flat ", " --cqmfile \"flat \""},
  };
  for (const auto& c : cases) {
    window.setText(cid::cqm, c.cqm);
    EXPECT_EQ(written(QuantMatrixOptions), c.expected) << c.cqm;
  }
}

// ---------------------------------------------------------------------------
// Pixel shape, threads, metrics, deblocking

TEST_F(RateControlOptions, SarTrimsBlanksOfBothFields) {
  const struct {
    std::string_view arx, ary;
    std::string_view expected;
  } cases[] = {
      {"1", "1", " --sar 1:1"},
      {"16", "9", " --sar 16:9"},
      {" 16 ", "  9", " --sar 16:9"},
  };
  for (const auto& c : cases) {
    window.setText(cid::arx, c.arx);
    window.setText(cid::ary, c.ary);
    EXPECT_EQ(written(SarOption), c.expected);
  }
}

TEST_F(RateControlOptions, ThreadsAutoWhenTheCountReadsZero) {
  const struct {
    std::string_view thr;
    std::string_view expected;
  } cases[] = {
      {"0", " --threads auto"},  {"", " --threads auto"}, {"abc", " --threads auto"},
      {"00", " --threads auto"}, {"2", " --threads 2"},   {"-1", " --threads -1"},
  };
  for (const auto& c : cases) {
    window.setText(cid::thr, c.thr);
    EXPECT_EQ(written(ThreadOptions), c.expected) << "thr \"" << c.thr << "\"";
  }
}

TEST_F(RateControlOptions, MetricsTurnedOffOneByOne) {
  const struct {
    bool psnr, ssim;
    std::string_view expected;
  } cases[] = {
      {true, true, ""},
      {false, true, " --no-psnr"},
      {true, false, " --no-ssim"},
      {false, false, " --no-psnr --no-ssim"},
  };
  for (const auto& c : cases) {
    check(cid::psnr, c.psnr);
    check(cid::ssim, c.ssim);
    EXPECT_EQ(written(MetricOptions), c.expected);
  }
}

TEST_F(RateControlOptions, DeblockUsesTheTrimmedLabels) {
  const struct {
    bool fil;
    std::string_view fa, fb;
    std::string_view expected;
  } cases[] = {
      {true, " -1", "2", " -f -1:2"},     {true, "0", "0", " -f 0:0"},
      {true, "-6 ", " 6 ", " -f -6:6"},   {false, " -1", "2", " --no-deblock"},
      {false, "0", "0", " --no-deblock"},
  };
  for (const auto& c : cases) {
    check(cid::fil, c.fil);
    window.setText(cid::fa, c.fa);
    window.setText(cid::fb, c.fb);
    EXPECT_EQ(written(DeblockOptions), c.expected);
  }
}

TEST_F(RateControlOptions, DeblockIgnoresTheSliders) {
  // The labels, not the slider positions, carry the values.
  check(cid::fil, true);
  window.setState(cid::deb_a, 0);
  window.setState(cid::deb_b, 12);
  window.setText(cid::fa, "2");
  window.setText(cid::fb, "-3");
  EXPECT_EQ(written(DeblockOptions), " -f 2:-3");
  check(cid::fil, false);
  EXPECT_EQ(written(DeblockOptions), " --no-deblock");
}

// ---------------------------------------------------------------------------
// Malformed fields

TEST_F(RateControlOptions, MalformedFieldsAreRefusedByName) {
  constexpr Group kBitrate = [](const Settings& s) { return BitrateOption(s, std::nullopt); };
  constexpr Group kVbv = [](const Settings& s) { return VbvOptions(s, false); };
  const struct {
    Group group;
    ControlId field;
    std::string_view typed;
  } cases[] = {
      {kBitrate, cid::value, ""},
      {kBitrate, cid::value, "12.5"},
      {kBitrate, cid::value, " 800 "},
      {QuantizerLimitOptions, cid::minqp, ""},
      {QuantizerLimitOptions, cid::maxqp, " 5"},
      {QuantizerLimitOptions, cid::qps, "4 "},
      {ChromaQpOffsetOption, cid::chromaqpoffset, ""},
      {kVbv, cid::vib, ""},
      {kVbv, cid::vbs, " 0.5"},
      {kVbv, cid::vmb, "1e3"},
      {KeyframeOptions, cid::sct, ""},
      {KeyframeOptions, cid::maxgop, ""},
      {KeyframeOptions, cid::mingop, ""},
      {AqOptions, cid::aq1, ""},
      {DeadzoneOptions, cid::dzinter, ""},
      {DeadzoneOptions, cid::dzintra, ""},
      {PsyRdOption, cid::psyrd_rdo, " 1.0"},
      {PsyRdOption, cid::psyrd_tre, ""},
      {NoiseReductionOption, cid::nr, ""},
      {QuantMatrixOptions, cid::cqm, ""},
      {SarOption, cid::arx, ""},
      {SarOption, cid::arx, "4 3"},
      {SarOption, cid::ary, "3\t"},
      {ThreadOptions, cid::thr, " 2"},
      {ThreadOptions, cid::thr, "4x"},
  };
  check(cid::sizemode, false);
  window.setText(cid::aq, "Variance AQ");
  for (const auto& c : cases) {
    // "1" is well formed in every field of the table.
    for (const auto& other : cases) window.setText(other.field, "1");
    ASSERT_FALSE(refusal(c.group)) << "field " << c.field;
    window.setText(c.field, c.typed);
    const std::optional<Refusal> refused = refusal(c.group);
    ASSERT_TRUE(refused) << "field " << c.field << " \"" << c.typed << "\" was written";
    EXPECT_EQ(refused->field, c.field) << "\"" << c.typed << "\"";
    EXPECT_EQ(refused->text, c.typed) << "field " << c.field;
  }
}

}  // namespace
