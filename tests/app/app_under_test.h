#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/startup.h"
#include "support/memory_platform.h"
#include "support/memory_window.h"
#include "ui/control_id.h"

// The program after a first start in the empty program folder "C:\prog\"
// (the five folders exist, the built-in defaults are shown), driven through
// App::onEvent as the window drives it.
struct AppUnderTest {
  MemoryPlatform platform;
  MemoryWindow window;
  App app{window, platform.services()};

  AppUnderTest() : AppUnderTest([](MemoryFileSystem&) {}) {}

  // `prepare` puts files in place before the program starts.
  explicit AppUnderTest(const std::function<void(MemoryFileSystem&)>& prepare) {
    platform.files.createFolder(R"(C:\prog)");
    CreateProgramFolders(platform.files);
    prepare(platform.files);
    app.start();
  }

  void click(ControlId id) { app.onEvent(id, EventKind::Clicked); }

  // Runs what other threads hand the window's thread until `done` holds;
  // false when it does not within `timeoutMs`.
  bool runPostedUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    for (int waited = 0; !done(); waited += 20) {
      if (waited >= timeoutMs) return false;
      window.runPosted(20);
    }
    return true;
  }

  // Replaces the job list by `lines` and selects `selected` (-1: none).
  void setLines(const std::vector<std::string>& lines, int selected = -1) {
    app.jobList().clear();
    app.jobList().insert(0, lines);
    window.setState(cid::jobList, selected);
  }

  std::vector<std::string> lines() const {
    std::vector<std::string> result;
    for (int i = 0; i < window.itemCount(cid::jobList); ++i)
      result.push_back(window.item(cid::jobList, i));
    return result;
  }

  int selected() const { return window.state(cid::jobList); }

  // The requesters and boxes of one kind, in the order they were shown.
  std::vector<DialogCall> calls(const std::string& kind) const {
    std::vector<DialogCall> result;
    for (const DialogCall& call : platform.dialogs.calls)
      if (call.kind == kind) result.push_back(call);
    return result;
  }
};
