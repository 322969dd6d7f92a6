#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/batch_steps.h"
#include "jobs/job_spans.h"

// The record of a started batch: what the program wrote when it started it,
// and what the batch appended as it ran (jobs/batch_steps.h). It lies beside
// the batch file and stays until the next "Start", so that a window started
// later, or the next "Start" after a power cut, can read it:
//
//   quorvel batch
//   started 2026-12-08 14:02:33
//   job K HASH [done]     every job of the list; "done" when it was
//                         finished by an earlier batch and left out
//   input K TEXT          what the job's input line shows
//   log K PATH            the log of its encodes
//   process IDENTITY      the started batch's process
//   begin K / failed K STEP CODE / done K / end   appended by the batch
struct BatchRecord {
  enum class Outcome { NotReached, Running, Done, Failed };
  struct Job {
    std::uint64_t hash = 0;
    std::string input;
    std::string logfile;
    Outcome outcome = Outcome::NotReached;
    bool earlier = false;  // finished by an earlier batch
    std::string step;      // of a failure, as recorded ("pass1")
    std::string code;      // its exit code
  };
  std::string started;  // "2026-12-08 14:02:33"
  std::string process;
  std::vector<Job> jobs;
  bool ended = false;

  // The job that runs now (index), if any.
  std::optional<size_t> running() const;
  size_t count(Outcome outcome) const;
};

// When the batch started, as the user reads it: "14:02".
std::string StartedAt(const BatchRecord& record);

// What the program writes when it starts a batch of `lines`, leaving out
// the `skipped` jobs (indexes among JobSpans) as finished earlier.
std::string BatchRecordHeader(std::span<const std::string> lines, std::string_view started,
                              std::span<const size_t> skipped);
std::string BatchRecordProcess(std::string_view identity);

// The record as far as it can be read; nothing when it is no record.
std::optional<BatchRecord> ReadBatchRecord(std::string_view text);

// What the title shows of a running batch, with the encoder's last progress
// line (may be empty): "job 3 of 7: 45.2%, 1234/2730 frames, 23.45 fps,
// eta 0:01:04"; and of an ended one: "7 jobs: 6 done, 1 failed".
std::string RunningText(const BatchRecord& record, std::string_view progress);
std::string OutcomeText(const BatchRecord& record);
// How far the whole batch is, in thousandths.
int BatchPermille(const BatchRecord& record, std::string_view progress);

// Every job with its outcome, for the user.
std::string BatchReport(const BatchRecord& record, bool running);

// The jobs of `lines` (indexes among JobSpans) that an interrupted batch
// finished, matched by their lines: each finished job counts for one job
// of the list with the same lines.
std::vector<size_t> FinishedJobs(const BatchRecord& record, std::span<const std::string> lines);
