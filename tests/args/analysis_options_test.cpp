#include "args/analysis_options.h"

#include <gtest/gtest.h>

#include <optional>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "jobs/batch_line.h"
#include "settings/catalogue.h"
#include "support/memory_window.h"
#include "ui/control_id.h"

namespace {

// No list entry selected.
constexpr int kNoEntry = -1;

using Group = ArgList (*)(const Settings&);

class AnalysisOptions : public ::testing::Test {
 protected:
  AnalysisOptions() { FillFixedLists(window); }

  // Clears every box of `all`, then ticks those of `ticked`.
  void tick(const std::vector<ControlId>& all, const std::vector<ControlId>& ticked) {
    for (ControlId id : all) window.setState(id, 0);
    for (ControlId id : ticked) window.setState(id, 1);
  }

  void check(ControlId id, bool ticked) { window.setState(id, ticked ? 1 : 0); }

  // The text a batch line carries for `group` with the settings the window shows.
  std::string written(Group group) const { return WriteArguments(group(ReadSettings(window))); }
  std::optional<Refusal> refusal(Group group) const {
    return CheckCommand({"", group(ReadSettings(window))});
  }

  MemoryWindow window;
};

// ---------------------------------------------------------------------------
// Partitions

const std::vector<ControlId> kPartitionBoxes = {cid::a1, cid::a2, cid::a3,
                                                cid::a4, cid::a5, cid::a6};

struct PartitionCase {
  std::vector<ControlId> ticked;
  std::string_view full;
  std::string_view firstPass;
};

TEST_F(AnalysisOptions, PartitionsFollowTheTickedBoxes) {
  const PartitionCase cases[] = {
      {kPartitionBoxes, " --8x8dct -A p8x8,p4x4,b8x8,i8x8,i4x4", " -A p8x8,i4x4"},
      {{cid::a2, cid::a3, cid::a6}, " -A p8x8,b8x8,i4x4", " -A p8x8,i4x4"},
      {{cid::a1, cid::a2, cid::a3, cid::a5, cid::a6},
       " --8x8dct -A p8x8,b8x8,i8x8,i4x4",
       " -A p8x8,i4x4"},
      {{cid::a4}, " -A none", " -A none"},
      {{cid::a5}, " -A none", " -A none"},
      {{cid::a1}, " --8x8dct -A none", " -A none"},
      {{}, " -A none", " -A none"},
      // p4x4 only beside p8x8, i8x8 only with the 8x8 transform.
      {{cid::a2, cid::a4}, " -A p8x8,p4x4", " -A p8x8"},
      {{cid::a3, cid::a4}, " -A b8x8", " -A none"},
      {{cid::a5, cid::a6}, " -A i4x4", " -A i4x4"},
      {{cid::a1, cid::a5}, " --8x8dct -A i8x8", " -A none"},
      {{cid::a3, cid::a4, cid::a5, cid::a6}, " -A b8x8,i4x4", " -A i4x4"},
      // Single names, and the order of the names whatever the boxes.
      {{cid::a2}, " -A p8x8", " -A p8x8"},
      {{cid::a3}, " -A b8x8", " -A none"},
      {{cid::a6}, " -A i4x4", " -A i4x4"},
      {{cid::a6, cid::a2, cid::a4}, " -A p8x8,p4x4,i4x4", " -A p8x8,i4x4"},
      {{cid::a1, cid::a2, cid::a5}, " --8x8dct -A p8x8,i8x8", " -A p8x8"},
  };
  for (const PartitionCase& c : cases) {
    tick(kPartitionBoxes, c.ticked);
    EXPECT_EQ(written(PartitionOptions), c.full) << "expected " << c.full;
    EXPECT_EQ(written(FirstPassPartitionOptions), c.firstPass) << "with " << c.full;
  }
}

// ---------------------------------------------------------------------------
// B-frames

struct BFrameCase {
  std::string_view mb;
  std::string_view direct;  // the dm entry to select
  bool ba, bfoptimal;
  std::string_view bias;
  bool bref, bwb;
  std::string_view expected;
};

TEST_F(AnalysisOptions, BFrameDetailsFollowTheNumberOfBFrames) {
  const BFrameCase cases[] = {
      {"3", "Spatial", true, false, "0", true, true,
       R"( -b 3 --direct "spatial" --b-adapt 1 --b-bias 0 --b-pyramid -w)"},
      // No B-frames, or a count that reads as none: the count alone.
      {"0", "Spatial", true, true, "10", true, true, " -b 0"},
      {"-2", "Auto", true, true, "10", true, true, " -b -2"},
      {"00", "Auto", false, false, "0", false, false, " -b 00"},
      // One B-frame already brings every applicable detail.
      {"1", "Auto", true, true, "-20", true, true,
       R"( -b 1 --direct "auto" --b-adapt 2 --b-bias -20 --b-pyramid -w)"},
      {"1", "Auto", false, false, "0", false, false,
       R"( -b 1 --direct "auto" --b-adapt 0 --b-bias 0)"},
      // The adaptive decision: off wins over the optimal method.
      {"2", "Spatial", false, true, "0", false, false,
       R"( -b 2 --direct "spatial" --b-adapt 0 --b-bias 0)"},
      {"2", "Spatial", true, false, "0", false, false,
       R"( -b 2 --direct "spatial" --b-adapt 1 --b-bias 0)"},
      {"2", "Spatial", true, true, "0", false, false,
       R"( -b 2 --direct "spatial" --b-adapt 2 --b-bias 0)"},
      // Each direct mode lower-cased in quotes.
      {"16", "Temporal", false, false, "5", false, true,
       R"( -b 16 --direct "temporal" --b-adapt 0 --b-bias 5 -w)"},
      {"16", "None", false, false, "5", true, false,
       R"( -b 16 --direct "none" --b-adapt 0 --b-bias 5 --b-pyramid)"},
  };
  for (const BFrameCase& c : cases) {
    window.setText(cid::mb, c.mb);
    window.setText(cid::dm, c.direct);
    ASSERT_EQ(window.text(cid::dm), c.direct) << "the dm list lacks " << c.direct;
    check(cid::ba, c.ba);
    check(cid::bfoptimal, c.bfoptimal);
    window.setText(cid::bias, c.bias);
    check(cid::bref, c.bref);
    check(cid::bwb, c.bwb);
    EXPECT_EQ(written(BFrameOptions), c.expected);
  }
}

// ---------------------------------------------------------------------------
// Motion search

struct MotionSearchCase {
  int index;
  std::string_view range;
  std::string_view full;
  std::string_view fast;
};

TEST_F(AnalysisOptions, MotionSearchMethodAndRange) {
  const MotionSearchCase cases[] = {
      {0, "16", " --me dia --merange 16", " --me dia --merange 16"},
      {1, "16", " --me hex --merange 16", " --me hex --merange 16"},
      {2, "24", " --me umh --merange 24", " --me hex --merange 24"},
      {3, "32", " --me esa --merange 32", " --me hex --merange 32"},
      {4, "64", " --me tesa --merange 64", " --me hex --merange 64"},
      // No method selected is one of the others.
      {kNoEntry, "8", " --me tesa --merange 8", " --me hex --merange 8"},
  };
  for (const MotionSearchCase& c : cases) {
    window.setState(cid::ms, c.index);
    ASSERT_EQ(window.state(cid::ms), c.index);
    window.setText(cid::range, c.range);
    EXPECT_EQ(written(MotionSearchOptions), c.full) << "ms index " << c.index;
    EXPECT_EQ(written(FastMotionSearchOptions), c.fast) << "ms index " << c.index;
  }
}

// ---------------------------------------------------------------------------
// Subpixel refinement

struct SubmeCase {
  int index;
  std::string_view full;
  std::string_view cap6;
  std::string_view cap3;
};

TEST_F(AnalysisOptions, SubpixelLevelInTheThreeVariants) {
  const SubmeCase cases[] = {
      {0, " -m 1", " -m 1", " -m 1"},
      {1, " -m 2", " -m 2", " -m 2"},
      {2, " -m 3", " -m 3", " -m 3"},
      {3, " -m 4", " -m 4", " -m 3"},
      {4, " -m 5", " -m 5", " -m 3"},
      {5, " -m 6", " -m 6", " -m 3"},
      {6, " -m 7", " -m 6", " -m 3"},
      {7, " -m 8", " -m 6", " -m 3"},
      {8, " -m 9", " -m 6", " -m 3"},
      // No entry selected: the level reads as index + 1, below every cap.
      {kNoEntry, " -m 0", " -m 0", " -m 0"},
  };
  for (const SubmeCase& c : cases) {
    window.setState(cid::m, c.index);
    ASSERT_EQ(window.state(cid::m), c.index);
    EXPECT_EQ(written(SubmeOptions), c.full) << "m index " << c.index;
    EXPECT_EQ(written(SubmeCap6Options), c.cap6) << "m index " << c.index;
    EXPECT_EQ(written(SubmeCap3Options), c.cap3) << "m index " << c.index;
  }
}

// ---------------------------------------------------------------------------
// References and chroma motion estimation

TEST_F(AnalysisOptions, ReferencesWriteTheFieldAsTyped) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"1", " -r 1"},
      {"16", " -r 16"},
  };
  for (const auto& [ref, expected] : cases) {
    window.setText(cid::ref, ref);
    EXPECT_EQ(written(ReferenceOptions), expected);
  }
}

