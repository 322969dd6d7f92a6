// Writing and running batch files.
#include "app/app.h"

void App::onMakeBat(ControlId, EventKind) {}
void App::onStart(ControlId, EventKind) {}
void App::onShut(ControlId, EventKind) {}
