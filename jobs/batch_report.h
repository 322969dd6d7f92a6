#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "jobs/batch_record.h"

// What the user reads of a started batch: the window's title while it
// runs and once it has ended, the state of each job, and "Last batch...".

// What a job's progress file tells, as teelog.exe writes it: the
// encoder's latest progress line, and the last error line the encoder
// printed. Only the shapes teelog writes are taken: a finite percent from
// 0 to 100 and the parts x264 prints; what is shown is cut short.
struct EncoderProgress {
  std::optional<double> percent;
  std::string parts;  // "45.2%, 1234/2730 frames, 23.45 fps, eta 0:01:04"
  std::string error;  // "x264 [error]: could not open input file ..."
};
EncoderProgress ReadEncoderProgress(std::string_view text);

// How many characters of what the encoder prints the user is shown.
inline constexpr size_t kLongestShown = 160;

// A batch as the user is told of it.
struct BatchView {
  BatchRecord record;
  bool runs = false;                           // a worker of it still runs
  std::map<size_t, EncoderProgress> progress;  // by job index: running and failed jobs
  std::string waitingFor;                      // the batch it waits for, while it does
};

enum class JobState { Waiting, Running, Done, DoneWithWarnings, Failed, Stopped, NotReached };
JobState StateOf(const RecordedJob& job, bool batchRuns);
// Whether a job of a batch that no longer runs was left unfinished: stopped
// or not reached.
bool Unfinished(const RecordedJob& job);

// "1 job", "3 jobs".
std::string Counted(size_t count, std::string_view one, std::string_view many);

// When the batch started, as the user reads it: "14:02".
std::string StartedAt(const BatchRecord& record);

// The title of a batch that runs: "job 2 of 3, pass 2 of 2 (concert.avs):
// 41.5%, 166/400 frames, 20.00 fps, eta 0:00:11", "jobs 3 and 4 of 7:
// 45.0%, 12.0%", "paused: ...", "starting 3 jobs", "waiting for the batch
// started at 14:02"; at most about 200 characters.
std::string RunningText(const BatchView& batch);
// And of one that has ended: "7 jobs: 6 done, 1 failed".
std::string OutcomeText(const BatchRecord& record);
// How far the whole batch is, in thousandths.
int BatchPermille(const BatchView& batch);

// A job's state beside its first line in the job list: "running: pass 2 of
// 2, 45.2%", "failed at pass 1", ...
std::string StateText(const BatchView& batch, size_t job);

// The running jobs for the question before a stop: "concert.avs, pass 2
// of 2, 45%".
std::string RunningJobsText(const BatchView& batch);

// Every job with its outcome, and why a job failed, for the user.
std::string BatchReport(const BatchView& batch);

// The step as the record names it ("pass1"), and as the user reads it
// ("pass 1").
std::string StepText(std::string_view recorded);
