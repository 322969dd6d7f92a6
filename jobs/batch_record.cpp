#include "jobs/batch_record.h"

#include <algorithm>
#include <charconv>

#include "jobs/job_spans.h"
#include "ui/window.h"

namespace {

// What follows the word of a verb.
enum class Fields {
  None,
  Text,         // the rest of the line
  Number,       // a whole number
  Job,          // a job number
  JobText,      // a job number, then the rest of the line
  JobNumber,    // a job number, then a whole number
  JobStepCode,  // a job number, a step and an exit code
  JobSize,      // a job number, then a size that may be missing
};

struct VerbRow {
  Verb verb;
  std::string_view word;
  Fields fields;
};

constexpr VerbRow kVerbs[] = {
    {Verb::Started, "started", Fields::Text},
    {Verb::Workers, "workers", Fields::Number},
    {Verb::Job, "job", Fields::JobText},
    {Verb::Earlier, "earlier", Fields::JobSize},
    {Verb::Input, "input", Fields::JobText},
    {Verb::Log, "log", Fields::JobText},
    {Verb::Result, "result", Fields::JobText},
    {Verb::Passes, "passes", Fields::JobNumber},
    {Verb::Line, "line", Fields::JobText},
    {Verb::Process, "process", Fields::Text},
    {Verb::After, "after", Fields::Text},
    {Verb::Paused, "paused", Fields::None},
    {Verb::Resumed, "resumed", Fields::None},
    {Verb::Stopped, "stopped", Fields::None},
    {Verb::Begin, "begin", Fields::Job},
    {Verb::Pass, "pass", Fields::JobNumber},
    {Verb::Warned, "warned", Fields::JobStepCode},
    {Verb::Failed, "failed", Fields::JobStepCode},
    {Verb::Done, "done", Fields::JobSize},
    {Verb::Stop, "stop", Fields::None},
    {Verb::End, "end", Fields::None},
};

const VerbRow& RowOf(Verb verb) { return kVerbs[static_cast<size_t>(verb)]; }

// The longest line a writer writes: a job line of the longest the
// interpreter reads, with its verb.
constexpr size_t kLongestLine = 16 * 1024;

std::string Hex(std::uint64_t value) {
  char digits[17] = {};
  auto [end, error] = std::to_chars(digits, digits + 16, value, 16);
  (void)error;
  return std::string(digits, end);
}

// A whole number of the record: digits only, and within its type.
template <class Number>
std::optional<Number> NumberOf(std::string_view text, int base = 10) {
  Number value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      text.front() == '-' || text.front() == '+')
    return std::nullopt;
  return value;
}

// The first word of `text` and what follows the blank after it.
std::pair<std::string_view, std::string_view> Split(std::string_view text) {
  const size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return {text, {}};
  return {text.substr(0, blank), text.substr(blank + 1)};
}

}  // namespace

std::string_view VerbWord(Verb verb) { return RowOf(verb).word; }

std::string RecordLine(Verb verb) { return std::string(VerbWord(verb)); }

std::string RecordLine(Verb verb, std::string_view text) {
  return std::string(VerbWord(verb)) + " " + std::string(text);
}

std::string RecordLine(Verb verb, size_t job, std::string_view text) {
  std::string line = std::string(VerbWord(verb)) + " " + std::to_string(job);
  if (!text.empty()) line += " " + std::string(text);
  return line;
}

void RecordReader::take(std::string_view bytes, size_t file) {
  if (file > 0 && state_ != State::Reading) return;
  if (partial_.size() <= file) partial_.resize(file + 1);
  Partial& partial = partial_[file];
  while (!bytes.empty() && state_ != State::Other) {
    const size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    if (!partial.overlong) {
      if (partial.text.size() + piece.size() > kLongestLine) {
        partial.overlong = true;
        partial.text.clear();
      } else {
        partial.text.append(piece);
      }
    }
    if (end == std::string_view::npos) return;
    bytes.remove_prefix(end + 1);
    if (!partial.overlong) line(partial.text);
    partial.text.clear();
    partial.overlong = false;
  }
}

