#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/app.h"
#include "app/startup.h"
#include "settings/settings_store.h"
#include "support/memory_platform.h"
#include "support/memory_window.h"

// The program as it stands after a first start in an empty program folder
// "C:\prog\": the five folders exist, no "quorvel.ini", so the window shows
// the built-in defaults. Events go in through `app`, as from the user.
struct StartedApp {
  MemoryPlatform platform;
  MemoryWindow window;
  App app{window, platform.services()};

  StartedApp() : StartedApp([](MemoryFileSystem&) {}) {}

  // `prepare` puts files in place before the program starts.
  explicit StartedApp(const std::function<void(MemoryFileSystem&)>& prepare) {
    platform.files.createFolder("C:\\prog");
    CreateProgramFolders(platform.files);
    prepare(platform.files);
    app.start();
  }

  SettingsStore store() { return SettingsStore(window, platform.files); }

  // Puts a settings file in place and loads it into the window.
  void load(const std::string& bytes, const std::string& path = "C:\\prog\\configs\\t.ini") {
    platform.files.put(path, bytes);
    store().loadSettings(path);
  }

  // The user ticks or clears a check box.
  void tick(ControlId id, bool on) {
    window.setState(id, on ? 1 : 0);
    app.onEvent(id, EventKind::Clicked);
  }

  // The user picks an entry of a list.
  void choose(ControlId id, int index) {
    window.setState(id, index);
    app.onEvent(id, EventKind::SelectionChanged);
  }

  // The user drags a track bar.
  void slide(ControlId id, int position) {
    window.setState(id, position);
    app.onEvent(id, EventKind::Scrolled);
  }

  // The user types a text into a field at once (as the field's typing
  // filter lets it through) and the field reports the change.
  void type(ControlId id, std::string_view text) {
    window.type(id, text);
    app.onEvent(id, EventKind::TextChanged);
  }

  // The user types key by key, each key reported as a change.
  void keys(ControlId id, std::string_view keys) {
    window.type(id, "");
    app.onEvent(id, EventKind::TextChanged);
    for (char key : keys) {
      window.type(id, window.text(id) + key);
      app.onEvent(id, EventKind::TextChanged);
    }
  }
};
