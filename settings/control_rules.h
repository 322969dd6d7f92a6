#pragma once

#include <string_view>

#include "settings/catalogue.h"
#include "ui/window.h"

// The rules that keep dependent controls consistent: track-bar value
// labels, range clamps of numeric fields, the meaning and range of `value`
// by encode mode, and the enabled and visible states that follow options.
// They only change texts, states and visibility; they keep no state.

// A track bar's value label: `fa`/`fb` show deb-a/deb-b minus 6, the `bias`
// field shows biasbar minus 100.
void ShowTrackValue(Window& window, ControlId track);

// `biasbar` follows the `bias` field: its value plus 100, kept within 0..200.
void MoveBiasBarToField(Window& window);

// Replaces a field's text by the bound it crosses: above the maximum by the
// maximum's text, otherwise below the minimum by the minimum's text.
void ApplyClamp(Window& window, ControlId field, const Clamp& clamp);

// The clamp of a numeric field while the user edits it; nothing for fields
// without one.
void ClampField(Window& window, ControlId field);

// `value` kept within the range that the range label shows (0..51, 0..8000,
// or none while it is empty).
void ClampValue(Window& window);

// The enabling rule whose source is this control (a1, a2, cab, aud, aq, ba,
// ref, crelog); nothing for other controls.
void ApplyEnablingRule(Window& window, ControlId source);

// The control whose state enables `field`: a check box, a list or field of
// the enabling rules, `mode` for the fields the encode mode enables; none
// for a field that is always enabled.
ControlId EnablingControl(ControlId field);

// Labels, enabled and visible states by `mode` and `sizemode`; ends with the
// clamp of `value`.
void UpdateModeControls(Window& window);

// Clamps `mb` to 0..16 and enables the B-frame controls by its value.
void UpdateBFrameControls(Window& window);

// Every rule, as after a load: the value labels of the deblocking track
// bars, the encode mode, the B-frames and every enabling rule.
void ApplyEveryRule(Window& window);

// The one way in for what the user does to a control: applies the rule the
// event belongs to (a track bar's value label, the bias bar, the clamp of a
// field being edited, the encode mode, an enabling rule) and gives true, or
// gives false when no rule follows that control.
bool ApplyControlRule(Window& window, ControlId id, EventKind kind);

// Selects the last `avsinc` entry equal to `name`; an empty name or one no
// entry equals leaves the selection as it is.
void SelectAvsincItem(Window& window, std::string_view name);
