#include "jobs/job_script.h"

#include <algorithm>
#include <map>

#include "core/utf8.h"
#include "jobs/batch_line.h"
#include "jobs/batch_steps.h"
#include "jobs/job_programs.h"
#include "jobs/job_spans.h"
#include "ui/window.h"

namespace {

void AppendJobLines(std::span<const std::string> jobLines, std::string& script) {
  for (const std::string& line : jobLines) {
    script += line;
    script += "\r\n";
  }
}

// The length of the UTF-8 character that starts with `lead` (1 for a byte
// that starts none).
size_t CharacterLength(unsigned char lead) { return std::max<size_t>(1, Utf8SequenceLength(lead)); }

// The variables of one "Start" batch: one per distinct value, in the order
// they are first needed.
class Variables {
 public:
  std::string reference(const std::string& value) {
    auto [found, added] = names_.try_emplace(value, "");
    if (added) {
      found->second = "QUORVEL_" + std::to_string(names_.size());
      order.emplace_back(found->second, value);
    }
    return '%' + found->second + '%';
  }

  std::vector<std::pair<std::string, std::string>> order;

 private:
  std::map<std::string, std::string> names_;
};

// Writes each longest run of characters that the console cannot spell as
// a variable, in quoted and unquoted text alike. A value then holds nothing
// the command interpreter reads: Windows' puts it into the line as it is,
// and Wine's, which reads what it put in once more for "%", finds none. The
// text around a run stays as the writer wrote it, its "%" doubled.
class Speller {
 public:
  Speller(const std::function<bool(std::string_view)>& spelled, Variables& variables)
      : spelled_(spelled), variables_(variables) {}

  std::string line(std::string_view text) {
    std::string out;
    std::string run;
    for (size_t at = 0; at < text.size();) {
      const auto lead = static_cast<unsigned char>(text[at]);
      const size_t length = std::min(CharacterLength(lead), text.size() - at);
      const std::string_view character = text.substr(at, length);
      if (lead < 0x80 || spelled_(character)) {
        if (!run.empty()) out += variables_.reference(run);
        run.clear();
        out += character;
      } else {
        run += character;
      }
      at += length;
    }
    if (!run.empty()) out += variables_.reference(run);
    return out;
  }

 private:
  const std::function<bool(std::string_view)>& spelled_;
  Variables& variables_;
};

// The length of a line as the command interpreter reads it once it has put
// in the variables: "%%" is one character, a known variable its value.
size_t ExpandedLength(std::string_view line, const std::map<std::string, std::string>& values) {
  size_t length = 0;
  for (size_t at = 0; at < line.size();) {
    if (line[at] == '%') {
      if (at + 1 < line.size() && line[at + 1] == '%') {
        ++length;
        at += 2;
        continue;
      }
      const size_t close = line.find('%', at + 1);
      if (close != std::string_view::npos) {
        auto found = values.find(std::string(line.substr(at + 1, close - at - 1)));
        if (found != values.end()) {
          length += InterpreterLength(found->second);
          at = close + 1;
          continue;
        }
      }
    }
    const size_t next = line.find('%', at + 1);
    const size_t end = next == std::string_view::npos ? line.size() : next;
    length += InterpreterLength(line.substr(at, end - at));
    at = end;
  }
  return length;
}

// The lines before the job lines: the program's folder becomes the current
// directory and envprep.exe sets up the search path, through the file
// "envprep.bat", or through a file of each worker's own in a started batch.
std::vector<std::string> Preamble(std::string_view programFolder, const std::string& file) {
  const std::string named = file.empty() ? "envprep.bat" : "\"" + file + "\"";
  return {"@cd /d " + QuotedPath(programFolder),
          "@" + std::string(programs::kEnvprep) + " run" + (file.empty() ? "" : " " + named),
          "@call " + named, "@del " + named};
}

}  // namespace

std::string MakeBatScript(std::span<const std::string> jobLines, std::string_view programFolder,
                          bool unicode) {
  bool exclamation = programFolder.find('!') != std::string_view::npos;
  for (const std::string& line : jobLines) exclamation = exclamation || line.find('!') != line.npos;
  std::string script;
  if (exclamation) script += "@setlocal DisableDelayedExpansion\r\n";
  if (unicode) {
    // "Active code page: 850" or "Aktive Codepage: 850.": the last word,
    // without a closing dot, is the code page to return to.
    script +=
        "@for /f \"tokens=*\" %%a in ('chcp') do @for %%b in (%%a) do @set "
        "\"quorvel_codepage=%%~nb\"\r\n";
    script += "@chcp 65001 >nul\r\n";
  }
  AppendJobLines(Preamble(programFolder, ""), script);
  AppendJobLines(jobLines, script);
  if (unicode) script += "@chcp %quorvel_codepage% >nul\r\n";
  return script;
}

StartBatch StartScript(std::span<const std::string> jobLines, std::string_view programFolder,
                       const WorkerPlan& plan,
                       const std::function<bool(std::string_view)>& spelled) {
  StartBatch batch;
  Variables variables;
  Speller speller(spelled, variables);
  std::string& text = batch.script;
  const std::string environment = plan.files.environment(Reference(kWorkerVariable));
  for (const std::string& line : Preamble(programFolder, environment))
    text += speller.line(line) + "\r\n";
  const std::vector<SteppedLine> stepped = WorkerLines(jobLines, plan);
  std::vector<std::string> written;
  written.reserve(stepped.size());
  for (const SteppedLine& line : stepped) {
    written.push_back(speller.line(line.text));
    text += written.back();
    text += "\r\n";
  }
  text += speller.line("del \"" + plan.files.script() + "\"");
  batch.variables = variables.order;
  std::map<std::string, std::string> values(batch.variables.begin(), batch.variables.end());
  // The batch's files are named by their whole path, whatever its number.
  values.emplace(kBatchVariable, std::string(programFolder) + BatchName(999));
  values.emplace(kWorkerVariable, std::to_string(kMostJobsAtOnce));
  for (size_t i = 0; i < written.size() && !batch.refusal; ++i) {
    const size_t length =
        std::max(InterpreterLength(written[i]), ExpandedLength(written[i], values));
    if (length <= kLongestBatchLine) continue;
    // The batch's own lines are short: a long line is a job line.
    const size_t index = stepped[i].source.value_or(0);
    batch.refusal = Refusal{cid::none, stepped[i].source ? jobLines[index] : written[i],
                            "at most " + std::to_string(kLongestBatchLine) +
                                " characters long as the command interpreter reads it; line " +
                                std::to_string(index + 1) + " of the job list, in " +
                                JobOfLine(jobLines, index) + ", is " + std::to_string(length)};
  }
  return batch;
}
