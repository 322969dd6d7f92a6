#include "jobs/job_spans.h"

#include <algorithm>

#include "core/ascii.h"
#include "core/path_parts.h"
#include "jobs/job_line.h"

namespace {

// Follows what a job's lines write to the file that holds its work at the
// end: the output of a pass, the audio of a job without video, the muxed
// file, and that file under the name a rename gives it.
void FollowResult(const JobLine& line, JobSpan& job) {
  if (line.kind == LineKind::CleanUp) {
    const LineCommand& command = line.commands[0];
    const std::string program = AsciiLower(command.program);
    const bool rename = program == "ren" || program == "rename";
    if (rename && command.arguments.size() == 2 && command.arguments[0] == job.result)
      job.result = std::string(FolderPart(job.result)) + command.arguments[1];
    return;
  }
  if (line.kind != LineKind::Step) return;
  const std::string written = line.writes();
  switch (*line.step) {
    case Step::Pass:
      ++job.passes;
      if (job.logfile.empty()) job.logfile = line.log;
      if (!written.empty())
        job.result = written;
      else if (job.result.empty())
        job.result = ArgumentAfter(line.commands[0], "--stats");
      break;
    case Step::Audio:
      if (job.result.empty()) job.result = written;
      break;
    case Step::Mux:
      if (!written.empty()) job.result = written;
      break;
    case Step::SizeCheck:
      break;
  }
}

}  // namespace

std::uint64_t JobHash(std::span<const std::string> lines) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const std::string& line : lines) {
    for (unsigned char c : line) hash = (hash ^ c) * 1099511628211ull;
    hash = (hash ^ '\n') * 1099511628211ull;
  }
  return hash;
}

size_t JobEnd(std::span<const std::string> lines, size_t start) {
  size_t end = start + 1;
  while (end < lines.size() && !IsJobEnd(lines[end]) && !IsJobStart(lines[end])) ++end;
  return end < lines.size() && IsJobEnd(lines[end]) ? end + 1 : end;
}

namespace {

// The jobs whose start lines lie from `from` to `to`, where a start line or
// the end of the list is.
std::vector<JobFrame> FramesFrom(std::span<const std::string> lines, size_t from, size_t to) {
  std::vector<JobFrame> jobs;
  for (size_t at = from; at < to; ++at) {
    if (!IsJobStart(lines[at])) continue;
    const size_t end = JobEnd(lines, at);
    jobs.push_back({at, end - at, JobHash(lines.subspan(at, end - at))});
    at = end - 1;
  }
  return jobs;
}

}  // namespace

std::vector<JobFrame> JobFrames(std::span<const std::string> lines) {
  return FramesFrom(lines, 0, lines.size());
}

void UpdateJobFrames(std::vector<JobFrame>& frames, std::span<const std::string> lines, size_t at,
                     size_t removed, size_t inserted) {
  // Every start line begins a job, and a job is what its lines up to its
  // end line say, or up to the start line after it when it has none. The
  // jobs told before the change stay; those that begin after it move.
  auto end = [](const JobFrame& job) { return job.first + job.count; };
  auto lo = std::partition_point(frames.begin(), frames.end(),
                                 [&](const JobFrame& job) { return end(job) < at; });
  if (lo != frames.end() && end(*lo) == at && IsJobEnd(lines[at - 1])) ++lo;
  auto hi = std::partition_point(lo, frames.end(),
                                 [&](const JobFrame& job) { return job.first < at + removed; });
  for (auto job = hi; job != frames.end(); ++job) job->first = job->first + inserted - removed;
  const size_t from = lo != hi && lo->first < at ? lo->first : at;
  const size_t to = hi != frames.end() ? hi->first : lines.size();
  const std::vector<JobFrame> fresh = FramesFrom(lines, from, to);
  const auto kept = frames.erase(lo, hi);
  frames.insert(kept, fresh.begin(), fresh.end());
}

namespace {

// Which of `jobs` (in list order, each with its `first` line and `count`)
// holds the line `index`.
template <class Job>
std::optional<size_t> Holding(std::span<const Job> jobs, size_t index) {
  auto after = std::upper_bound(jobs.begin(), jobs.end(), index,
                                [](size_t at, const Job& job) { return at < job.first; });
  if (after == jobs.begin()) return std::nullopt;
  const Job& job = *std::prev(after);
  if (index >= job.first + job.count) return std::nullopt;
  return static_cast<size_t>(std::prev(after) - jobs.begin());
}

}  // namespace

std::optional<JobFrame> JobFrameAt(std::span<const JobFrame> frames, size_t index) {
  if (const std::optional<size_t> k = Holding(frames, index)) return frames[*k];
  return std::nullopt;
}

std::vector<JobSpan> JobSpans(std::span<const std::string> lines) {
  std::vector<JobSpan> jobs;
  for (const JobFrame& frame : JobFrames(lines)) {
    const size_t at = frame.first;
    const size_t end = at + frame.count;
    JobSpan job{at, frame.count, frame.hash, {}, {}, {}, 0};
    for (size_t i = at + 1; i < end; ++i) {
      const JobLine line = ReadJobLine(lines[i]);
      if (line.kind == LineKind::Info && line.info == Info::Input && job.input.empty())
        job.input = line.value;
      FollowResult(line, job);
    }
    jobs.push_back(std::move(job));
  }
  return jobs;
}

std::optional<size_t> JobAt(std::span<const JobSpan> jobs, size_t index) {
  return Holding(jobs, index);
}

std::vector<std::string> FramedJob(std::span<const std::string> body) {
  std::vector<std::string> framed{std::string(kJobStart)};
  framed.insert(framed.end(), body.begin(), body.end());
  framed.emplace_back(kJobEnd);
  return framed;
}

std::string JobOfLine(std::span<const std::string> lines, size_t index) {
  const std::vector<JobSpan> jobs = JobSpans(lines);
  const std::optional<size_t> job = JobAt(jobs, index);
  if (!job) return "the line " + std::to_string(index + 1);
  std::string text = "job " + std::to_string(*job + 1);
  if (!jobs[*job].input.empty()) text += " (" + jobs[*job].input + ")";
  return text;
}
