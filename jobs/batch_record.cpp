#include "jobs/batch_record.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "jobs/job_spans.h"

namespace {

constexpr std::string_view kFirstLine = "quorvel batch";

std::string Hex(std::uint64_t value) {
  char digits[17] = {};
  auto [end, error] = std::to_chars(digits, digits + 16, value, 16);
  (void)error;
  return std::string(digits, end);
}

// The words of a record line: the first `count - 1` words, then the rest.
std::vector<std::string_view> Words(std::string_view line, size_t count) {
  std::vector<std::string_view> words;
  while (!line.empty() && words.size() + 1 < count) {
    const size_t blank = line.find(' ');
    words.push_back(line.substr(0, blank));
    line = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
  }
  if (!line.empty()) words.push_back(line);
  return words;
}

std::optional<size_t> JobIndex(std::string_view number, size_t jobs) {
  size_t value = 0;
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size() || value == 0 || value > jobs)
    return std::nullopt;
  return value - 1;
}

// The parts of x264's progress line that say how far it is: "45.2%",
// "1234/2730 frames", "23.45 fps", "eta 0:01:04".
std::string ProgressParts(std::string_view progress) {
  while (!progress.empty() &&
         (progress.back() == '\r' || progress.back() == '\n' || progress.back() == ' '))
    progress.remove_suffix(1);
  std::vector<std::string> parts;
  if (progress.starts_with('[')) {
    const size_t close = progress.find("%]");
    if (close == std::string_view::npos) return std::string(progress);
    parts.emplace_back(progress.substr(1, close));
    progress.remove_prefix(close + 2);
  }
  while (!progress.empty()) {
    const size_t end = progress.find_first_of(",:");
    std::string_view part = progress.substr(0, end);
    while (part.starts_with(' ')) part.remove_prefix(1);
    // "eta 0:01:04" holds colons of its own.
    if (part.starts_with("eta ")) {
      parts.emplace_back(progress.substr(progress.find("eta ")));
      break;
    }
    if (part.ends_with(" frames") || part.ends_with(" fps")) parts.emplace_back(part);
    if (end == std::string_view::npos) break;
    progress.remove_prefix(end + 1);
  }
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

double ProgressFraction(std::string_view progress) {
  if (!progress.starts_with('[')) return 0;
  double percent = 0;
  const size_t close = progress.find('%');
  if (close == std::string_view::npos) return 0;
  std::from_chars(progress.data() + 1, progress.data() + close, percent);
  return std::clamp(percent / 100, 0.0, 1.0);
}

}  // namespace

std::string StartedAt(const BatchRecord& record) {
  // "2026-12-08 14:02:33": the hour and the minute.
  return record.started.size() >= 16 ? record.started.substr(11, 5) : record.started;
}

std::optional<size_t> BatchRecord::running() const {
  for (size_t i = 0; i < jobs.size(); ++i)
    if (jobs[i].outcome == Outcome::Running) return i;
  return std::nullopt;
}

size_t BatchRecord::count(Outcome outcome) const {
  return static_cast<size_t>(std::count_if(
      jobs.begin(), jobs.end(), [outcome](const Job& job) { return job.outcome == outcome; }));
}

std::string BatchRecordHeader(std::span<const std::string> lines, std::string_view started,
                              std::span<const size_t> skipped) {
  std::string text = std::string(kFirstLine) + "\r\nstarted " + std::string(started) + "\r\n";
  const std::vector<JobSpan> jobs = JobSpans(lines);
  for (size_t j = 0; j < jobs.size(); ++j) {
    const std::string number = std::to_string(j + 1);
    const bool earlier = std::find(skipped.begin(), skipped.end(), j) != skipped.end();
    text += "job " + number + " " + Hex(jobs[j].hash) + (earlier ? " done" : "") + "\r\n";
    if (!jobs[j].input.empty()) text += "input " + number + " " + jobs[j].input + "\r\n";
    if (!jobs[j].logfile.empty()) text += "log " + number + " " + jobs[j].logfile + "\r\n";
  }
  return text;
}

std::string BatchRecordProcess(std::string_view identity) {
  return "process " + std::string(identity) + "\r\n";
}

