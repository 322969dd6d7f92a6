// Handlers that keep dependent controls consistent; they come with the control rules.
#include "app/app.h"

void App::onTrackBar(ControlId, EventKind) {}
void App::onBiasField(ControlId, EventKind) {}
void App::onValueField(ControlId, EventKind) {}
void App::onModeControls(ControlId, EventKind) {}
void App::onClampedField(ControlId, EventKind) {}
void App::onPartitionCheck(ControlId, EventKind) {}
void App::onMaxBFrames(ControlId, EventKind) {}
void App::onReferenceFields(ControlId, EventKind) {}
void App::onCabac(ControlId, EventKind) {}
void App::onAudioSwitch(ControlId, EventKind) {}
void App::onLogfileSwitch(ControlId, EventKind) {}
void App::onAqMode(ControlId, EventKind) {}
void App::onAdaptiveBFrames(ControlId, EventKind) {}
