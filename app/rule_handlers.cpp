// Handlers that keep dependent controls consistent while the user works.
#include "app/app.h"
#include "settings/control_rules.h"
#include "ui/control_id.h"

void App::onTrackBar(ControlId id, EventKind) { ShowTrackValue(window_, id); }

void App::onBiasField(ControlId, EventKind kind) {
  if (kind == EventKind::FocusLost) MoveBiasBarToField(window_);
}

void App::onValueField(ControlId, EventKind kind) {
  if (kind == EventKind::TextChanged) ClampValue(window_);
}

void App::onModeControls(ControlId, EventKind) { UpdateModeControls(window_); }

void App::onClampedField(ControlId id, EventKind) { ClampField(window_, id); }

void App::onPartitionCheck(ControlId id, EventKind) { ApplyEnablingRule(window_, id); }

void App::onMaxBFrames(ControlId, EventKind) { UpdateBFrameControls(window_); }

void App::onReferenceFields(ControlId id, EventKind) {
  ClampField(window_, id);
  if (id == cid::ref) ApplyEnablingRule(window_, cid::ref);
}

void App::onCabac(ControlId id, EventKind) { ApplyEnablingRule(window_, id); }

void App::onAudioSwitch(ControlId id, EventKind) { ApplyEnablingRule(window_, id); }

void App::onLogfileSwitch(ControlId, EventKind) { UpdateLogfileControls(window_); }

void App::onAqMode(ControlId id, EventKind) { ApplyEnablingRule(window_, id); }

void App::onAdaptiveBFrames(ControlId id, EventKind) { ApplyEnablingRule(window_, id); }