TEST_F(AnalysisOptions, ChromaMotionEstimationIsSwitchedOffOnlyWhenUnticked) {
  check(cid::chromame, false);
  EXPECT_EQ(written(ChromaMeOption), " --no-chroma-me");
  check(cid::chromame, true);
  EXPECT_EQ(written(ChromaMeOption), "");
}

// ---------------------------------------------------------------------------
// Entropy coding and trellis

struct EntropyCase {
  bool cabac;
  int trellis;  // index of the tre entry
  std::string_view full;
  std::string_view cabacOnly;
};

TEST_F(AnalysisOptions, EntropyCodingAndTrellis) {
  const EntropyCase cases[] = {
      // Without CABAC there is no trellis.
      {false, 0, " --no-cabac", " --no-cabac"},
      {false, 1, " --no-cabac", " --no-cabac"},
      {false, 2, " --no-cabac", " --no-cabac"},
      {false, kNoEntry, " --no-cabac", " --no-cabac"},
      {true, 0, "", ""},
      {true, 1, " -t 1", ""},
      {true, 2, " -t 2", ""},
  };
  for (const EntropyCase& c : cases) {
    check(cid::cab, c.cabac);
    window.setState(cid::tre, c.trellis);
    ASSERT_EQ(window.state(cid::tre), c.trellis);
    EXPECT_EQ(written(EntropyOptions), c.full) << "cab " << c.cabac << ", tre " << c.trellis;
    EXPECT_EQ(written(CabacOnlyOption), c.cabacOnly) << "cab " << c.cabac << ", tre " << c.trellis;
  }
}

