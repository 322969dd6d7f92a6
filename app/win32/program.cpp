#include "app/win32/program.h"

#include <commctrl.h>

#include "app/banner.h"
#include "platform/win32/avi_media_probe.h"
#include "ui/win32/bitmap_decoder.h"

namespace {

// Services that the program does not use yet: every requester is cancelled
// and nothing is started.
class NoDialogs final : public Dialogs {
 public:
  std::string openFile(std::string_view, std::string_view, std::string_view) override { return {}; }
  std::vector<std::string> openFiles(std::string_view, std::string_view,
                                     std::string_view) override {
    return {};
  }
  std::string saveFile(std::string_view, std::string_view, std::string_view) override { return {}; }
  std::string chooseFolder(std::string_view, std::string_view) override { return {}; }
  void message(std::string_view, std::string_view) override {}
  bool ask(std::string_view, std::string_view) override { return false; }
  std::optional<std::string> inputLine(std::string_view, std::string_view,
                                       std::string_view) override {
    return std::nullopt;
  }
};

class NoProcesses final : public Processes {
 public:
  std::optional<std::uint32_t> startBatch(std::string_view, std::string_view,
                                          StartFailure*) override {
    return std::nullopt;
  }
  void setIdlePriority(std::uint32_t) override {}
  void wait(int) override {}
};

void RegisterCommonControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
}

}  // namespace

Program::Program(HINSTANCE instance)
    : dialogs_(std::make_unique<NoDialogs>()),
      processes_(std::make_unique<NoProcesses>()),
      media_(std::make_unique<AviMediaProbe>()) {
  RegisterCommonControls();
  banner_ = DecodeBitmap(BannerBytes());
  CreateProgramFolders(files_);
  window_ = std::make_unique<Win32Window>(instance, banner_.get());
  app_ = std::make_unique<App>(*window_, Platform{files_, *dialogs_, *processes_, *media_});
  app_->start();
  window_->setEvents(this);
}

Program::~Program() {
  if (window_) window_->setEvents(nullptr);
}

int Program::run() {
  window_->show();
  return window_->runMessageLoop();
}

void Program::onEvent(ControlId id, EventKind kind) { app_->onEvent(id, kind); }

void Program::onClose() { app_->onClose(); }
