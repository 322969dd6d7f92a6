#include "jobs/batch_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "core/path_parts.h"
#include "core/utf8.h"

namespace {

constexpr size_t kLongestTitle = 200;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

bool AllOf(std::string_view text, std::string_view allowed, size_t longest = 12) {
  return !text.empty() && text.size() <= longest &&
         text.find_first_not_of(allowed) == std::string_view::npos;
}
bool Digits(std::string_view text) { return AllOf(text, "0123456789"); }
bool Decimal(std::string_view text) {
  const size_t point = text.find('.');
  if (point == std::string_view::npos) return Digits(text);
  return Digits(text.substr(0, point)) && Digits(text.substr(point + 1));
}

std::optional<double> Percent(std::string_view text) {
  if (!Decimal(text)) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
      value < 0 || value > 100)
    return std::nullopt;
  return value;
}

// "1234" or "1234/2730".
bool FrameCount(std::string_view text) {
  const size_t slash = text.find('/');
  if (slash == std::string_view::npos) return Digits(text);
  return Digits(text.substr(0, slash)) && Digits(text.substr(slash + 1));
}

// Cuts a text shown to the user at a character, within `longest` bytes.
std::string Cut(std::string text, size_t longest) {
  if (text.size() <= longest) return text;
  size_t cut = longest;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  return text + "...";
}

// What the encoder printed, with nothing in it that is no text.
std::string Printable(std::string_view text) {
  std::string shown;
  for (char c : text) shown += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  return Cut(shown, kLongestShown);
}

// The progress line of x264 in any of its shapes:
//   [12.3%] 34/276 frames, 45.67 fps, 123.45 kb/s, eta 0:00:05
//   34 frames: 45.67 fps, 123.45 kb/s
//   encoded frames: 34/276 (12.3%), 45.67 fps, eta 0:00:05
void ReadProgressLine(std::string_view line, EncoderProgress& progress) {
  line = Trimmed(line);
  std::string percentText;
  std::vector<std::string> parts;
  if (line.starts_with('[')) {
    const size_t close = line.find("%]");
    if (close == std::string_view::npos) return;
    progress.percent = Percent(line.substr(1, close - 1));
    if (!progress.percent) return;
    percentText = std::string(line.substr(1, close - 1)) + "%";
    line.remove_prefix(close + 2);
  } else if (line.starts_with("encoded frames: ")) {
    line.remove_prefix(16);
  }
  while (!line.empty()) {
    const size_t end = line.find_first_of(",:");
    const std::string_view piece = Trimmed(line.substr(0, end));
    if (piece.starts_with("eta ")) {
      const std::string_view eta = Trimmed(line.substr(line.find("eta ") + 4));
      if (AllOf(eta, "0123456789:")) parts.push_back("eta " + std::string(eta));
      break;
    }
    const size_t blank = piece.find(' ');
    const std::string_view number = piece.substr(0, blank);
    const std::string_view unit = blank == std::string_view::npos ? "" : piece.substr(blank + 1);
    if (unit == "frames" && FrameCount(number)) parts.insert(parts.begin(), std::string(piece));
    if (unit == "fps" && Decimal(number)) parts.emplace_back(piece);
    // "34/276 (12.3%)" of the builds of 2007.
    if (unit.starts_with('(') && unit.ends_with("%)") && FrameCount(number)) {
      progress.percent = Percent(unit.substr(1, unit.size() - 3));
      if (progress.percent) percentText = std::string(unit.substr(1, unit.size() - 2));
      parts.insert(parts.begin(), std::string(number) + " frames");
    }
    if (end == std::string_view::npos) break;
    line.remove_prefix(end + 1);
  }
  if (!percentText.empty()) parts.insert(parts.begin(), percentText);
  for (const std::string& part : parts)
    progress.parts += (progress.parts.empty() ? "" : ", ") + part;
}

std::string JobName(const RecordedJob& job) {
  return job.input.empty() ? std::string() : std::string(FilePart(job.input));
}

// "pass 2 of 2" when the job has more than one.
std::string PassText(const RecordedJob& job) {
  if (job.passes < 2 || job.pass < 1) return {};
  return "pass " + std::to_string(job.pass) + " of " + std::to_string(job.passes);
}

std::vector<size_t> RunningJobs(const BatchView& batch) {
  std::vector<size_t> running;
  for (size_t i = 0; i < batch.record.jobs.size(); ++i)
    if (StateOf(batch.record.jobs[i], batch.runs) == JobState::Running) running.push_back(i);
  return running;
}

