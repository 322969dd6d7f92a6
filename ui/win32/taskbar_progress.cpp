#include "ui/win32/taskbar_progress.h"

TaskbarProgress::~TaskbarProgress() {
  taskbar_.put();
  if (comStarted_) CoUninitialize();
}

void TaskbarProgress::show(HWND window, Window::Progress state, int permille) {
  if (!tried_) {
    // Asked for once, the first time there is something to show.
    tried_ = true;
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                taskbar_.putVoid())) ||
        FAILED(taskbar_->HrInit()))
      taskbar_.put();
  }
  if (!taskbar_) return;
  TBPFLAG flag = TBPF_NOPROGRESS;
  switch (state) {
    case Window::Progress::None:
      break;
    case Window::Progress::Running:
    case Window::Progress::Done:
      flag = TBPF_NORMAL;
      break;
    case Window::Progress::Failed:
      flag = TBPF_ERROR;
      break;
  }
  taskbar_->SetProgressState(window, flag);
  if (flag != TBPF_NOPROGRESS)
    taskbar_->SetProgressValue(window, static_cast<ULONGLONG>(permille), 1000);
}
