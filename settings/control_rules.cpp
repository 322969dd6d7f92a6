#include "settings/control_rules.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "core/text_number.h"
#include "settings/fixed_lists.h"
#include "ui/control_id.h"

namespace {

constexpr std::string_view kQuantizerRange = "Range 0~51";
constexpr std::string_view kBitrateRange = "Range 0~8000";

const SettingSpec* SettingOf(ControlId id) {
  for (const SettingSpec& setting : SettingsCatalogue())
    if (setting.id == id) return &setting;
  return nullptr;
}

// The fields that are clamped while the user edits them. Their bounds are
// those checked after a load, except that `bv` may go down to 0 here.
bool ClampedWhileEdited(ControlId id) {
  using namespace cid;
  for (ControlId field :
       {kfb, bfr, vbr, minqp, maxqp, qps, mb, ref, thr, range, sct, vbs, vmb, bv, vib, aq1})
    if (field == id) return true;
  return false;
}

}  // namespace

void ShowTrackValue(Window& window, ControlId track) {
  if (track == cid::deb_a)
    window.setText(cid::fa, IntegerText(window.state(cid::deb_a) - 6));
  else if (track == cid::deb_b)
    window.setText(cid::fb, IntegerText(window.state(cid::deb_b) - 6));
  else if (track == cid::biasbar)
    window.setText(cid::bias, IntegerText(window.state(cid::biasbar) - 100));
}

void MoveBiasBarToField(Window& window) {
  // Limited before the 100 is added, so that no value can overflow.
  const std::int64_t bias = std::clamp<std::int64_t>(TextToInt(window.text(cid::bias)), -100, 100);
  window.setState(cid::biasbar, static_cast<int>(bias + 100));
}

void ApplyClamp(Window& window, ControlId field, const Clamp& clamp) {
  const std::string text = window.text(field);
  bool above = false;
  bool below = false;
  if (clamp.kind == ClampKind::Integer) {
    const std::int64_t v = TextToInt(text);
    above = clamp.hasMax && v > static_cast<std::int64_t>(clamp.max);
    below = clamp.hasMin && v < static_cast<std::int64_t>(clamp.min);
  } else if (clamp.kind == ClampKind::Decimal) {
    const double v = TextToFloat(text);
    above = clamp.hasMax && v > clamp.max;
    below = clamp.hasMin && v < clamp.min;
  }
  if (above)
    window.setText(field, clamp.maxText);
  else if (below)
    window.setText(field, clamp.minText);
}

void ClampField(Window& window, ControlId field) {
  const SettingSpec* setting = SettingOf(field);
  if (!setting || !ClampedWhileEdited(field)) return;
  Clamp clamp = setting->clamp;
  if (field == cid::bv) {
    clamp.min = 0;
    clamp.minText = "0";
  }
  ApplyClamp(window, field, clamp);
}

void ClampValue(Window& window) {
  const std::string range = window.text(cid::rangeLabel);
  if (range == kQuantizerRange)
    ApplyClamp(window, cid::value, {ClampKind::Integer, true, 0, "0", true, 51, "51"});
  else if (range == kBitrateRange)
    ApplyClamp(window, cid::value, {ClampKind::Integer, true, 0, "0", true, 8000, "8000"});
}

namespace {

// When the source of an enabling rule enables its targets.
enum class Enables {
  WhenTicked,       // a check box
  WhenNotFirst,     // a list past its first entry
  WhenMoreThanOne,  // a field holding a number above 1
  WhenLimited,      // an encode mode whose rate the quantizer limits shape
  WhenBitrate,      // an encode mode of the bitrate class
  WhenMultiPass,    // an encode mode with a statistics file
  WhenBFrames,      // at least one B-frame
  WhenTwoBFrames,   // at least two B-frames
};

struct EnablingRule {
  ControlId source;
  Enables when;
  ControlId targets[7];
};

constexpr EnablingRule kEnablingRules[] = {
    {cid::a1, Enables::WhenTicked, {cid::a5}},
    {cid::a2, Enables::WhenTicked, {cid::a4}},
    {cid::cab, Enables::WhenTicked, {cid::tre}},
    {cid::aud, Enables::WhenTicked, {cid::aub}},
    {cid::aq, Enables::WhenNotFirst, {cid::aq1}},
    {cid::ba, Enables::WhenTicked, {cid::bfoptimal}},
    {cid::ref, Enables::WhenMoreThanOne, {cid::mxref}},
    {cid::crelog, Enables::WhenTicked, {cid::logfile, cid::logfileBrowse}},
    {cid::mb, Enables::WhenBFrames, {cid::a3, cid::dm, cid::biasbar, cid::bias, cid::ba}},
    {cid::mb, Enables::WhenTwoBFrames, {cid::bref, cid::bwb}},
    {cid::mode,
     Enables::WhenLimited,
     {cid::vbr, cid::minqp, cid::maxqp, cid::qps, cid::vbs, cid::vmb, cid::vib}},
    {cid::mode, Enables::WhenBitrate, {cid::bv}},
    {cid::mode, Enables::WhenMultiPass, {cid::upstat, cid::statsfile, cid::statsfileBrowse}},
};

bool IsRuleSource(ControlId id) {
  for (const EnablingRule& rule : kEnablingRules)
    if (rule.source == id) return true;
  return false;
}

bool Enabled(const Window& window, ControlId source, Enables when) {
  const auto mode = static_cast<EncodeMode>(window.state(cid::mode));
  switch (when) {
    case Enables::WhenTicked:
      return window.state(source) == 1;
    case Enables::WhenNotFirst:
      return window.state(source) != 0;
    case Enables::WhenMoreThanOne:
      return TextToInt(window.text(source)) > 1;
    case Enables::WhenLimited:
      return mode != EncodeMode::SinglePassQuantizer;
    case Enables::WhenBitrate:
      return !IsQuantizerClass(mode);
    case Enables::WhenMultiPass:
      return IsMultiPass(mode);
    case Enables::WhenBFrames:
      return TextToInt(window.text(source)) != 0;
    case Enables::WhenTwoBFrames:
      return TextToInt(window.text(source)) > 1;
  }
  return true;
}

}  // namespace