const EncoderProgress* ProgressOf(const BatchView& batch, size_t job) {
  auto found = batch.progress.find(job);
  return found == batch.progress.end() ? nullptr : &found->second;
}

size_t CountOf(const BatchRecord& record, JobState state, bool runs) {
  return static_cast<size_t>(
      std::count_if(record.jobs.begin(), record.jobs.end(),
                    [&](const RecordedJob& job) { return StateOf(job, runs) == state; }));
}

// "3 and 4", "2, 3 and 4".
std::string Enumerated(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

}  // namespace

EncoderProgress ReadEncoderProgress(std::string_view text) {
  EncoderProgress progress;
  const size_t end = text.find('\n');
  ReadProgressLine(text.substr(0, end), progress);
  if (end != std::string_view::npos) {
    std::string_view error = Trimmed(text.substr(end + 1));
    error = error.substr(0, error.find('\n'));
    progress.error = Printable(Trimmed(error));
  }
  return progress;
}

JobState StateOf(const RecordedJob& job, bool batchRuns) {
  if (job.failed) return JobState::Failed;
  if (job.done) return job.warned ? JobState::DoneWithWarnings : JobState::Done;
  if (job.begun) return batchRuns ? JobState::Running : JobState::Stopped;
  return batchRuns ? JobState::Waiting : JobState::NotReached;
}

bool Unfinished(const RecordedJob& job) {
  const JobState state = StateOf(job, false);
  return state == JobState::Stopped || state == JobState::NotReached;
}

