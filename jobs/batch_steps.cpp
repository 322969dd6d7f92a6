#include "jobs/batch_steps.h"

#include <algorithm>

#include "jobs/batch_line.h"
#include "jobs/batch_record.h"
#include "jobs/job_line.h"
#include "jobs/job_spans.h"

namespace {

// How long a worker waits before it looks again at what it waits for.
constexpr std::string_view kLookAgainMs = "500";

// Whether a line outside any job does something that must wait for the
// jobs above it: anything but a comment, a label or a line that only shows
// text.
bool MustWait(std::string_view line) {
  const JobLine read = ReadJobLine(line);
  switch (read.kind) {
    case LineKind::Disabled:
    case LineKind::JobStart:
    case LineKind::JobEnd:
    case LineKind::Info:
      return false;
    default:
      return !read.commands.empty();
  }
}

// A name of the batch's own in double quotes; the variables in it are put
// in by the interpreter.
std::string Quoted(std::string_view name) {
  std::string text(1, '"');
  text += name;
  text += '"';
  return text;
}

class Writer {
 public:
  Writer(std::span<const std::string> lines, const WorkerPlan& plan)
      : lines_(lines), plan_(plan), spans_(JobSpans(lines)) {}

  std::vector<SteppedLine> write() {
    if (!plan_.after.empty()) {
      waitForInterpreters(plan_.after);
      own("@rmdir " + claim(batch_claims::kWaiting) + " 2>nul");
    }
    std::vector<bool> taken(spans_.size(), false);
    std::vector<size_t> number(spans_.size(), 0);  // in the batch, from 1; 0: left out
    for (size_t k = 0; k < plan_.jobs.size(); ++k) {
      number[plan_.jobs[k].span] = k + 1;
      taken[plan_.jobs[k].span] = !plan_.jobs[k].earlier;
    }
    size_t at = 0;
    for (size_t j = 0; j <= spans_.size(); ++j) {
      const size_t next = j < spans_.size() ? spans_[j].first : lines_.size();
      outside(at, next);
      if (j == spans_.size()) break;
      at = next + spans_[j].count;
      if (taken[j]) job(spans_[j], number[j]);
    }
    finish();
    return std::move(out_);
  }

 private:
  void own(std::string text) { out_.push_back({std::move(text), std::nullopt}); }
  // Waits until the interpreters `identities` have ended.
  void waitForInterpreters(const std::vector<std::string>& identities) {
    std::string wait = "@" + std::string(programs::kLullo) + " --after";
    for (const std::string& identity : identities) wait += " " + identity;
    own(wait);
  }
  void line(size_t index, std::string text) { out_.push_back({std::move(text), index}); }

  std::string record() const {
    return Quoted(plan_.files.workerRecord(Reference(kWorkerVariable)));
  }
  std::string echo(std::string_view head, const std::string& recordLine) const {
    return std::string(head.empty() ? "@" : head) + "echo " + recordLine + " >>" + record();
  }
  std::string claim(std::string_view what) const {
    return Quoted(plan_.files.claims() + "\\" + std::string(what));
  }
  // Makes the claim `what` and jumps to `taken` when another worker has
  // made it. The interpreters leave the code of a step before as it was
  // when "mkdir" succeeds: "(call )" sets it to 0 first.
  void claimOr(std::string_view what, const std::string& taken) {
    own("@(call )");
    own("@mkdir " + claim(what) + " 2>nul");
    own("@if errorlevel 1 goto " + taken);
  }
  std::string stopRequested() const {
    return "@if exist \"" + plan_.files.stopRequest() + "\" goto quorvel_stop";
  }
  // Waits until the claim `what` has been made by another worker.
  void waitFor(const std::string& label, const std::string& what, const std::string& then) {
    own(":" + label);
    own("@if exist " + claim(what) + " goto " + then);
    own(stopRequested());
    own("@" + std::string(programs::kLullo) + " " + std::string(kLookAgainMs));
    own("@goto " + label);
  }

  void job(const JobSpan& span, size_t k) {
    const std::string number = std::to_string(k);
    const std::string next = "quorvel_next_" + number;
    const std::string end = "quorvel_end_" + number;
    own(":quorvel_job_" + number);
    own(stopRequested());
    claimOr(number, next);
    own(echo("@", RecordLine(Verb::Begin, k)));
    own("@set \"QUORVEL_PROGRESS=" + plan_.files.progress(k) + "\"");
    std::vector<std::pair<std::string, std::string>> failures;  // label, step
    int passes = 0;
    const size_t last = span.first + span.count - 1;
    const bool ended = span.count > 1 && IsJobEnd(lines_[last]);
    for (size_t i = span.first; i < span.first + span.count; ++i) {
      if (ended && i == last) break;
      const JobLine read = ReadJobLine(lines_[i]);
      if (read.kind != LineKind::Step) {
        line(i, lines_[i]);
        continue;
      }
      const Step step = *read.step;
      if (step == Step::Pass) {
        ++passes;
        own(echo(read.head, RecordLine(Verb::Pass, k, std::to_string(passes))));
      }
      line(i, RunByTeelog(read, lines_[i]));
      const std::string name = StepName(step, passes);
      const std::string label = "quorvel_failed_" + number + "_" + std::to_string(failures.size());
      // A code of 1 is a failure, a warning or an answer, by the program;
      // 2 and more, and a negative code (a crash), fail every step.
      const bool oneFails = read.program->codeOne == CodeOne::Fails;
      own(std::string("@if errorlevel ") + (oneFails ? "1" : "2") + " goto " + label);
      own("@if not errorlevel 0 goto " + label);
      if (read.program->codeOne == CodeOne::Warns)
        own(echo("@if errorlevel 1 @", RecordLine(Verb::Warned, k, name + " %errorlevel%")));
      failures.emplace_back(label, name);
    }
    // The size of what the job made proves, after a power cut, that it is
    // all there.
    if (span.result.empty())
      own(echo("@", RecordLine(Verb::Done, k)));
    else
      own("@for %%f in (" + QuotedPath(span.result) + ") do " +
          echo("@", RecordLine(Verb::Done, k, "%%~zf")));
    own("@goto " + end);
    for (const auto& [label, step] : failures) {
      own(":" + label);
      own(echo("@", RecordLine(Verb::Failed, k, step + " %errorlevel%")));
      own("@goto " + end);
    }
    own(":" + end);
    if (ended) line(last, lines_[last]);
    own("@mkdir " + claim(number + ".end"));
    own(":" + next);
    sinceLines_.push_back(number);
  }

