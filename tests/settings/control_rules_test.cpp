#include "settings/control_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "settings/started_app.h"
#include "support/memory_window.h"
#include "ui/control_id.h"

namespace {

using namespace cid;

// How a text gets into a field: typed by the user (a digits field drops
// everything but 0-9, `bias` stops at three characters), or standing there
// already (pasted, or put there by a load) when the event comes.
enum class Entry { Typed, Standing };

void Enter(StartedApp& s, ControlId id, std::string_view text, Entry how, EventKind event) {
  if (how == Entry::Typed)
    s.window.type(id, text);
  else
    s.window.setText(id, text);
  s.app.onEvent(id, event);
}

// Sets the controls to the opposite of what a rule is expected to make of
// them, so that every expectation can fail.
void SetEnabledOpposite(MemoryWindow& window, std::initializer_list<ControlId> ids,
                        const std::vector<bool>& expected) {
  size_t i = 0;
  for (ControlId id : ids) window.setEnabled(id, !expected[i++]);
}

// ---------------------------------------------------------------------------
// Rule 1: the value labels of the track bars.

struct TrackCase {
  ControlId track;
  int position;
  ControlId label;
  std::string_view shown;
};

TEST(TrackValueLabels, ShowThePositionMinusTheMiddleOfTheRange) {
  const TrackCase cases[] = {
      {deb_a, 0, fa, "-6"},       {deb_a, 12, fa, "6"},       {deb_a, 6, fa, "0"},
      {deb_a, 1, fa, "-5"},       {deb_b, 0, fb, "-6"},       {deb_b, 12, fb, "6"},
      {deb_b, 9, fb, "3"},        {biasbar, 0, bias, "-100"}, {biasbar, 200, bias, "100"},
      {biasbar, 70, bias, "-30"}, {biasbar, 100, bias, "0"},  {biasbar, 101, bias, "1"},
  };
  for (EventKind event : {EventKind::Scrolled, EventKind::Clicked, EventKind::FocusLost}) {
    for (const TrackCase& c : cases) {
      SCOPED_TRACE(testing::Message() << "track " << c.track << " at " << c.position << ", event "
                                      << static_cast<int>(event));
      StartedApp s;
      s.window.setText(c.label, "x");
      s.window.setState(c.track, c.position);
      s.app.onEvent(c.track, event);
      EXPECT_EQ(s.window.text(c.label), c.shown);
    }
  }
}

struct BiasCase {
  std::string_view text;
  Entry how;
  EventKind event;
  int biasbar;  // position afterwards; it starts at 40
};

TEST(BiasField, SetsTheTrackBarWhenItLosesTheFocus) {
  const BiasCase cases[] = {
      {"-30", Entry::Typed, EventKind::FocusLost, 70},
      {"50", Entry::Typed, EventKind::FocusLost, 150},
      {"0", Entry::Typed, EventKind::FocusLost, 100},
      {"-99", Entry::Typed, EventKind::FocusLost, 1},
      {"abc", Entry::Typed, EventKind::FocusLost, 100},
      // Beyond -100..100 the track bar stops at its end.
      {"999", Entry::Typed, EventKind::FocusLost, 200},
      {"101", Entry::Typed, EventKind::FocusLost, 200},
      {"-250", Entry::Standing, EventKind::FocusLost, 0},
      {"-9223372036854775807", Entry::Standing, EventKind::FocusLost, 0},
      {"9223372036854775807", Entry::Standing, EventKind::FocusLost, 200},
      // Typing alone does not move it.
      {"-30", Entry::Typed, EventKind::TextChanged, 40},
  };
  for (const BiasCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "bias " << c.text << ", event " << static_cast<int>(c.event));
    StartedApp s;
    s.window.setState(biasbar, 40);
    Enter(s, bias, c.text, c.how, c.event);
    EXPECT_EQ(s.window.state(biasbar), c.biasbar);
  }
}

// ---------------------------------------------------------------------------
// Rule 2: range clamps while the user edits.

struct ClampCase {
  ControlId field;
  std::string_view text;
  Entry how;
  std::string_view after;
};