std::optional<BatchRecord> ReadBatchRecord(std::string_view text) {
  BatchRecord record;
  bool first = true;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    // The command interpreter's "echo" writes a blank before the line end.
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (first) {
      if (line != kFirstLine) return std::nullopt;
      first = false;
      continue;
    }
    const std::vector<std::string_view> words = Words(line, 3);
    if (words.empty()) continue;
    const std::string_view kind = words[0];
    if (kind == "started" && words.size() >= 2) {
      record.started = std::string(line.substr(8));
    } else if (kind == "process" && words.size() >= 2) {
      record.process = std::string(line.substr(8));
    } else if (kind == "end") {
      record.ended = true;
    } else if (kind == "job" && words.size() == 3) {
      BatchRecord::Job job;
      const std::vector<std::string_view> parts = Words(words[2], 2);
      std::from_chars(parts[0].data(), parts[0].data() + parts[0].size(), job.hash, 16);
      job.earlier = parts.size() == 2 && parts[1] == "done";
      if (job.earlier) job.outcome = BatchRecord::Outcome::Done;
      record.jobs.push_back(std::move(job));
    } else if (words.size() >= 2) {
      const std::optional<size_t> index = JobIndex(words[1], record.jobs.size());
      if (!index) continue;
      BatchRecord::Job& job = record.jobs[*index];
      const std::string rest = words.size() == 3 ? std::string(words[2]) : std::string();
      if (kind == "input") {
        job.input = rest;
      } else if (kind == "log") {
        job.logfile = rest;
      } else if (kind == "begin") {
        job.outcome = BatchRecord::Outcome::Running;
      } else if (kind == "done") {
        job.outcome = BatchRecord::Outcome::Done;
      } else if (kind == "failed") {
        job.outcome = BatchRecord::Outcome::Failed;
        const std::vector<std::string_view> parts = Words(rest, 2);
        if (!parts.empty()) job.step = parts[0];
        if (parts.size() == 2) job.code = parts[1];
      }
    }
  }
  if (first) return std::nullopt;
  return record;
}

std::string RunningText(const BatchRecord& record, std::string_view progress) {
  const std::optional<size_t> job = record.running();
  if (!job) return "starting " + std::to_string(record.jobs.size()) + " jobs";
  std::string text =
      "job " + std::to_string(*job + 1) + " of " + std::to_string(record.jobs.size());
  const std::string parts = ProgressParts(progress);
  if (!parts.empty()) text += ": " + parts;
  return text;
}

std::string OutcomeText(const BatchRecord& record) {
  using Outcome = BatchRecord::Outcome;
  std::string text = std::to_string(record.jobs.size()) +
                     " jobs: " + std::to_string(record.count(Outcome::Done)) + " done, " +
                     std::to_string(record.count(Outcome::Failed)) + " failed";
  const size_t unfinished = record.count(Outcome::NotReached) + record.count(Outcome::Running);
  if (unfinished > 0) text += ", " + std::to_string(unfinished) + " not finished";
  return text;
}

int BatchPermille(const BatchRecord& record, std::string_view progress) {
  if (record.jobs.empty()) return 1000;
  using Outcome = BatchRecord::Outcome;
  double finished =
      static_cast<double>(record.count(Outcome::Done) + record.count(Outcome::Failed));
  if (record.running()) finished += ProgressFraction(progress);
  return static_cast<int>(1000 * finished / static_cast<double>(record.jobs.size()));
}

std::string BatchReport(const BatchRecord& record, bool running) {
  using Outcome = BatchRecord::Outcome;
  std::string text = "The batch started at " + StartedAt(record) + " " +
                     (running        ? "is running"
                      : record.ended ? "ran to its end"
                                     : "stopped before its end") +
                     ".\n" + OutcomeText(record) + "\n";
  for (size_t i = 0; i < record.jobs.size(); ++i) {
    const BatchRecord::Job& job = record.jobs[i];
    text += "\njob " + std::to_string(i + 1);
    if (!job.input.empty()) text += " (" + job.input + ")";
    text += ": ";
    switch (job.outcome) {
      case Outcome::Done:
        text += job.earlier ? "done by an earlier batch" : "done";
        break;
      case Outcome::Running:
        text += running ? "running" : "stopped";
        break;
      case Outcome::NotReached:
        text += "not reached";
        break;
      case Outcome::Failed:
        text += "failed at " + StepText(job.step);
        if (!job.code.empty()) text += ", exit code " + job.code;
        if (!job.logfile.empty() && job.step.starts_with("pass")) text += ", log " + job.logfile;
        break;
    }
  }
  return text;
}

std::vector<size_t> FinishedJobs(const BatchRecord& record, std::span<const std::string> lines) {
  std::map<std::uint64_t, size_t> finished;
  for (const BatchRecord::Job& job : record.jobs)
    if (job.outcome == BatchRecord::Outcome::Done) ++finished[job.hash];
  std::vector<size_t> matched;
  const std::vector<JobSpan> jobs = JobSpans(lines);
  for (size_t j = 0; j < jobs.size(); ++j) {
    auto found = finished.find(jobs[j].hash);
    if (found == finished.end() || found->second == 0) continue;
    --found->second;
    matched.push_back(j);
  }
  return matched;
}
