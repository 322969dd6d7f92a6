#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/job_programs.h"

// What a started batch runs of each job, step by step, and what it leaves
// behind of how each job went.
//
// In the batch "Start" runs, a job runs its next step only when the steps
// before it succeeded; a failed step ends the job and the batch goes on with
// the next one. An encode is run by teelog.exe, which judges it by what the
// encoder printed and shows its progress: x264's exit code is 0 after
// Ctrl+C, and a pipe would hide it.
//
// The batch appends to its record file, in the program folder:
//
//   begin K            job K has begun
//   failed K STEP CODE its step STEP (pass1, pass2, sizecheck, audio, mux)
//                      ended with exit code CODE; the job ends there
//   done K             every step of job K succeeded
//   end                the batch ran to its last line

// A line of the batch with the job line it stands for (none: one of the
// batch's own).
struct SteppedLine {
  std::string text;
  std::optional<size_t> source;
};

// The job lines as the started batch runs them, appending to `record` (a
// file name in the current folder). `skipped` jobs (indexes among JobSpans)
// are left out.
std::vector<SteppedLine> SteppedJobLines(std::span<const std::string> lines,
                                         std::string_view record,
                                         std::span<const size_t> skipped = {});

// The record and the progress file of the batch file `batchName`
// ("temp.bat": "temp.record", "temp.progress"), in the same folder.
std::string RecordName(std::string_view batchName);
std::string ProgressName(std::string_view batchName);

// The step as the record names it ("pass1"), and as the user reads it
// ("pass 1").
std::string StepName(Step kind, int pass);
std::string StepText(std::string_view recorded);
