#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/result.h"
#include "jobs/batch_files.h"
#include "jobs/batch_record.h"
#include "jobs/batch_report.h"
#include "jobs/batch_steps.h"
#include "jobs/job_script.h"
#include "platform/file_system.h"
#include "platform/processes.h"

// The started batches of the program folder, whichever window started
// them: their names and files, the processes of their workers, their
// records, and what can be done to them. A batch belongs to the folder, not
// to a window: every window of the folder, and every later start of the
// program, finds the batches here and can follow and steer them. Only the
// room writes a batch's files, and never those of a batch that runs.
class BatchRoom {
 public:
  // A batch as the room knows it.
  struct Batch {
    BatchFiles files;
    BatchView view;
    bool stopRequested = false;                          // asked to start no further job
    std::vector<std::unique_ptr<StartedBatch>> workers;  // those that run
    // Where the reading of each record file stands: the program's, then
    // each worker's.
    std::vector<std::uint64_t> read;
    RecordReader reader;
    std::set<size_t> errorsRead;  // the failed jobs whose last error has been read
  };

  BatchRoom(FileSystem& files, Processes& processes) : files_(files), processes_(processes) {}

  // Reads every batch of the folder anew: at start-up, before a Start, and
  // when another window started one.
  void look();
  // Reads what the running batches have appended since the last look;
  // true while one of them runs.
  bool follow();

  const std::vector<std::unique_ptr<Batch>>& batches() const { return batches_; }
  // The batch started last, if any.
  const Batch* last() const;
  // Those whose workers run, in the order they started.
  std::vector<const Batch*> running() const;

  // What a Start hands the room: the batch as the workers run it, and its
  // header.
  struct Launch {
    StartBatch script;  // its file, for the name in the workers' environment
    std::vector<std::string> lines;
    std::vector<HeaderJob> jobs;
    int workers = 1;
    std::vector<std::string> after;  // the interpreters it waits for
    std::string afterName;           // and the batch they run
    std::string started;             // "2026-12-08 14:02:33"
  };
  // Starts the batch under a name that no other batch holds, with the
  // identities of its workers written before any of its lines runs; the
  // name, or why it did not start.
  Result<std::string> launch(const Launch& launch);

  // The jobs the batches that run hold, by the hash of their lines, each
  // as often as they hold it.
  std::multiset<std::uint64_t> heldJobs() const;

  // The identities of the workers of the batches that run.
  std::vector<std::string> runningWorkers() const;

  // Steering every batch that runs.
  Result<Done> pause(bool paused);
  Result<Done> stopAfterRunningJobs(bool stop);
  Result<Done> stopNow();
  bool paused() const;
  bool stopPending() const;

  // The records of batches that no longer run, stopped before their end,
  // with jobs that did not finish, newest first.
  std::vector<const Batch*> interrupted() const;

  // Forgets a batch that does not run: its files go.
  void forget(const std::string& name);

 private:
  Batch* find(const std::string& name);
  // Holds the room for this window while it starts a batch; nothing when
  // another window holds it longer than a Start takes.
  std::shared_ptr<void> hold();
  // Why a batch cannot start: its jobs run in a batch another window
  // started since.
  std::optional<Problem> startedMeanwhile(const Launch& launch) const;
  // A name no batch holds, once the records no longer needed have gone.
  std::string freeName();
  // Reads what a batch's record files hold beyond what was read; bounded
  // per call unless `whole`.
  void read(Batch& batch, bool whole);
  void readProgress(Batch& batch);
  bool stillRuns(Batch& batch);
  // A batch one of whose workers was closed before its end stops after the
  // jobs that run.
  void stopWithout(Batch& batch);
  // Whether an interpreter of the batch still runs, even past its end.
  static bool occupied(const Batch& batch);
  // Removes every file of the batch `name`; false when one stays.
  bool removeFiles(const std::string& name);
  std::string path(const std::string& file) const { return files_.programFolder() + file; }

  FileSystem& files_;
  Processes& processes_;
  std::vector<std::unique_ptr<Batch>> batches_;  // in the order they started
};

// The file in the program folder that holds the room while a window starts
// a batch.
inline constexpr std::string_view kBatchesLock = "batches.lock";
