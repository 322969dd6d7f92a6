#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/batch_watch.h"
#include "app/encoder_watch.h"
#include "app/job_list.h"
#include "app/messages.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "settings/settings_store.h"

// "2026-12-08 14:02:33", now.
std::string LocalTimeStamp();

// "Make BAT", "Start" and "Shut", the script commands: the job list as a
// batch file, saved or run.
class ScriptCommands {
 public:
  ScriptCommands(SettingsStore& settings, FileSystem& files, Dialogs& dialogs, Processes& processes,
                 EncoderWatch& encoders, BatchWatch& watch, JobList& list, const Messages& messages)
      : settings_(settings),
        files_(files),
        dialogs_(dialogs),
        processes_(processes),
        encoders_(encoders),
        watch_(watch),
        list_(list),
        messages_(messages) {}

  // "Make BAT" and "Start" take the list once the encoder is known: a job
  // queued while it was asked is then in its switches.
  void makeBat();
  void start();
  void shut();

 private:
  void writeBat();
  void startBatch();
  // The jobs of the list that the last batch finished before it stopped
  // short, when the user wants them left out.
  std::vector<size_t> finishedToSkip() const;
  // Whether every program the batch `script` calls is found as the batch
  // will look for it, or the user wants to start without them.
  bool programsFoundOrStartAnyway(const std::string& script);
  // The name of the next batch to start: "temp.bat", or the next free one
  // while a batch started earlier still runs and reads its file.
  std::string nextBatchName() const;

  SettingsStore& settings_;
  FileSystem& files_;
  Dialogs& dialogs_;
  Processes& processes_;
  EncoderWatch& encoders_;
  BatchWatch& watch_;
  JobList& list_;
  const Messages& messages_;

 public:
  // The local time a batch starts at, as its record keeps it.
  std::function<std::string()> now = LocalTimeStamp;
};
