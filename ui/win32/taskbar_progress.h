#pragma once

#include <windows.h>

#include <shobjidl.h>

#include "platform/win32/com_ref.h"
#include "ui/window.h"

// The progress a window's button on the taskbar shows. Where the shell has
// no taskbar that shows one, nothing is shown and nothing fails.
class TaskbarProgress {
 public:
  TaskbarProgress() = default;
  ~TaskbarProgress();
  TaskbarProgress(const TaskbarProgress&) = delete;
  TaskbarProgress& operator=(const TaskbarProgress&) = delete;

  void show(HWND window, Window::Progress state, int permille);

 private:
  bool comStarted_ = false;
  bool tried_ = false;
  ComRef<ITaskbarList3> taskbar_;
};
