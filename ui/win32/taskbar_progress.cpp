#include "ui/win32/taskbar_progress.h"

TaskbarProgress::~TaskbarProgress() {
  taskbar_.put();
  if (comStarted_) CoUninitialize();
}

UINT TaskbarProgress::ButtonMadeMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

void TaskbarProgress::show(HWND window, Window::Progress state, int permille) {
  state_ = state;
  permille_ = permille;
  apply(window);
}

void TaskbarProgress::buttonMade(HWND window) {
  // A taskbar started anew knows nothing of the list the program held.
  taskbar_.put();
  tried_ = false;
  if (state_ != Window::Progress::None) apply(window);
}

void TaskbarProgress::apply(HWND window) {
  if (!tried_) {
    // Asked for once, the first time there is something to show.
    tried_ = true;
    if (!comStarted_) comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                taskbar_.putVoid())) ||
        FAILED(taskbar_->HrInit()))
      taskbar_.put();
  }
  if (!taskbar_) return;
  TBPFLAG flag = TBPF_NOPROGRESS;
  switch (state_) {
    case Window::Progress::None:
      break;
    case Window::Progress::Running:
    case Window::Progress::Done:
      flag = TBPF_NORMAL;
      break;
    case Window::Progress::Paused:
      flag = TBPF_PAUSED;
      break;
    case Window::Progress::Failed:
      flag = TBPF_ERROR;
      break;
  }
  taskbar_->SetProgressState(window, flag);
  if (flag != TBPF_NOPROGRESS)
    taskbar_->SetProgressValue(window, static_cast<ULONGLONG>(permille_), 1000);
}
