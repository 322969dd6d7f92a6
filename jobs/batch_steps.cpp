#include "jobs/batch_steps.h"

#include <algorithm>

#include "core/ascii.h"
#include "jobs/job_line.h"
#include "jobs/job_spans.h"

namespace {

std::string Append(std::string_view record, std::string_view text) {
  return "@echo " + std::string(text) + " >>\"" + std::string(record) + "\"";
}

}  // namespace

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
      const JobLine line = ReadJobLine(lines[i]);
      const bool last = i + 1 == job.first + job.count;
      if (last && line.kind == LineKind::JobEnd) break;
      out.push_back({RunByTeelog(line, lines[i]), i});
      if (i == job.first) {
        own(Append(record, "begin " + number));
        // The progress of the job before is no longer this job's.
        own("@type nul>\"" + ProgressName(record) + "\"");
      }
      if (line.kind != LineKind::Step) continue;
      const Step step = *line.step;
      if (step == Step::Pass) ++passes;
      const std::string label = "quorvel_failed_" + number + "_" + std::to_string(failures.size());
      // The size check's 1 asks for the second pass; 2 and more are its own
      // failures. A negative code (a crash) is a failure of every step.
      own(std::string("@if errorlevel ") + (step == Step::SizeCheck ? "2" : "1") + " goto " +
          label);
      own("@if not errorlevel 0 goto " + label);
      failures.push_back(":" + label + "\n" + StepName(step, passes));
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
