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

EncodeMode ModeOf(const ControlValues& from) {
  return static_cast<EncodeMode>(from.state(cid::mode));
}

void ApplyClamp(Window& window, ControlId field, const Clamp& clamp) {
  if (const auto clamped = ClampedText(window.text(field), clamp)) window.setText(field, *clamped);
}

// A track bar's value label: `fa`/`fb` show deb-a/deb-b minus 6, the `bias`
// field shows biasbar minus 100.
void ShowTrackValue(Window& window, ControlId track) {
  if (track == cid::deb_a)
    window.setText(cid::fa, IntegerText(window.state(cid::deb_a) - 6));
  else if (track == cid::deb_b)
    window.setText(cid::fb, IntegerText(window.state(cid::deb_b) - 6));
  else if (track == cid::biasbar)
    window.setText(cid::bias, IntegerText(window.state(cid::biasbar) - 100));
}

int BiasBarPosition(std::string_view bias) {
  // Limited before the 100 is added, so that no value can overflow.
  return static_cast<int>(std::clamp<std::int64_t>(TextToInt(bias), -100, 100) + 100);
}

// The clamp of a numeric field while the user edits it; nothing for fields
// without one.
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

// `value` kept within the range of the encode mode.
void ClampValue(Window& window) {
  ApplyClamp(window, cid::value, ValueClamp(ModeOf(window), window.state(cid::sizemode) == 1));
}

}  // namespace

std::optional<std::string_view> ClampedText(std::string_view text, const Clamp& clamp) {
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
  if (above) return clamp.maxText;
  if (below) return clamp.minText;
  return std::nullopt;
}

Clamp ValueClamp(EncodeMode mode, bool sizemode) {
  if (IsQuantizerClass(mode)) return {ClampKind::Integer, true, 0, "0", true, 51, "51"};
  if (!sizemode) return {ClampKind::Integer, true, 0, "0", true, 8000, "8000"};
  return {};
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

bool Enabled(const ControlValues& from, ControlId source, Enables when) {
  const EncodeMode mode = ModeOf(from);
  switch (when) {
    case Enables::WhenTicked:
      return from.state(source) == 1;
    case Enables::WhenNotFirst:
      return from.state(source) != 0;
    case Enables::WhenMoreThanOne:
      return TextToInt(from.text(source)) > 1;
    case Enables::WhenLimited:
      return mode != EncodeMode::SinglePassQuantizer;
    case Enables::WhenBitrate:
      return !IsQuantizerClass(mode);
    case Enables::WhenMultiPass:
      return IsMultiPass(mode);
    case Enables::WhenBFrames:
      return TextToInt(from.text(source)) != 0;
    case Enables::WhenTwoBFrames:
      return TextToInt(from.text(source)) > 1;
  }
  return true;
}

// The enabling rules whose source is this control.
void ApplyEnablingRule(const ControlValues& from, Window& window, ControlId source) {
  for (const EnablingRule& rule : kEnablingRules) {
    if (rule.source != source) continue;
    const bool on = Enabled(from, source, rule.when);
    for (ControlId target : rule.targets)
      if (target != cid::none) window.setEnabled(target, on);
  }
}

// Labels, enabled and visible states by `mode` and `sizemode`.
void ShowModeStates(const ControlValues& from, Window& window) {
  using namespace cid;
  const EncodeMode mode = ModeOf(from);
  if (IsQuantizerClass(mode)) {
    window.setText(valueLabel, "Quantizer");
    window.setText(rangeLabel, kQuantizerRange);
    window.setVisible(sizemode, false);
  } else {
    const bool size = from.state(sizemode) == 1;
    window.setText(valueLabel, size ? "Size in MB" : "Average Bitrate");
    window.setText(rangeLabel, size ? std::string_view() : kBitrateRange);
    window.setVisible(sizemode, true);
  }
  ApplyEnablingRule(from, window, cid::mode);

  const bool firstPassCrf = HasFirstPassCrf(mode);
  window.setVisible(auto1pcrf, firstPassCrf);
  window.setVisible(auto1pcrfLabel, firstPassCrf);

  const bool sizeWindow = mode == EncodeMode::ConditionalDouble;
  window.setVisible(banner, !sizeWindow);
  for (ControlId id : {minsize, maxsize, minsizeLabel, maxsizeLabel})
    window.setVisible(id, sizeWindow);
}

}  // namespace

ControlId EnablingControl(ControlId field) {
  for (const EnablingRule& rule : kEnablingRules)
    for (ControlId target : rule.targets)
      if (target == field && target != cid::none) return rule.source;
  return cid::none;
}

void ApplyLoadRules(Settings& settings) {
  for (const SettingSpec& setting : SettingsCatalogue()) {
    const auto* member = std::get_if<std::string Settings::*>(&setting.member);
    if (!member) continue;
    std::string& text = settings.**member;
    const Clamp clamp = setting.clamp.kind == ClampKind::ByMode
                            ? ValueClamp(settings.mode, settings.sizemode)
                            : setting.clamp;
    if (const auto clamped = ClampedText(text, clamp)) text = std::string(*clamped);
  }
  settings.fa = IntegerText(settings.deb_a - 6);
  settings.fb = IntegerText(settings.deb_b - 6);
}

void ApplyEveryRule(const ControlValues& from, Window& window) {
  ShowModeStates(from, window);
  // Each rule once: no two rules enable the same control.
  for (size_t i = 0; i < std::size(kEnablingRules); ++i) {
    const ControlId source = kEnablingRules[i].source;
    const bool first = i == 0 || kEnablingRules[i - 1].source != source;
    if (first && source != cid::mode) ApplyEnablingRule(from, window, source);
  }
}

void ShowSettings(Window& window, const Settings& settings) {
  const SettingsValues values(settings);
  for (const SettingSpec& setting : SettingsCatalogue()) {
    if (setting.form == StoredForm::Number)
      window.setState(setting.id, values.state(setting.id));
    else if (setting.id == cid::avsinc)
      SelectAvsincItem(window, settings.avsinc);
    else
      window.setText(setting.id, values.text(setting.id));
  }
  window.setState(cid::biasbar, BiasBarPosition(settings.bias));
  ApplyEveryRule(values, window);
}

bool ApplyControlRule(Window& window, ControlId id, EventKind kind) {
  using namespace cid;
  if (id == deb_a || id == deb_b || id == biasbar) {
    ShowTrackValue(window, id);
  } else if (id == bias) {
    if (kind == EventKind::FocusLost) window.setState(biasbar, BiasBarPosition(window.text(bias)));
  } else if (id == value) {
    if (kind == EventKind::TextChanged) ClampValue(window);
  } else if (id == mode || id == sizemode) {
    ShowModeStates(window, window);
    ClampValue(window);
  } else if (ClampedWhileEdited(id) || IsRuleSource(id)) {
    ClampField(window, id);
    ApplyEnablingRule(window, window, id);
  } else {
    return false;
  }
  return true;
}

void SelectAvsincItem(Window& window, std::string_view name) {
  if (name.empty()) return;
  int last = -1;
  for (int i = 0, n = window.itemCount(cid::avsinc); i < n; ++i)
    if (window.item(cid::avsinc, i) == name) last = i;
  if (last >= 0) window.setState(cid::avsinc, last);
}