TEST(RangeClamps, ReplaceAValueBeyondABoundByTheBoundsText) {
  const ClampCase cases[] = {
      {kfb, "-1", Entry::Standing, "0"},
      {kfb, "0", Entry::Typed, "0"},
      {kfb, "900", Entry::Typed, "900"},
      {kfb, "901", Entry::Typed, "900"},
      {kfb, "abc", Entry::Standing, "abc"},  // reads as 0, within range
      {bfr, "-5", Entry::Standing, "0"},
      {bfr, "900", Entry::Typed, "900"},
      {bfr, "901", Entry::Typed, "900"},
      {vbr, "0", Entry::Typed, "0"},
      {vbr, "100", Entry::Typed, "100"},
      {vbr, "101", Entry::Typed, "100"},
      {vbr, "-1", Entry::Standing, "0"},
      {minqp, "0", Entry::Typed, "1"},
      {minqp, "1", Entry::Typed, "1"},
      {minqp, "51", Entry::Typed, "51"},
      {minqp, "52", Entry::Typed, "51"},
      {minqp, "abc", Entry::Standing, "1"},
      {maxqp, "0", Entry::Typed, "1"},
      {maxqp, "51", Entry::Typed, "51"},
      {maxqp, "52", Entry::Typed, "51"},
      {qps, "0", Entry::Typed, "1"},
      {qps, "1", Entry::Typed, "1"},
      {qps, "50", Entry::Typed, "50"},
      {qps, "51", Entry::Typed, "50"},
      {ref, "0", Entry::Typed, "0"},
      {ref, "16", Entry::Typed, "16"},
      {ref, "17", Entry::Typed, "16"},
      {ref, "-1", Entry::Standing, "0"},
      {thr, "-1", Entry::Typed, "0"},
      {thr, "0", Entry::Typed, "0"},
      {thr, "4", Entry::Typed, "4"},
      {thr, "5", Entry::Typed, "4"},
      {range, "0", Entry::Typed, "0"},
      {range, "64", Entry::Typed, "64"},
      {range, "65", Entry::Typed, "64"},
      {range, "-2", Entry::Standing, "0"},
      {sct, "0", Entry::Typed, "0"},
      {sct, "100", Entry::Typed, "100"},
      {sct, "101", Entry::Typed, "100"},
      {sct, "-1", Entry::Standing, "0"},
      {vbs, "240000", Entry::Typed, "240000"},
      {vbs, "240001", Entry::Typed, "240000"},
      {vbs, "0", Entry::Typed, "0"},
      {vbs, "-1", Entry::Typed, "0"},
      {vmb, "999999", Entry::Typed, "999999"},
      {vmb, "0", Entry::Typed, "0"},
      {vmb, "-1", Entry::Typed, "0"},
      {bv, "5", Entry::Typed, "5"},  // editing allows down to 0
      {bv, "0", Entry::Typed, "0"},
      {bv, "1000", Entry::Typed, "1000"},
      {bv, "1001", Entry::Typed, "1000"},
      {bv, "-3", Entry::Standing, "0"},
      {vib, "1.5", Entry::Typed, "1"},
      {vib, "1.0001", Entry::Typed, "1"},
      {vib, "1", Entry::Typed, "1"},
      {vib, "0.9", Entry::Typed, "0.9"},
      {vib, "0", Entry::Typed, "0"},
      {vib, "-0.01", Entry::Typed, "0"},
      {vib, "-0.000001", Entry::Typed, "0"},
      {aq1, "2", Entry::Typed, "1.5"},
      {aq1, "1.5", Entry::Typed, "1.5"},
      {aq1, "1.51", Entry::Typed, "1.5"},
      {aq1, "0.5", Entry::Typed, "0.5"},
      {aq1, "0.4", Entry::Typed, "0.5"},
      {aq1, "-7", Entry::Typed, "0.5"},
      {aq1, "abc", Entry::Typed, "0.5"},
      {aq1, "1.2x", Entry::Typed, "1.2x"},  // reads as 1.2, within range
      {mb, "0", Entry::Typed, "0"},
      {mb, "16", Entry::Typed, "16"},
      {mb, "17", Entry::Typed, "16"},
      {mb, "20", Entry::Typed, "16"},
      {mb, "-4", Entry::Standing, "0"},
  };
  for (EventKind event : {EventKind::TextChanged, EventKind::FocusLost}) {
    for (const ClampCase& c : cases) {
      SCOPED_TRACE(testing::Message() << "field " << c.field << " given " << c.text << ", event "
                                      << static_cast<int>(event));
      StartedApp s;
      Enter(s, c.field, c.text, c.how, event);
      EXPECT_EQ(s.window.text(c.field), c.after);
    }
  }
}

