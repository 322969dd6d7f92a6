// Handlers of the buttons and file requesters.
#include "app/app.h"

void App::onAdd(ControlId, EventKind) {}
void App::onBatchAdding(ControlId, EventKind) {}
void App::onInputBrowse(ControlId, EventKind) {}
void App::onOutputBrowse(ControlId, EventKind) {}
void App::onStatsfileBrowse(ControlId, EventKind) {}
void App::onLogfileBrowse(ControlId, EventKind) {}
void App::onQuantMatrix(ControlId, EventKind) {}
void App::onLoadDefault(ControlId, EventKind) {}
void App::onRefresh(ControlId, EventKind) {}
void App::onSavePreset(ControlId, EventKind) {}
void App::onLoadPreset(ControlId, EventKind) {}
