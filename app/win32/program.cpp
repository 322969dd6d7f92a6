#include "app/win32/program.h"

#include <commctrl.h>

#include "app/banner.h"
#include "app/startup.h"
#include "ui/win32/bitmap_decoder.h"

namespace {

void RegisterCommonControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
}

}  // namespace

Program::Program(HINSTANCE instance, ProgramParts parts)
    : encoders_(files_.programFolder(), processes_) {
  RegisterCommonControls();
  banner_ = DecodeBitmap(BannerBytes());
  CreateProgramFolders(files_);
  window_ = std::make_unique<Win32Window>(instance, banner_.get());
  dialogs_.setOwner(window_->handle());
  Dialogs& dialogs = parts.dialogs ? *parts.dialogs : dialogs_;
  app_ = std::make_unique<App>(*window_, Platform{files_, dialogs, processes_, media_, encoders_},
                               parts.encoderTimeLimitMs);
  app_->start();
  window_->setEvents(this);
}

Program::~Program() {
  if (window_) window_->setEvents(nullptr);
}

int Program::run() {
  window_->show();
  app_->onShown();
  return window_->runMessageLoop();
}

void Program::onEvent(ControlId id, EventKind kind) { app_->onEvent(id, kind); }

void Program::onClose() { app_->onClose(); }

void Program::onEndSession() { app_->onEndSession(); }

void Program::onFilesDropped(const std::vector<std::string>& paths) { app_->onFilesDropped(paths); }

void Program::onEncoderInfo() { app_->onEncoderInfo(); }

void Program::onLastBatch() { app_->onLastBatch(); }
