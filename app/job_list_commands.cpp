// Commands on the lines of the job list.
#include "app/app.h"

void App::onView(ControlId, EventKind) {}
void App::onEdit(ControlId, EventKind) {}
void App::onUp(ControlId, EventKind) {}
void App::onDown(ControlId, EventKind) {}
void App::onDisable(ControlId, EventKind) {}
void App::onDelete(ControlId, EventKind) {}
void App::onClear(ControlId, EventKind) {}