TEST(RangeClamps, TypingIsClampedKeyByKey) {
  StartedApp s;
  s.keys(vbs, "2400005");
  EXPECT_EQ(s.window.text(vbs), "240000") << "the seventh key makes 2400005";
  s.keys(maxqp, "529");
  EXPECT_EQ(s.window.text(maxqp), "51") << "52 becomes 51 at once, the next key makes 519";
}

// ---------------------------------------------------------------------------
// mb and ref: the controls that follow them.

struct BFrameCase {
  std::string_view text;
  Entry how;
  std::string_view after;
  // a3, dm, biasbar, bias, bref, ba, bwb
  std::vector<bool> enabled;
};

TEST(BFrameControls, FollowTheNumberOfBFrames) {
  const BFrameCase cases[] = {
      {"0", Entry::Typed, "0", {false, false, false, false, false, false, false}},
      {"1", Entry::Typed, "1", {true, true, true, true, false, true, false}},
      {"2", Entry::Typed, "2", {true, true, true, true, true, true, true}},
      {"16", Entry::Typed, "16", {true, true, true, true, true, true, true}},
      {"20", Entry::Typed, "16", {true, true, true, true, true, true, true}},
      {"abc", Entry::Standing, "abc", {false, false, false, false, false, false, false}},
      {"-1", Entry::Standing, "0", {false, false, false, false, false, false, false}},
  };
  for (const BFrameCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mb " << c.text);
    StartedApp s;
    SetEnabledOpposite(s.window, {a3, dm, biasbar, bias, bref, ba, bwb}, c.enabled);
    const int brefState = s.window.state(bref);
    Enter(s, mb, c.text, c.how, EventKind::TextChanged);
    EXPECT_EQ(s.window.text(mb), c.after);
    const ControlId seven[] = {a3, dm, biasbar, bias, bref, ba, bwb};
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(s.window.enabled(seven[i]), c.enabled[i]) << seven[i];
    EXPECT_EQ(s.window.state(bref), brefState) << "disabling leaves the check state";
  }
}

struct RefCase {
  std::string_view text;
  Entry how;
  std::string_view after;
  bool mxrefEnabled;
};

TEST(ReferenceFrames, MixedRefsNeedMoreThanOneReference) {
  const RefCase cases[] = {
      {"1", Entry::Typed, "1", false},     {"2", Entry::Typed, "2", true},
      {"0", Entry::Typed, "0", false},     {"16", Entry::Typed, "16", true},
      {"40", Entry::Typed, "16", true},    {"17", Entry::Typed, "16", true},
      {"-5", Entry::Standing, "0", false}, {"abc", Entry::Standing, "abc", false},
  };
  for (EventKind event : {EventKind::TextChanged, EventKind::FocusLost}) {
    for (const RefCase& c : cases) {
      SCOPED_TRACE(testing::Message() << "ref " << c.text << ", event " << static_cast<int>(event));
      StartedApp s;
      s.window.setEnabled(mxref, !c.mxrefEnabled);
      Enter(s, ref, c.text, c.how, event);
      EXPECT_EQ(s.window.text(ref), c.after);
      EXPECT_EQ(s.window.enabled(mxref), c.mxrefEnabled);
    }
  }
}

// ---------------------------------------------------------------------------
// Rule 3: the controls that follow the encode mode and the size mode.

struct ModeCase {
  int mode;
  bool sizemode;
  std::string_view valueLabel;
  std::string_view rangeLabel;
  bool limitsEnabled;  // vbr, minqp, maxqp, qps, vbs, vmb, vib
  bool bvEnabled;
  bool sizemodeVisible;
  bool statsEnabled;  // upstat, statsfile and its "..." button
  bool firstPassCrf;  // auto1pcrf and its label shown
  bool sizeWindow;    // minsize, maxsize and their labels shown instead of the banner
};