// ---------------------------------------------------------------------------
// Macroblock switches

struct MacroblockCase {
  bool fastpsk, dctd, apin, mxref;
  std::string_view ref;
  std::string_view expected;
};

TEST_F(AnalysisOptions, MacroblockSwitchesInTheirOrder) {
  const MacroblockCase cases[] = {
      // Several references, then a single one.
      {true, false, false, true, "3", " --no-dct-decimate --mixed-refs"},
      {true, false, false, true, "1", " --no-dct-decimate"},
      // A reference count that reads as none keeps mixed references out.
      {true, false, false, true, "many", " --no-dct-decimate"},
      {true, false, false, true, "", " --no-dct-decimate"},
      {true, true, false, true, "0", ""},
      {true, true, false, true, "2", " --mixed-refs"},
      {true, true, false, true, "2.5", " --mixed-refs"},
      {true, true, false, false, "16", ""},
      // Each piece alone, then all of them.
      {false, true, false, false, "1", " --no-fast-pskip"},
      {true, true, true, false, "1", " --thread-input"},
      {false, false, true, true, "16",
       " --no-fast-pskip --no-dct-decimate --thread-input --mixed-refs"},
      {false, false, false, false, "16", " --no-fast-pskip --no-dct-decimate"},
  };
  for (const MacroblockCase& c : cases) {
    check(cid::fastpsk, c.fastpsk);
    check(cid::dctd, c.dctd);
    check(cid::apin, c.apin);
    check(cid::mxref, c.mxref);
    window.setText(cid::ref, c.ref);
    EXPECT_EQ(written(MacroblockSwitches), c.expected) << "ref \"" << c.ref << "\"";
  }
}

// ---------------------------------------------------------------------------
// Malformed fields

TEST_F(AnalysisOptions, MalformedFieldsAreRefusedByName) {
  const std::pair<ControlId, std::string_view> valid[] = {
      {cid::mb, "3"},     {cid::dm, "Spatial"}, {cid::bias, "0"},
      {cid::range, "16"}, {cid::ref, "3"},      {cid::tre, "1"},
  };
  const struct {
    Group group;
    ControlId field;
    std::string_view typed;  // in a list: the entry to select; "" selects none
  } cases[] = {
      {BFrameOptions, cid::mb, ""},          {BFrameOptions, cid::mb, "abc"},
      {BFrameOptions, cid::mb, "2x"},        {BFrameOptions, cid::mb, " 4"},
      {BFrameOptions, cid::bias, ""},        {BFrameOptions, cid::dm, ""},
      {MotionSearchOptions, cid::range, ""}, {FastMotionSearchOptions, cid::range, "4 "},
      {ReferenceOptions, cid::ref, ""},      {ReferenceOptions, cid::ref, "x3"},
      {EntropyOptions, cid::tre, ""},
  };
  check(cid::cab, true);
  for (const auto& c : cases) {
    for (const auto& [id, text] : valid) window.setText(id, text);
    ASSERT_FALSE(refusal(c.group)) << "field " << c.field;
    window.setText(c.field, c.typed);
    const std::optional<Refusal> refused = refusal(c.group);
    ASSERT_TRUE(refused) << "field " << c.field << " \"" << c.typed << "\" was written";
    EXPECT_EQ(refused->field, c.field) << "\"" << c.typed << "\"";
    EXPECT_EQ(refused->text, c.typed) << "field " << c.field;
  }
}

}  // namespace