void ApplyEnablingRule(Window& window, ControlId source) {
  for (const EnablingRule& rule : kEnablingRules) {
    if (rule.source != source) continue;
    const bool on = Enabled(window, source, rule.when);
    for (ControlId target : rule.targets)
      if (target != cid::none) window.setEnabled(target, on);
  }
}

ControlId EnablingControl(ControlId field) {
  for (const EnablingRule& rule : kEnablingRules)
    for (ControlId target : rule.targets)
      if (target == field && target != cid::none) return rule.source;
  return cid::none;
}

void UpdateModeControls(Window& window) {
  using namespace cid;
  const auto mode = static_cast<EncodeMode>(window.state(cid::mode));
  if (IsQuantizerClass(mode)) {
    window.setText(valueLabel, "Quantizer");
    window.setText(rangeLabel, kQuantizerRange);
    window.setVisible(sizemode, false);
  } else {
    const bool size = window.state(sizemode) == 1;
    window.setText(valueLabel, size ? "Size in MB" : "Average Bitrate");
    window.setText(rangeLabel, size ? std::string_view() : kBitrateRange);
    window.setVisible(sizemode, true);
  }
  ApplyEnablingRule(window, cid::mode);

  const bool firstPassCrf = HasFirstPassCrf(mode);
  window.setVisible(auto1pcrf, firstPassCrf);
  window.setVisible(auto1pcrfLabel, firstPassCrf);

  const bool sizeWindow = mode == EncodeMode::ConditionalDouble;
  window.setVisible(banner, !sizeWindow);
  for (ControlId id : {minsize, maxsize, minsizeLabel, maxsizeLabel})
    window.setVisible(id, sizeWindow);

  ClampValue(window);
}

void UpdateBFrameControls(Window& window) {
  ApplyClamp(window, cid::mb, SettingOf(cid::mb)->clamp);
  ApplyEnablingRule(window, cid::mb);
}

void ApplyEveryRule(Window& window) {
  ShowTrackValue(window, cid::deb_a);
  ShowTrackValue(window, cid::deb_b);
  UpdateModeControls(window);
  UpdateBFrameControls(window);
  // The other rules, each once: no two rules enable the same control.
  for (size_t i = 0; i < std::size(kEnablingRules); ++i) {
    const ControlId source = kEnablingRules[i].source;
    const bool first = i == 0 || kEnablingRules[i - 1].source != source;
    if (first && source != cid::mode && source != cid::mb) ApplyEnablingRule(window, source);
  }
}

bool ApplyControlRule(Window& window, ControlId id, EventKind kind) {
  using namespace cid;
  if (id == deb_a || id == deb_b || id == biasbar) {
    ShowTrackValue(window, id);
  } else if (id == bias) {
    if (kind == EventKind::FocusLost) MoveBiasBarToField(window);
  } else if (id == value) {
    if (kind == EventKind::TextChanged) ClampValue(window);
  } else if (id == mode || id == sizemode) {
    UpdateModeControls(window);
  } else if (id == mb) {
    UpdateBFrameControls(window);
  } else if (ClampedWhileEdited(id) || IsRuleSource(id)) {
    ClampField(window, id);
    ApplyEnablingRule(window, id);
  } else {
    return false;
  }
  return true;
}

void SelectAvsincItem(Window& window, std::string_view name) {
  SetStoredText(window, *SettingOf(cid::avsinc), name);
}