constexpr std::string_view kQuantizer = "Quantizer";
constexpr std::string_view kBitrate = "Average Bitrate";
constexpr std::string_view kSize = "Size in MB";
constexpr std::string_view kQ51 = "Range 0~51";
constexpr std::string_view kB8000 = "Range 0~8000";

TEST(ModeControls, FollowTheEncodeModeAndSizeMode) {
  const ModeCase cases[] = {
      // mode, size, value label, range label, limits, bv, size shown, stats, 1p-crf, size window
      {0, false, kBitrate, kB8000, true, true, true, false, false, false},
      {1, false, kQuantizer, kQ51, false, false, false, false, false, false},
      {2, false, kQuantizer, kQ51, true, false, false, false, false, false},
      {3, false, kBitrate, kB8000, true, true, true, true, false, false},
      {4, false, kBitrate, kB8000, true, true, true, true, false, false},
      {5, false, kBitrate, kB8000, true, true, true, true, false, false},
      {6, false, kBitrate, kB8000, true, true, true, true, false, false},
      {7, false, kBitrate, kB8000, true, true, true, true, false, false},
      {8, false, kQuantizer, kQ51, true, false, false, true, false, false},
      {9, false, kQuantizer, kQ51, true, false, false, true, false, false},
      {10, false, kBitrate, kB8000, true, true, true, true, true, false},
      {11, false, kBitrate, kB8000, true, true, true, true, true, false},
      {12, false, kQuantizer, kQ51, true, false, false, true, false, false},
      {13, false, kBitrate, kB8000, true, true, true, true, true, true},
      {0, true, kSize, "", true, true, true, false, false, false},
      {1, true, kQuantizer, kQ51, false, false, false, false, false, false},
      {2, true, kQuantizer, kQ51, true, false, false, false, false, false},
      {6, true, kSize, "", true, true, true, true, false, false},
      {9, true, kQuantizer, kQ51, true, false, false, true, false, false},
      {11, true, kSize, "", true, true, true, true, true, false},
      {13, true, kSize, "", true, true, true, true, true, true},
  };
  const ControlId limits[] = {vbr, minqp, maxqp, qps, vbs, vmb, vib};
  const ControlId stats[] = {upstat, statsfile, statsfileBrowse};
  const ControlId sizeFields[] = {minsize, maxsize, minsizeLabel, maxsizeLabel};
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", sizemode " << c.sizemode);
    StartedApp s;
    // Everything the rule sets starts out the other way.
    s.window.setText(valueLabel, "x");
    s.window.setText(rangeLabel, "x");
    for (ControlId id : limits) s.window.setEnabled(id, !c.limitsEnabled);
    s.window.setEnabled(bv, !c.bvEnabled);
    s.window.setVisible(sizemode, !c.sizemodeVisible);
    for (ControlId id : stats) s.window.setEnabled(id, !c.statsEnabled);
    s.window.setVisible(auto1pcrf, !c.firstPassCrf);
    s.window.setVisible(auto1pcrfLabel, !c.firstPassCrf);
    s.window.setVisible(banner, c.sizeWindow);
    for (ControlId id : sizeFields) s.window.setVisible(id, !c.sizeWindow);
    s.window.setState(sizemode, c.sizemode ? 1 : 0);

    s.choose(mode, c.mode);

    EXPECT_EQ(s.window.text(valueLabel), c.valueLabel);
    EXPECT_EQ(s.window.text(rangeLabel), c.rangeLabel);
    for (ControlId id : limits) EXPECT_EQ(s.window.enabled(id), c.limitsEnabled) << id;
    EXPECT_EQ(s.window.enabled(bv), c.bvEnabled);
    EXPECT_EQ(s.window.visible(sizemode), c.sizemodeVisible);
    EXPECT_EQ(s.window.state(sizemode), c.sizemode ? 1 : 0) << "hiding keeps the check";
    for (ControlId id : stats) EXPECT_EQ(s.window.enabled(id), c.statsEnabled) << id;
    EXPECT_EQ(s.window.visible(auto1pcrf), c.firstPassCrf);
    EXPECT_EQ(s.window.visible(auto1pcrfLabel), c.firstPassCrf);
    EXPECT_EQ(s.window.visible(banner), !c.sizeWindow);
    for (ControlId id : sizeFields) EXPECT_EQ(s.window.visible(id), c.sizeWindow) << id;
  }
}

