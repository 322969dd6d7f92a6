#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/background.h"
#include "app/batch_room.h"
#include "app/batch_watch.h"
#include "app/encoder_watch.h"
#include "app/job_list.h"
#include "app/job_list_commands.h"
#include "app/job_list_journal.h"
#include "app/job_list_marks.h"
#include "app/job_list_view.h"
#include "app/messages.h"
#include "app/preset_commands.h"
#include "app/queue_commands.h"
#include "app/script_commands.h"
#include "app/steer_commands.h"
#include "platform/dialogs.h"
#include "platform/encoder_probe.h"
#include "platform/file_system.h"
#include "platform/media_probe.h"
#include "platform/processes.h"
#include "settings/settings_store.h"
#include "ui/window.h"

// The operating-system services the program uses, handed in at construction
// so that tests can replace them.
struct Platform {
  FileSystem& files;
  Dialogs& dialogs;
  Processes& processes;
  MediaProbe& media;
  EncoderProbe& encoders;
};

// The application shell: it holds the job list with its view and journal,
// the settings store and the encoder watch, wires the commands to them, and
// hands each control event to its command.
class App {
 public:
  // `encoderTimeLimitMs`: how long the encoder may take to tell its switches.
  App(Window& window, Platform platform, int encoderTimeLimitMs = kEncoderHelpTimeoutMs);
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Fills the fixed lists and the preset lists and loads the main settings
  // file: what the window shows when it first appears.
  void start();

  // The window has appeared: the rest of the start-up. Starts asking the
  // encoder in the background, takes the job list journal, and asks what
  // start-up left to ask (the job list an earlier run left, a custom
  // matrix file).
  void onShown();

  // One event of one control, as the user raised it.
  void onEvent(ControlId id, EventKind kind);

  // The window is closing: the settings are saved and the job list, which
  // is not kept, is let go.
  void onClose();

  // Windows is ending the session (log-off, an update restart): the
  // settings are saved, and the job list is kept for the next start.
  void onEndSession();

  // Files dropped onto the window: one is taken as the input, several are
  // queued one job each with the output beside its input.
  void onFilesDropped(const std::vector<std::string>& paths) { queue_.filesDropped(paths); }

  // The user asked which x264 the jobs are written for.
  void onEncoderInfo();

  // The user asked how each job of the last batch went.
  void onLastBatch() { watch_.report(); }

  // The batches of the folder, steered from the system menu; the state of
  // its entries.
  BatchMenu batchMenu() { return steer_.menu(); }
  void onPauseBatch() { steer_.pause(); }
  void onStopAfterJob() { steer_.stopAfterJob(); }
  void onStopNow() { steer_.stopNow(); }
  void onJobsAtOnce(int jobs) { steer_.chooseJobsAtOnce(jobs); }
  // Another window of the folder started a batch.
  void onBatchesChanged() { watch_.pickUp(); }

  // The job list the window shows.
  JobList& jobList() { return list_; }

 private:
  // Which command takes the events of which controls; events of controls
  // that neither a rule nor a command follows are ignored.
  struct Route {
    ControlId id;
    std::function<void()> command;
  };
  std::vector<Route> routes();

  Window& window_;
  Platform platform_;
  Messages messages_;
  SettingsStore settings_;
  EncoderWatch encoders_;
  Background background_;
  BatchRoom room_;
  JobList list_;
  BatchWatch watch_;
  JobListView view_;
  JobListJournal journal_;
  JobListMarks marks_;
  QueueCommands queue_;
  JobListCommands listCommands_;
  SteerCommands steer_;
  ScriptCommands scriptCommands_;
  PresetCommands presets_;
  std::vector<Route> routes_;
};
