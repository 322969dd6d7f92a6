#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/background.h"
#include "app/batch_room.h"
#include "app/batch_watch.h"
#include "app/encoder_watch.h"
#include "app/job_list.h"
#include "app/messages.h"
#include "jobs/job_spans.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "settings/settings_store.h"

// "2026-12-08 14:02:33", now.
std::string LocalTimeStamp();

// What the script commands need of the program.
struct ScriptServices {
  SettingsStore& settings;
  FileSystem& files;
  Dialogs& dialogs;
  Processes& processes;
  EncoderWatch& encoders;
  BatchRoom& room;
  BatchWatch& watch;
  JobList& list;
  const Messages& messages;
  PostToWindow post;
  // How many jobs a started batch runs at once.
  std::function<int()> jobsAtOnce;
  // The local time a batch starts at, as its record keeps it.
  std::function<std::string()> now = LocalTimeStamp;
};

// "Make BAT", "Start" and "Shut", the script commands: the job list as a
// batch file, saved or run.
class ScriptCommands {
 public:
  explicit ScriptCommands(ScriptServices services)
      : s_(std::move(services)), background_(s_.post) {}

  // "Make BAT" and "Start" take the list once the encoder is known: a job
  // queued while it was asked is then in its switches. A press while the
  // last one is still being carried out does nothing.
  void makeBat();
  void start();
  void shut();

 private:
  // A Start on its way: what it found of the list and the batches.
  struct StartPlan {
    std::vector<std::string> lines;
    std::vector<JobSpan> spans;
    std::vector<bool> leftOut;  // in a batch that runs
    // Jobs an interrupted batch finished, with the result whose size shows
    // it is still all there.
    struct Finished {
      size_t span;
      std::string result;
      std::optional<std::uint64_t> size;
      std::string batch;
    };
    std::vector<Finished> finished;
    std::vector<std::string> programs;  // not found in the program folder
  };
  // What the look beyond the program folder found.
  struct Looked {
    std::vector<std::string> missing;
    std::vector<std::optional<std::uint64_t>> sizes;  // of each finished job's result
  };

  void writeBat();
  void planStart();
  // Marks the jobs of the plan that a batch which runs holds.
  void leaveOutRunning(StartPlan& plan) const;
  // Finds the jobs of the plan that a batch which stopped short finished.
  void findFinished(StartPlan& plan) const;
  void looked(StartPlan plan, Looked looked);
  // The finished jobs of the plan the user wants left out; nothing: the
  // user declined.
  std::vector<size_t> finishedToSkip(const StartPlan& plan, const Looked& looked);
  void launch(const StartPlan& plan, const std::vector<size_t>& skipped, bool after);
  // After a batch started: the records of batches it makes needless go.
  void forgetCovered(const StartPlan& plan, const std::string& started);
  // The Start has been carried out: what the saving of the settings met is
  // told, unless a message of the Start told it.
  void startDone();

  ScriptServices s_;
  Background background_;
  bool starting_ = false;
  std::optional<Problem> settingsProblem_;
  bool writing_ = false;
};