std::string Counted(size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string StartedAt(const BatchRecord& record) {
  // "2026-12-08 14:02:33": the hour and the minute.
  return record.started.size() >= 16 ? record.started.substr(11, 5) : record.started;
}

std::string RunningText(const BatchView& batch) {
  const BatchRecord& record = batch.record;
  const std::string of = " of " + std::to_string(record.jobs.size());
  std::string text;
  const std::vector<size_t> running = RunningJobs(batch);
  if (!batch.waitingFor.empty()) {
    text = "waiting for the batch started at " + batch.waitingFor;
  } else if (running.empty()) {
    size_t toRun = 0;
    for (const RecordedJob& job : record.jobs) toRun += job.done ? 0 : 1;
    text = "starting " + Counted(toRun, "job", "jobs");
  } else if (running.size() == 1) {
    const RecordedJob& job = record.jobs[running[0]];
    text = "job " + std::to_string(running[0] + 1) + of;
    if (const std::string pass = PassText(job); !pass.empty()) text += ", " + pass;
    if (const std::string name = JobName(job); !name.empty()) text += " (" + name + ")";
    if (const EncoderProgress* progress = ProgressOf(batch, running[0]);
        progress && !progress->parts.empty())
      text += ": " + progress->parts;
  } else {
    std::vector<std::string> numbers;
    std::string percents;
    for (size_t job : running) {
      numbers.push_back(std::to_string(job + 1));
      const EncoderProgress* progress = ProgressOf(batch, job);
      char percent[16] = "0.0%";
      if (progress && progress->percent)
        std::snprintf(percent, sizeof percent, "%.1f%%", *progress->percent);
      percents += (percents.empty() ? "" : ", ") + std::string(percent);
    }
    text = "jobs " + Enumerated(numbers) + of + ": " + percents;
  }
  if (record.paused) text = "paused: " + text;
  return Cut(text, kLongestTitle);
}

std::string OutcomeText(const BatchRecord& record) {
  const size_t done = CountOf(record, JobState::Done, false);
  const size_t warned = CountOf(record, JobState::DoneWithWarnings, false);
  std::string text = Counted(record.jobs.size(), "job", "jobs");
  if (record.stoppedByUser()) text += ", stopped";
  text += ": " + std::to_string(done + warned) + " done";
  if (warned > 0) text += " (" + std::to_string(warned) + " with warnings)";
  text += ", " + std::to_string(CountOf(record, JobState::Failed, false)) + " failed";
  const size_t unfinished =
      CountOf(record, JobState::Stopped, false) + CountOf(record, JobState::NotReached, false);
  if (unfinished > 0) text += ", " + std::to_string(unfinished) + " not finished";
  return text;
}

int BatchPermille(const BatchView& batch) {
  const BatchRecord& record = batch.record;
  if (record.jobs.empty()) return 1000;
  double finished = 0;
  for (size_t i = 0; i < record.jobs.size(); ++i) {
    const JobState state = StateOf(record.jobs[i], batch.runs);
    if (state == JobState::Done || state == JobState::DoneWithWarnings || state == JobState::Failed)
      finished += 1;
    const EncoderProgress* progress = ProgressOf(batch, i);
    if (state == JobState::Running && progress && progress->percent) {
      // Each pass is its share of the job.
      const RecordedJob& job = record.jobs[i];
      const double passes = std::max(1, job.passes);
      const double before = std::clamp(job.pass - 1, 0, job.passes) / passes;
      finished += before + *progress->percent / 100 / passes;
    }
  }
  return static_cast<int>(1000 * finished / static_cast<double>(record.jobs.size()));
}

std::string StepText(std::string_view recorded) {
  if (recorded.starts_with("pass")) return "pass " + std::string(recorded.substr(4));
  if (recorded == "sizecheck") return "size check";
  return std::string(recorded);
}

std::string StateText(const BatchView& batch, size_t index) {
  const RecordedJob& job = batch.record.jobs[index];
  switch (StateOf(job, batch.runs)) {
    case JobState::Waiting:
      return batch.record.paused ? "paused" : "waiting";
    case JobState::Running: {
      std::string text = batch.record.paused ? "paused" : "running";
      std::string detail = PassText(job);
      const EncoderProgress* progress = ProgressOf(batch, index);
      if (progress && progress->percent) {
        char percent[16];
        std::snprintf(percent, sizeof percent, "%.1f%%", *progress->percent);
        detail += (detail.empty() ? "" : ", ") + std::string(percent);
      }
      return detail.empty() ? text : text + ": " + detail;
    }
    case JobState::Done:
      return job.earlier ? "done earlier" : "done";
    case JobState::DoneWithWarnings:
      return "done with warnings";
    case JobState::Failed:
      return "failed at " + StepText(job.step);
    case JobState::Stopped:
      return "stopped";
    case JobState::NotReached:
      return "not reached";
  }
  return {};
}

std::string RunningJobsText(const BatchView& batch) {
  std::vector<std::string> jobs;
  for (size_t index : RunningJobs(batch)) {
    const RecordedJob& job = batch.record.jobs[index];
    std::string text = JobName(job).empty() ? "job " + std::to_string(index + 1) : JobName(job);
    if (const std::string pass = PassText(job); !pass.empty()) text += ", " + pass;
    const EncoderProgress* progress = ProgressOf(batch, index);
    if (progress && progress->percent)
      text += ", " + std::to_string(static_cast<int>(*progress->percent)) + "%";
    jobs.push_back(std::move(text));
  }
  std::string text;
  for (const std::string& job : jobs) text += (text.empty() ? "" : "; ") + job;
  return text;
}

std::string BatchReport(const BatchView& batch) {
  const BatchRecord& record = batch.record;
  const char* how = batch.runs               ? (record.paused ? "is paused" : "is running")
                    : record.stoppedByUser() ? "was stopped"
                    : record.ended           ? "ran to its end"
                                             : "stopped before its end";
  std::string text =
      "The batch started at " + StartedAt(record) + " " + how + ".\n" + OutcomeText(record) + "\n";
  for (size_t i = 0; i < record.jobs.size(); ++i) {
    const RecordedJob& job = record.jobs[i];
    text += "\njob " + std::to_string(i + 1);
    if (!job.input.empty()) text += " (" + job.input + ")";
    text += ": ";
    const JobState state = StateOf(job, batch.runs);
    switch (state) {
      case JobState::Done:
        text += job.earlier ? "done by an earlier batch" : "done";
        break;
      case JobState::DoneWithWarnings:
        text +=
            "done with warnings: the " + StepText(job.step) + " ended with exit code " + job.code;
        break;
      case JobState::Failed: {
        text += "failed at " + StepText(job.step);
        if (!job.code.empty()) text += ", exit code " + job.code;
        const bool pass = job.step.starts_with("pass");
        if (!job.logfile.empty() && pass) text += ", log " + job.logfile;
        const EncoderProgress* progress = ProgressOf(batch, i);
        if (pass && progress && !progress->error.empty()) text += "\n    " + progress->error;
        break;
      }
      default:
        text += StateText(batch, i);
        break;
    }
  }
  return text;
}
