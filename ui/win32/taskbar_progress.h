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
  // The taskbar made the window's button anew (it was restarted): what the
  // button showed is shown again.
  void buttonMade(HWND window);

  // The message the taskbar sends when it has made a window's button.
  static UINT ButtonMadeMessage();

 private:
  void apply(HWND window);

  bool comStarted_ = false;
  bool tried_ = false;
  ComRef<ITaskbarList3> taskbar_;
  Window::Progress state_ = Window::Progress::None;
  int permille_ = 0;
};