TEST(ModeControls, SizeModeClickReappliesTheModeRules) {
  StartedApp s;
  s.choose(mode, 0);
  s.tick(sizemode, true);
  EXPECT_EQ(s.window.text(valueLabel), "Size in MB");
  EXPECT_EQ(s.window.text(rangeLabel), "");
  s.type(value, "9000");
  EXPECT_EQ(s.window.text(value), "9000") << "a size has no upper bound";
  s.tick(sizemode, false);
  EXPECT_EQ(s.window.text(valueLabel), "Average Bitrate");
  EXPECT_EQ(s.window.text(rangeLabel), "Range 0~8000");
  EXPECT_EQ(s.window.text(value), "8000") << "clamped at the end of the mode rules";
}

TEST(ModeControls, ConditionalDoublePassSwapsTheBannerForTheSizeFieldsAndBack) {
  StartedApp s;
  const ControlId sizeFields[] = {minsize, maxsize, minsizeLabel, maxsizeLabel};
  s.choose(mode, 13);
  EXPECT_FALSE(s.window.visible(banner));
  for (ControlId id : sizeFields) EXPECT_TRUE(s.window.visible(id)) << id;
  s.choose(mode, 6);
  EXPECT_TRUE(s.window.visible(banner));
  for (ControlId id : sizeFields) EXPECT_FALSE(s.window.visible(id)) << id;
}

struct ModeSwitchCase {
  int from;
  bool sizemode;
  std::string_view value;  // standing in the field before the switch
  int to;
  std::string_view after;
};

TEST(ValueClamp, FollowsTheRangeOfTheChosenMode) {
  const ModeSwitchCase cases[] = {
      {0, false, "1000", 1, "51"},       {0, false, "1000", 8, "51"},
      {0, false, "1000", 2, "51"},       {0, false, "1000", 12, "51"},
      {0, false, "51", 1, "51"},         {0, false, "52", 9, "51"},
      {1, false, "9000", 0, "8000"},     {1, false, "8000", 6, "8000"},
      {1, false, "8001", 13, "8000"},    {1, true, "9000", 0, "9000"},
      {1, true, "123456", 13, "123456"}, {0, true, "9000", 1, "51"},
      {0, false, "-3", 2, "0"},          {1, false, "-3", 5, "0"},
      {1, true, "-3", 5, "-3"},          {0, false, "abc", 1, "abc"},
  };
  for (const ModeSwitchCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.from << " -> " << c.to << ", value " << c.value
                                    << ", sizemode " << c.sizemode);
    StartedApp s;
    s.window.setState(sizemode, c.sizemode ? 1 : 0);
    s.choose(mode, c.from);
    s.window.setText(value, c.value);
    s.choose(mode, c.to);
    EXPECT_EQ(s.window.text(value), c.after);
  }
}

TEST(ValueClamp, SwitchingToFirstPassCrfAlsoEnablesTheStatisticsControls) {
  StartedApp s;
  s.choose(mode, 0);
  s.type(value, "1000");
  EXPECT_FALSE(s.window.enabled(statsfile));
  s.choose(mode, 8);
  EXPECT_EQ(s.window.text(valueLabel), "Quantizer");
  EXPECT_EQ(s.window.text(rangeLabel), "Range 0~51");
  EXPECT_EQ(s.window.text(value), "51");
  for (ControlId id : {upstat, statsfile, statsfileBrowse}) EXPECT_TRUE(s.window.enabled(id)) << id;
}

struct TypingValueCase {
  int mode;
  bool sizemode;
  std::string_view keys;
  std::string_view after;
};

TEST(ValueClamp, TakesEffectWhileTyping) {
  const TypingValueCase cases[] = {
      {1, false, "100", "51"},  // the third key makes 100
      {1, false, "51", "51"},      {1, false, "50", "50"},         {2, false, "-5", "0"},
      {12, false, "abc", "abc"},   {0, false, "9000", "8000"},     {0, false, "8000", "8000"},
      {6, false, "80001", "8000"},  // 80001 never stands: 8000 then 80001 gives 8000
      {0, true, "9000", "9000"},   {13, true, "250000", "250000"},
  };
  for (const TypingValueCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", keys " << c.keys);
    StartedApp s;
    s.window.setState(sizemode, c.sizemode ? 1 : 0);
    s.choose(mode, c.mode);
    s.keys(value, c.keys);
    EXPECT_EQ(s.window.text(value), c.after);
  }
}

