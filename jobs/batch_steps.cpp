#include "jobs/batch_steps.h"

#include <algorithm>

#include "core/ascii.h"
#include "jobs/called_programs.h"
#include "jobs/job_script.h"

namespace {

constexpr std::string_view kDisabled = "@rem ";
constexpr std::string_view kLogPipe = " 2>&1|teelog.exe ";
constexpr std::string_view kEncoder = "x264.exe ";

bool IsProgram(const std::string& program, std::initializer_list<std::string_view> names) {
  std::string lower = AsciiLower(program);
  if (lower.ends_with(".exe")) lower.resize(lower.size() - 4);
  return std::find(names.begin(), names.end(), lower) != names.end();
}

// Where the first of the interpreter's operators outside quotes stands.
size_t FirstOperator(std::string_view text) {
  bool quoted = false;
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '"') quoted = !quoted;
    if (!quoted && std::string_view("|<>&").find(text[at]) != std::string_view::npos) return at;
  }
  return std::string_view::npos;
}

// The pass line run by teelog.exe, which judges the encode and shows its
// progress: "@x264.exe ARGS 2>&1|teelog.exe "LOG"" (or without the log pipe)
// becomes "@teelog.exe --run "LOG" x264.exe ARGS". A line the user gave a
// redirection of its own stays as it is.
std::string RunByTeelog(const std::string& line) {
  std::string_view head = "@";
  if (line.starts_with("@if errorlevel 1 @")) head = "@if errorlevel 1 @";
  std::string_view rest = std::string_view(line).substr(head.size());
  if (!line.starts_with(head) || !rest.starts_with(kEncoder)) return line;
  std::string log = "\"\"";
  const size_t pipe = rest.rfind(kLogPipe);
  if (pipe != std::string_view::npos && FirstOperator(rest) == pipe + 2) {
    const std::string_view quoted = rest.substr(pipe + kLogPipe.size());
    const bool one =
        quoted.size() >= 2 && quoted.front() == '"' && quoted.find('"', 1) == quoted.size() - 1;
    if (!one) return line;
    log = quoted;
    rest = rest.substr(0, pipe);
  } else if (FirstOperator(rest) != std::string_view::npos) {
    return line;
  }
  return std::string(head) + "teelog.exe --run " + log + " " + std::string(rest);
}

// The log path of a pass line's log pipe, as the line writes it.
std::string LogOfLine(std::string_view line) {
  const size_t pipe = line.rfind(kLogPipe);
  if (pipe == std::string_view::npos) return {};
  std::string_view quoted = line.substr(pipe + kLogPipe.size());
  if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return {};
  std::string log;
  quoted = quoted.substr(1, quoted.size() - 2);
  // The line doubles every "%".
  for (size_t at = 0; at < quoted.size(); ++at) {
    log += quoted[at];
    if (quoted[at] == '%' && at + 1 < quoted.size() && quoted[at + 1] == '%') ++at;
  }
  return log;
}

std::uint64_t HashOf(std::span<const std::string> lines) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const std::string& line : lines) {
    for (unsigned char c : line) hash = (hash ^ c) * 1099511628211ull;
    hash = (hash ^ '\n') * 1099511628211ull;
  }
  return hash;
}

std::string Append(std::string_view record, std::string_view text) {
  return "@echo " + std::string(text) + " >>\"" + std::string(record) + "\"";
}

}  // namespace

std::optional<StepKind> StepOfLine(std::string_view line) {
  if (line.starts_with(kDisabled)) return std::nullopt;
  const std::string whole(line);
  const std::vector<std::string> programs = CalledPrograms(std::span(&whole, 1));
  if (programs.empty()) return std::nullopt;
  const std::string& first = programs.front();
  if (IsProgram(first, {"x264"})) return StepKind::Pass;
  if (IsProgram(first, {"gaugit"})) return StepKind::SizeCheck;
  if (IsProgram(first, {"bepipe", "enc_aacplus", "neroaacenc", "faac"})) return StepKind::Audio;
  if (IsProgram(first, {"mp4box", "mp4creator", "mkvmerge"})) return StepKind::Mux;
  return std::nullopt;
}

