#pragma once

#include <initializer_list>
#include <span>

#include "app/app.h"

// Which handler takes the events of which controls, in the order the event
// loop tests them. Events of controls without a row are ignored.
struct DispatchRoute {
  std::initializer_list<ControlId> ids;
  App::Handler handler;
};

struct DispatchTable {
  static std::span<const DispatchRoute> Routes();
  // The handler for a control, or nullptr when its events are ignored.
  static App::Handler Find(ControlId id);
};
