#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/batch_files.h"
#include "jobs/job_programs.h"

// What the workers of a started batch run of the job list, and what they
// leave behind of how each job went.
//
// One or more interpreters, the workers, run the same batch file from its
// top. Each job is taken by the first worker that reaches it (its claim is
// a folder, which only one can make), and runs step by step: its next step
// only when the steps before it succeeded; a failed step ends the job and
// the worker goes on with the next job. An encode is run by teelog.exe,
// which judges it by what the encoder printed and exit code, and tells its
// progress. The lines outside any job run once, when every job above them
// has ended, so a shut-down line still runs last. Before each job a worker
// looks whether the user asked to stop after the running jobs. The last
// worker to end records the end and deletes the batch file.
//
// Each worker appends to its own record (batch_record.h): begin, pass,
// warned, failed, done with the size of the job's result, stop, end.

// One job of the list as a batch takes it.
struct BatchJob {
  size_t span;           // index among the JobSpans of the list
  bool earlier = false;  // finished by an earlier batch: not run
};

struct WorkerPlan {
  BatchFiles files;
  std::vector<BatchJob> jobs;  // the jobs of the batch; the others of the list are left out
  int workers = 1;
  // The interpreters of the batches this one waits for. Before a shut-down
  // line, the workers wait for every other batch of the folder that runs
  // jobs, whenever it was started (lullo.exe --spare).
  std::vector<std::string> after;
};

// A line of the batch with the job list line it stands for (none: one of
// the batch's own).
struct SteppedLine {
  std::string text;
  std::optional<size_t> source;
};

// The lines of the batch after its preamble, the last line without its line
// end.
std::vector<SteppedLine> WorkerLines(std::span<const std::string> lines, const WorkerPlan& plan);

// The step as the record names it: "pass1", "sizecheck", "audio", "mux".
std::string StepName(Step kind, int pass);