std::vector<JobSpan> JobSpans(std::span<const std::string> lines) {
  std::vector<JobSpan> jobs;
  for (size_t at = 0; at < lines.size(); ++at) {
    if (!IsJobStart(lines[at])) continue;
    size_t end = at + 1;
    while (end < lines.size() && !IsJobEnd(lines[end]) && !IsJobStart(lines[end])) ++end;
    if (end < lines.size() && IsJobEnd(lines[end])) ++end;
    JobSpan job{at, end - at, HashOf(lines.subspan(at, end - at)), {}};
    for (size_t i = at; i < end && job.logfile.empty(); ++i)
      if (StepOfLine(lines[i]) == StepKind::Pass) job.logfile = LogOfLine(lines[i]);
    jobs.push_back(std::move(job));
    at = end - 1;
  }
  return jobs;
}

std::vector<SteppedLine> SteppedJobLines(std::span<const std::string> lines,
                                         std::string_view record, std::span<const size_t> skipped) {
  std::vector<SteppedLine> out;
  auto own = [&out](std::string text) { out.push_back({std::move(text), std::nullopt}); };
  const std::vector<JobSpan> jobs = JobSpans(lines);
  size_t at = 0;
  for (size_t j = 0; j <= jobs.size(); ++j) {
    // The lines outside any job run as they are.
    const size_t next = j < jobs.size() ? jobs[j].first : lines.size();
    for (; at < next; ++at) out.push_back({lines[at], at});
    if (j == jobs.size()) break;
    const JobSpan& job = jobs[j];
    at = job.first + job.count;
    if (std::find(skipped.begin(), skipped.end(), j) != skipped.end()) continue;
    const std::string number = std::to_string(j + 1);
    const std::string end = "quorvel_end_" + number;
    std::vector<std::string> failures;  // the labels of the steps, with their names
    int passes = 0;
    for (size_t i = job.first; i < job.first + job.count; ++i) {
      const std::optional<StepKind> step = StepOfLine(lines[i]);
      const bool last = i + 1 == job.first + job.count;
      if (last && IsJobEnd(lines[i])) break;
      out.push_back({step == StepKind::Pass ? RunByTeelog(lines[i]) : lines[i], i});
      if (i == job.first) {
        own(Append(record, "begin " + number));
        // The progress of the job before is no longer this job's.
        own("@type nul>\"" + ProgressName(record) + "\"");
      }
      if (!step) continue;
      if (*step == StepKind::Pass) ++passes;
      const std::string label = "quorvel_failed_" + number + "_" + std::to_string(failures.size());
      // The size check's 1 asks for the second pass; 2 and more are its own
      // failures. A negative code (a crash) is a failure of every step.
      own(std::string("@if errorlevel ") + (*step == StepKind::SizeCheck ? "2" : "1") + " goto " +
          label);
      own("@if not errorlevel 0 goto " + label);
      failures.push_back(":" + label + "\n" + StepName(*step, passes));
    }
    own(Append(record, "done " + number));
    own("@goto " + end);
    for (const std::string& failure : failures) {
      const size_t split = failure.find('\n');
      own(failure.substr(0, split));
      own(Append(record, "failed " + number + " " + failure.substr(split + 1) + " %errorlevel%"));
      own("@goto " + end);
    }
    own(":" + end);
    const size_t last = job.first + job.count - 1;
    if (IsJobEnd(lines[last]) && last != job.first) out.push_back({lines[last], last});
  }
  own(Append(record, "end"));
  return out;
}

std::string StepName(StepKind kind, int pass) {
  switch (kind) {
    case StepKind::Pass:
      return "pass" + std::to_string(pass);
    case StepKind::SizeCheck:
      return "sizecheck";
    case StepKind::Audio:
      return "audio";
    case StepKind::Mux:
      return "mux";
  }
  return {};
}

std::string StepText(std::string_view recorded) {
  if (recorded.starts_with("pass")) return "pass " + std::string(recorded.substr(4));
  if (recorded == "sizecheck") return "size check";
  return std::string(recorded);
}

std::string RecordName(std::string_view batchName) {
  return std::string(batchName.substr(0, batchName.rfind('.'))) + ".record";
}

std::string ProgressName(std::string_view batchName) {
  return std::string(batchName.substr(0, batchName.rfind('.'))) + ".progress";
}