TEST(ValueClamp, OtherEventsOfTheValueFieldLeaveItAlone) {
  StartedApp s;
  s.choose(mode, 1);
  s.window.setText(value, "70");
  s.app.onEvent(value, EventKind::FocusLost);
  EXPECT_EQ(s.window.text(value), "70");
  s.app.onEvent(value, EventKind::TextChanged);
  EXPECT_EQ(s.window.text(value), "51");
}

// ---------------------------------------------------------------------------
// Rule 4: enabling rules.

struct EnablingCase {
  ControlId source;
  bool isList;  // a list: "on" is index 1, "off" index 0
  std::vector<ControlId> targets;
};

TEST(EnablingRules, EnableTheDependentControlsWhileTheSourceIsOn) {
  const EnablingCase cases[] = {
      {a1, false, {a5}},
      {a2, false, {a4}},
      {cab, false, {tre}},
      {aud, false, {aub}},
      {aq, true, {aq1}},
      {ba, false, {bfoptimal}},
      {crelog, false, {logfile, logfileBrowse}},
  };
  for (const EnablingCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "source " << c.source);
    StartedApp s;
    const auto turn = [&](bool on) {
      if (c.isList)
        s.choose(c.source, on ? 1 : 0);
      else
        s.tick(c.source, on);
    };
    // Give every target a state and a text that disabling must not touch.
    for (ControlId id : c.targets) {
      s.window.setText(id, "kept");
      s.window.setState(id, 1);
    }
    std::vector<int> states;
    std::vector<std::string> texts;
    for (ControlId id : c.targets) {
      states.push_back(s.window.state(id));
      texts.push_back(s.window.text(id));
    }

    for (ControlId id : c.targets) s.window.setEnabled(id, false);
    turn(true);
    for (ControlId id : c.targets) EXPECT_TRUE(s.window.enabled(id)) << id;
    turn(false);
    for (size_t i = 0; i < c.targets.size(); ++i) {
      EXPECT_FALSE(s.window.enabled(c.targets[i])) << c.targets[i];
      EXPECT_EQ(s.window.state(c.targets[i]), states[i]) << c.targets[i];
      EXPECT_EQ(s.window.text(c.targets[i]), texts[i]) << c.targets[i];
    }
    turn(true);
    for (ControlId id : c.targets) EXPECT_TRUE(s.window.enabled(id)) << id;
  }
}

// ---------------------------------------------------------------------------
// SelectAvsincItem

struct AvsincCase {
  std::vector<std::string_view> items;
  int selectedBefore;
  std::string_view name;
  int selectedAfter;
};

TEST(SelectAvsincItem, SelectsTheLastEntryEqualToTheName) {
  const std::vector<std::string_view> items = {"Plain", "Deint", "Plain", "plain2", "Crop"};
  const AvsincCase cases[] = {
      {items, -1, "Deint", 1},  {items, 4, "Plain", 2},  // two equal entries: the last
      {items, 1, "Crop", 4},    {items, 1, "plain", 1},  // case matters: no entry, selection stays
      {items, -1, "plain", -1}, {items, 3, "Nothing", 3},
      {items, 4, "", 4},                                // an empty name does nothing
      {items, -1, "", -1},      {items, 0, "Plai", 0},  // whole text only
      {items, 0, "Plain ", 0},  {{}, -1, "Plain", -1},
  };
  for (const AvsincCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "name \"" << c.name << "\", selected " << c.selectedBefore);
    MemoryWindow window;
    for (std::string_view item : c.items) window.addItem(avsinc, item);
    window.setState(avsinc, c.selectedBefore);
    SelectAvsincItem(window, c.name);
    EXPECT_EQ(window.state(avsinc), c.selectedAfter);
    EXPECT_EQ(window.itemCount(avsinc), static_cast<int>(c.items.size()));
  }
}

}  // namespace
