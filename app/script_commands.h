#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/encoder_watch.h"
#include "app/job_list.h"
#include "app/messages.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "settings/settings_store.h"

// "Make BAT", "Start" and "Shut", the script commands: the job list as a
// batch file, saved or run.
class ScriptCommands {
 public:
  ScriptCommands(SettingsStore& settings, Processes& processes, EncoderWatch& encoders,
                 JobList& list, const Messages& messages)
      : settings_(settings),
        processes_(processes),
        encoders_(encoders),
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
  // Whether every program the lines call is found as the batch will look
  // for it, or the user wants to start without them.
  bool programsFoundOrStartAnyway();
  // The name of the next batch to start: "temp.bat", or the next free one
  // while a batch started earlier still runs and reads its file.
  std::string nextBatchName() const;

  SettingsStore& settings_;
  Processes& processes_;
  EncoderWatch& encoders_;
  JobList& list_;
  const Messages& messages_;
  // Batches started by "Start" by file name, while they may still run.
  std::map<std::string, std::unique_ptr<StartedBatch>> started_;
};
