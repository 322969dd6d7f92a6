#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/messages.h"
#include "jobs/batch_record.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "ui/window.h"

// How often the window looks at a running batch's record and progress.
inline constexpr int kBatchTickMs = 500;

// Follows the batches "Start" started, through what they leave beside their
// file (their record and the encoder's progress), never through their
// console: the window's title and its taskbar button show which job runs and
// how far its encode is, and how the batch went once it has ended. It looks
// only while a batch runs; a window started while a batch runs takes it up.
class BatchWatch {
 public:
  BatchWatch(Window& window, FileSystem& files, Processes& processes, const Messages& messages)
      : window_(window), files_(files), processes_(processes), messages_(messages) {}

  // The window has appeared: follows the batches an earlier window started
  // that still run, and remembers the last batch.
  void pickUp();

  // A batch "Start" has just started as the file `name` in the program
  // folder.
  void follow(const std::string& name, std::unique_ptr<StartedBatch> batch);
  bool running(const std::string& name) const;

  // "Last batch...": every job of the last started batch with its outcome.
  void report() const;

  // The record of the last batch when it stopped before its end and runs no
  // more, with its file name.
  std::optional<BatchRecord> interrupted() const;

  // Before a batch starts: the records of the batches that have ended go.
  void forgetEnded();

 private:
  struct Followed {
    std::string name;
    std::unique_ptr<StartedBatch> batch;
  };

  void tick();
  std::optional<BatchRecord> record(const std::string& name) const;
  std::string progress(const std::string& name) const;
  std::string path(const std::string& name) const { return files_.programFolder() + name; }

  Window& window_;
  FileSystem& files_;
  Processes& processes_;
  const Messages& messages_;
  std::vector<Followed> followed_;  // in the order they started
  std::string last_;                // the batch file of the last batch started
};
