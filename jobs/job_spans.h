#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The jobs of a job list, as the reading of its lines (job_line.h) finds
// them.

// One job: its lines from the start line to the end line, and what they say.
struct JobSpan {
  size_t first = 0;
  size_t count = 0;
  std::uint64_t hash = 0;  // of its lines: a job whose lines changed is another job
  std::string input;       // as the user typed it, or ""
  std::string logfile;     // the log of its encodes, or ""
  // The file that holds what the job made once it has finished (the muxed
  // file, the output, or the statistics of a first pass alone), or "".
  std::string result;
  int passes = 0;
};

// The jobs of a list, in order. A start line without an end line before
// the next start line (or the end of the list) ends there.
std::vector<JobSpan> JobSpans(std::span<const std::string> lines);

// One past the last line of the job whose start line is at `start`.
size_t JobEnd(std::span<const std::string> lines, size_t start);

// What tells a job from another: the hash of its lines, frame lines and all.
std::uint64_t JobHash(std::span<const std::string> lines);

// The jobs of a list by their frame lines alone, their lines not read.
struct JobFrame {
  size_t first = 0;
  size_t count = 0;
  std::uint64_t hash = 0;
};
std::vector<JobFrame> JobFrames(std::span<const std::string> lines);
// The frames of `lines` once the lines from `at` on, `removed` of them,
// have become `inserted` others: only the jobs the change touches are read
// again, those after it move.
void UpdateJobFrames(std::vector<JobFrame>& frames, std::span<const std::string> lines, size_t at,
                     size_t removed, size_t inserted);
// The job that holds the line at `index`, if any.
std::optional<JobFrame> JobFrameAt(std::span<const JobFrame> frames, size_t index);

// Whether the line at `index` lies in one of `jobs`: the index of that job.
std::optional<size_t> JobAt(std::span<const JobSpan> jobs, size_t index);

// A job's lines between its frame lines.
std::vector<std::string> FramedJob(std::span<const std::string> body);

// The job a line belongs to, as the user knows it:
// "job 3 (D:\v\a.avs)", or "the line 7" for a line outside any job.
std::string JobOfLine(std::span<const std::string> lines, size_t index);
