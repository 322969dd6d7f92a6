#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/catalogue.h"
#include "ui/window.h"

// The rules that keep dependent controls consistent: track-bar value
// labels, range clamps of numeric fields, the meaning and range of `value`
// by encode mode, and the enabled and visible states that follow options.
// They only change texts, states and visibility; they keep no state.

// The text a clamp puts in place of `text`: the maximum's text above the
// maximum, otherwise the minimum's text below the minimum; nothing when the
// text is within its bounds.
std::optional<std::string_view> ClampedText(std::string_view text, const Clamp& clamp);

// The bounds of `value` by encode mode: 0..51 for a quantizer or rate factor,
// 0..8000 for a bitrate, none for a size in MB.
Clamp ValueClamp(EncodeMode mode, bool sizemode);

// The control whose state enables `field`: a check box, a list or field of
// the enabling rules, `mode` for the fields the encode mode enables; none
// for a field that is always enabled.
ControlId EnablingControl(ControlId field);

// The rules a loaded value goes through before it is shown: every field
// within its range (`value` by the encode mode), and the deblocking value
// labels (`fa`, `fb`) following their track bars.
void ApplyLoadRules(Settings& settings);

// What the rules make of the values in `from` on the window: the labels,
// enabled and visible states of the encode mode, the B-frames and every
// enabling rule. It changes no setting.
void ApplyEveryRule(const ControlValues& from, Window& window);

// The one way in for what the user does to a control: applies the rule the
// event belongs to (a track bar's value label, the bias bar, the clamp of a
// field being edited, the encode mode, an enabling rule) and gives true, or
// gives false when no rule follows that control.
bool ApplyControlRule(Window& window, ControlId id, EventKind kind);

// Shows a settings value in the window in one pass: every keyed setting in
// its control, `biasbar` at the loaded bias, and every rule's states. The
// key-less controls keep what they hold.
void ShowSettings(Window& window, const Settings& settings);

// Selects the last `avsinc` entry equal to `name`; an empty name or one no
// entry equals leaves the selection as it is.
void SelectAvsincItem(Window& window, std::string_view name);
