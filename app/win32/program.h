#pragma once

#include <windows.h>

#include <memory>

#include "app/app.h"
#include "platform/win32/avi_media_probe.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_encoder_probe.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "ui/win32/win32_window.h"

// What the program is made of besides the system's own: the requesters and
// boxes (the standard dialogs unless given), and how long the x264 found
// may take to tell its switches.
struct ProgramParts {
  Dialogs* dialogs = nullptr;
  int encoderTimeLimitMs = kEncoderHelpTimeoutMs;
};

// The whole program on Windows: the platform services, the banner, the
// window and the application shell wired together. Constructing it runs the
// start-up (folders, window, lists, states, settings); run() shows the
// window and runs the event loop until it is closed.
class Program final : private WindowEvents {
 public:
  explicit Program(HINSTANCE instance, ProgramParts parts = {});
  ~Program() override;

  int run();

  Win32Window& window() { return *window_; }
  App& app() { return *app_; }
  FileSystem& files() { return files_; }

 private:
  void onEvent(ControlId id, EventKind kind) override;
  void onClose() override;
  void onEndSession() override;
  void onFilesDropped(const std::vector<std::string>& paths) override;
  void onEncoderInfo() override;
  void onLastBatch() override;
  BatchMenu batchMenu() override { return app_->batchMenu(); }
  void onPauseBatch() override { app_->onPauseBatch(); }
  void onStopAfterJob() override { app_->onStopAfterJob(); }
  void onStopNow() override { app_->onStopNow(); }
  void onJobsAtOnce(int jobs) override { app_->onJobsAtOnce(jobs); }
  void onBatchesChanged() override { app_->onBatchesChanged(); }

  Win32FileSystem files_;
  Win32Dialogs dialogs_;
  Win32Processes processes_;
  AviMediaProbe media_;
  Win32EncoderProbe encoders_;
  GdiObject<HBITMAP> banner_;
  std::unique_ptr<Win32Window> window_;
  std::unique_ptr<App> app_;
};