namespace {

// What a line of the batch's own says.
void ApplyToBatch(BatchRecord& r, Verb verb, std::string_view fields) {
  switch (verb) {
    case Verb::Started:
      r.started = fields;
      break;
    case Verb::Workers:
      // No more workers than a batch is started with: each has a file.
      if (const std::optional<int> n = NumberOf<int>(fields); n && *n >= 1 && *n <= kMostJobsAtOnce)
        r.workers = *n;
      break;
    case Verb::Process:
      if (!fields.empty() && fields.find(' ') == std::string_view::npos)
        r.processes.emplace_back(fields);
      break;
    case Verb::After:
      r.after = fields;
      break;
    case Verb::Paused:
    case Verb::Resumed:
      r.paused = verb == Verb::Paused;
      break;
    case Verb::Stopped:
      r.stopped = true;
      r.paused = false;
      break;
    case Verb::Stop:
      r.stopSeen = true;
      break;
    case Verb::End:
      r.ended = true;
      break;
    default:
      break;
  }
}

// What a line of job `job` says.
void ApplyToJob(RecordedJob& job, Verb verb, std::string_view fields) {
  switch (verb) {
    case Verb::Input:
      job.input = fields;
      break;
    case Verb::Log:
      job.logfile = fields;
      break;
    case Verb::Result:
      job.result = fields;
      break;
    case Verb::Line:
      job.lines.emplace_back(fields);
      break;
    case Verb::Passes:
      if (const std::optional<int> n = NumberOf<int>(fields)) job.passes = *n;
      break;
    case Verb::Begin:
      job.begun = true;
      break;
    case Verb::Pass:
      if (const std::optional<int> n = NumberOf<int>(fields)) job.pass = *n;
      break;
    case Verb::Earlier:
    case Verb::Done:
      job.earlier = job.earlier || verb == Verb::Earlier;
      job.done = true;
      job.size = NumberOf<std::uint64_t>(fields);
      break;
    case Verb::Warned:
    case Verb::Failed: {
      const auto [step, code] = Split(fields);
      if (step.empty()) return;
      (verb == Verb::Failed ? job.failed : job.warned) = true;
      job.step = step;
      job.code = code;
      break;
    }
    default:
      break;
  }
}

bool NamesAJob(Fields fields) {
  return fields != Fields::None && fields != Fields::Text && fields != Fields::Number;
}

}  // namespace

void RecordReader::line(std::string_view text) {
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  if (state_ == State::First) {
    state_ = text == kRecordFirstLine ? State::Reading : State::Other;
    return;
  }
  const auto [word, after] = Split(text);
  const auto row = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                [word = word](const VerbRow& each) { return each.word == word; });
  if (row == std::end(kVerbs)) return;
  // The interpreter's echo leaves a blank before the line end; a text the
  // program wrote stays as it is.
  std::string_view fields = after;
  if (row->fields != Fields::Text && row->fields != Fields::JobText)
    while (!fields.empty() && fields.back() == ' ') fields.remove_suffix(1);
  if (!NamesAJob(row->fields)) return ApplyToBatch(record_, row->verb, fields);
  // The job a line names: the next one for "job", a known one otherwise.
  const auto [number, more] = Split(fields);
  const std::optional<size_t> k = NumberOf<size_t>(number);
  std::vector<RecordedJob>& jobs = record_.jobs;
  if (!k || *k == 0 || *k > jobs.size() + (row->verb == Verb::Job ? 1 : 0)) return;
  if (row->verb != Verb::Job) return ApplyToJob(jobs[*k - 1], row->verb, more);
  const std::optional<std::uint64_t> hash = NumberOf<std::uint64_t>(more, 16);
  if (*k == jobs.size() + 1 && hash) jobs.emplace_back().hash = *hash;
}

std::optional<BatchRecord> ReadBatchRecord(std::string_view text) {
  RecordReader reader;
  reader.take(text);
  reader.take("\n");  // a last line without its line end
  if (!reader.valid()) return std::nullopt;
  return reader.record();
}

std::string BatchRecordHeader(std::span<const std::string> lines, std::span<const HeaderJob> jobs,
                              std::string_view started, int workers,
                              std::span<const std::string> processes, std::string_view after) {
  const std::vector<JobSpan> spans = JobSpans(lines);
  std::string text = std::string(kRecordFirstLine) + "\r\n";
  auto add = [&text](const std::string& line) { text += line + "\r\n"; };
  add(RecordLine(Verb::Started, started));
  add(RecordLine(Verb::Workers, std::to_string(workers)));
  for (size_t k = 1; k <= jobs.size(); ++k) {
    const JobSpan& span = spans[jobs[k - 1].span];
    add(RecordLine(Verb::Job, k, Hex(span.hash)));
    if (jobs[k - 1].earlier)
      add(RecordLine(Verb::Earlier, k,
                     jobs[k - 1].size ? std::to_string(*jobs[k - 1].size) : std::string()));
    if (!span.input.empty()) add(RecordLine(Verb::Input, k, span.input));
    if (!span.logfile.empty()) add(RecordLine(Verb::Log, k, span.logfile));
    if (!span.result.empty()) add(RecordLine(Verb::Result, k, span.result));
    if (span.passes > 0) add(RecordLine(Verb::Passes, k, std::to_string(span.passes)));
    for (size_t i = span.first; i < span.first + span.count; ++i)
      add(RecordLine(Verb::Line, k, lines[i]));
  }
  for (const std::string& process : processes) add(RecordLine(Verb::Process, process));
  if (!after.empty()) add(RecordLine(Verb::After, after));
  return text;
}