  // The lines from `from` to `to` that lie outside any job.
  void outside(size_t from, size_t to) {
    bool wait = false;
    for (size_t i = from; i < to; ++i) wait = wait || MustWait(lines_[i]);
    if (!wait) {
      for (size_t i = from; i < to; ++i) line(i, lines_[i]);
      return;
    }
    const std::string s = std::to_string(++sections_);
    const std::string name = "lines" + s;
    const std::string after = "quorvel_after_" + s;
    own(stopRequested());
    claimOr(name, "quorvel_others_" + s);
    // Every job above has ended: those since the lines before had a worker
    // each, and the workers passed those lines only once they had run.
    for (size_t i = 0; i < sinceLines_.size(); ++i) {
      const std::string label = "quorvel_wait_" + s + "_" + std::to_string(i);
      waitFor(label, sinceLines_[i] + ".end",
              i + 1 < sinceLines_.size() ? "quorvel_wait_" + s + "_" + std::to_string(i + 1)
                                         : "quorvel_run_" + s);
    }
    own(":quorvel_run_" + s);
    own(stopRequested());
    const bool shuts = std::any_of(
        lines_.begin() + static_cast<std::ptrdiff_t>(from),
        lines_.begin() + static_cast<std::ptrdiff_t>(to),
        [](const std::string& text) { return ReadJobLine(text).kind == LineKind::Shutdown; });
    if (shuts) {
      // The computer is not shut down under another batch's jobs.
      own("@mkdir " + claim(batch_claims::kSparing) + " 2>nul");
      own("@" + std::string(programs::kLullo) + " --spare " + Quoted(plan_.files.claims()));
      own(stopRequested());
    }
    for (size_t i = from; i < to; ++i) line(i, lines_[i]);
    if (shuts) own("@rmdir " + claim(batch_claims::kSparing) + " 2>nul");
    own("@mkdir " + claim(name + ".end"));
    own("@goto " + after);
    // The other workers set up their interpreters as the lines did, once
    // they have run.
    std::vector<size_t> setUp;
    for (size_t i = from; i < to && plan_.workers > 1; ++i)
      if (ReadJobLine(lines_[i]).setsUpTheInterpreter()) setUp.push_back(i);
    const std::string others = setUp.empty() ? after : "quorvel_setup_" + s;
    waitFor("quorvel_others_" + s, name + ".end", others);
    if (!setUp.empty()) own(":" + others);
    for (size_t i : setUp) line(i, lines_[i]);
    own(":" + after);
    sinceLines_.clear();
  }

  void finish() {
    own("@goto quorvel_finish");
    own(":quorvel_stop");
    own(echo("@", RecordLine(Verb::Stop)));
    own(":quorvel_finish");
    own("@mkdir " + claim("w" + Reference(kWorkerVariable)) + " 2>nul");
    for (int w = 1; w <= plan_.workers; ++w)
      own("@if not exist " + claim("w" + std::to_string(w)) + " goto :eof");
    // The workers that see each other ended: the first to claim the end.
    claimOr("end", ":eof");
    own(echo("@", RecordLine(Verb::End)));
    own("@rmdir /s /q \"" + plan_.files.claims() + "\"");
    own("@if exist \"" + plan_.files.stopRequest() + "\" del \"" + plan_.files.stopRequest() +
        "\"");
  }

  std::span<const std::string> lines_;
  const WorkerPlan& plan_;
  std::vector<JobSpan> spans_;
  std::vector<SteppedLine> out_;
  std::vector<std::string> sinceLines_;  // the jobs taken since the last lines outside
  int sections_ = 0;
};

}  // namespace

std::vector<SteppedLine> WorkerLines(std::span<const std::string> lines, const WorkerPlan& plan) {
  return Writer(lines, plan).write();
}

std::string StepName(Step kind, int pass) {
  switch (kind) {
    case Step::Pass:
      return "pass" + std::to_string(pass);
    case Step::SizeCheck:
      return "sizecheck";
    case Step::Audio:
      return "audio";
    case Step::Mux:
      return "mux";
  }
  return {};
}
