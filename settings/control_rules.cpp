#include "settings/control_rules.h"

#include <algorithm>
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

void ApplyEnablingRule(Window& window, ControlId source) {
  using namespace cid;
  const auto ticked = [&](ControlId id) { return window.state(id) == 1; };
  switch (source) {
    case a1:
      window.setEnabled(a5, ticked(a1));
      break;
    case a2:
      window.setEnabled(a4, ticked(a2));
      break;
    case cab:
      window.setEnabled(tre, ticked(cab));
      break;
    case aud:
      window.setEnabled(aub, ticked(aud));
      break;
    case aq:
      window.setEnabled(aq1, window.state(aq) != 0);
      break;
    case ba:
      window.setEnabled(bfoptimal, ticked(ba));
      break;
    case ref:
      window.setEnabled(mxref, TextToInt(window.text(ref)) > 1);
      break;
    case crelog:
      UpdateLogfileControls(window);
      break;
    default:
      break;
  }
}

ControlId EnablingControl(ControlId field) {
  using namespace cid;
  static constexpr struct {
    ControlId source;
    ControlId targets[7];
  } kRules[] = {
      {a1, {a5}},
      {a2, {a4}},
      {cab, {tre}},
      {aud, {aub}},
      {aq, {aq1}},
      {ba, {bfoptimal}},
      {ref, {mxref}},
      {crelog, {logfile, logfileBrowse}},
      {mb, {a3, dm, biasbar, bias, ba, bref, bwb}},
      {mode, {vbr, minqp, maxqp, qps, vbs, vmb, vib}},
      {mode, {bv, upstat, statsfile, statsfileBrowse}},
  };
  for (const auto& rule : kRules)
    for (ControlId target : rule.targets)
      if (target == field && target != none) return rule.source;
  return none;
}

void UpdateModeControls(Window& window) {
  using namespace cid;
  const auto mode = static_cast<EncodeMode>(window.state(cid::mode));
  const ControlId limits[] = {vbr, minqp, maxqp, qps, vbs, vmb, vib};
  if (IsQuantizerClass(mode)) {
    window.setText(valueLabel, "Quantizer");
    window.setText(rangeLabel, kQuantizerRange);
    for (ControlId id : limits) window.setEnabled(id, mode != EncodeMode::SinglePassQuantizer);
    window.setEnabled(bv, false);
    window.setVisible(sizemode, false);
  } else {
    const bool size = window.state(sizemode) == 1;
    window.setText(valueLabel, size ? "Size in MB" : "Average Bitrate");
    window.setText(rangeLabel, size ? std::string_view() : kBitrateRange);
    for (ControlId id : limits) window.setEnabled(id, true);
    window.setEnabled(bv, true);
    window.setVisible(sizemode, true);
  }

  const bool multiPass = IsMultiPass(mode);
  for (ControlId id : {upstat, statsfile, statsfileBrowse}) window.setEnabled(id, multiPass);

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
  using namespace cid;
  ApplyClamp(window, mb, SettingOf(mb)->clamp);
  const std::int64_t n = TextToInt(window.text(mb));
  for (ControlId id : {a3, dm, biasbar, bias, ba}) window.setEnabled(id, n != 0);
  for (ControlId id : {bref, bwb}) window.setEnabled(id, n != 0 && n != 1);
}

void UpdateLogfileControls(Window& window) {
  const bool on = window.state(cid::crelog) == 1;
  window.setEnabled(cid::logfile, on);
  window.setEnabled(cid::logfileBrowse, on);
}

void SelectAvsincItem(Window& window, std::string_view name) {
  SetStoredText(window, *SettingOf(cid::avsinc), name);
}
