#include "app/script_commands.h"

#include <algorithm>
#include <ctime>
#include <string>

#include "core/path_parts.h"
#include "jobs/batch_line.h"
#include "jobs/batch_record.h"
#include "jobs/batch_steps.h"
#include "jobs/job_line.h"
#include "jobs/job_script.h"

std::string LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  char text[32] = {};
  if (const std::tm* local = std::localtime(&now))
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  return text;
}

void ScriptCommands::makeBat() {
  encoders_.whenKnown([this](const EncoderInfo&) { writeBat(); });
}

void ScriptCommands::start() {
  encoders_.whenKnown([this](const EncoderInfo&) { startBatch(); });
}

void ScriptCommands::writeBat() {
  std::string path = dialogs_.saveFile("", "", "Batch File|*.BAT");
  if (path.empty()) return;
  if (Extension(path).empty()) path += ".bat";
  // In the console's code page when it spells every character, otherwise
  // in UTF-8 with the console switched to it for the run.
  const FileSystem& files = files_;
  const std::string folder = files.programFolder();
  std::optional<std::string> bytes =
      files.encode(MakeBatScript(list_.lines(), folder), CodePage::Console);
  if (!bytes) bytes = MakeBatScript(list_.lines(), folder, true);
  if (!files_.writeFile(path, *bytes)) messages_.writeFailure(path);
}

bool ScriptCommands::programsFoundOrStartAnyway(const std::string& script) {
  const std::string folder = files_.programFolder();
  std::vector<std::string> lines;
  for (size_t at = 0; at < script.size();) {
    size_t end = script.find("\r\n", at);
    if (end == std::string::npos) end = script.size();
    lines.push_back(script.substr(at, end - at));
    at = end + 2;
  }
  std::string missing;
  for (const std::string& program : CalledPrograms(lines))
    if (!processes_.findProgram(program, folder))
      missing += (missing.empty() ? "" : ", ") + program;
  if (missing.empty()) return true;
  return messages_.ask("These programs that the jobs call were not found: " + missing +
                       "\n\nThe batch looks for them in the program folder, its \"tools\" folder "
                       "and along PATH.\n\nStart anyway?");
}

std::string ScriptCommands::nextBatchName() const {
  std::string name = "temp.bat";
  for (int n = 2;; ++n) {
    if (!watch_.running(name)) return name;
    name = "temp" + std::to_string(n) + ".bat";
  }
}

std::vector<size_t> ScriptCommands::finishedToSkip() const {
  const std::optional<BatchRecord> stopped = watch_.interrupted();
  if (!stopped) return {};
  std::vector<size_t> finished = FinishedJobs(*stopped, list_.lines());
  if (finished.empty()) return {};
  const size_t done = stopped->count(BatchRecord::Outcome::Done);
  const std::string count = std::to_string(finished.size());
  const std::string question =
      "The batch started at " + StartedAt(*stopped) + " stopped before its end. " +
      std::to_string(done) + " of its " + std::to_string(stopped->jobs.size()) +
      " jobs had finished. " +
      (finished.size() == done ? "Skip those " + count + "?"
                               : "Skip the " + count + " of them still in the list?");
  if (!messages_.ask(question)) return {};
  return finished;
}

void ScriptCommands::startBatch() {
  const FileSystem& files = files_;
  const std::string folder = files.programFolder();
  settings_.SaveMainSettings();
  const std::vector<size_t> skipped = finishedToSkip();
  const std::string name = nextBatchName();
  const std::string path = folder + name;
  // What the console's code page cannot spell reaches the batch through its
  // environment.
  const StartBatch batch = StartScript(
      list_.lines(), folder, name,
      [&files](std::string_view character) {
        return files.encode(character, CodePage::Console).has_value();
      },
      skipped);
  if (batch.refusal) {
    messages_.tell("Nothing was started: " + messages_.refusalText(*batch.refusal) +
                   "\n\nShorten the paths of that job, or remove it.");
    return;
  }
  // What the batch would miss is said now, not hours later at its line.
  if (!programsFoundOrStartAnyway(batch.script)) return;
  const std::optional<std::string> bytes = files.encode(batch.script, CodePage::Console);
  if (!bytes || !files_.writeFile(path, *bytes)) {
    messages_.writeFailure(path);
    return;
  }
  // The record of the last batches goes, and this batch's begins.
  watch_.forgetEnded();
  const std::string record = folder + RecordName(name);
  files_.writeFile(record, BatchRecordHeader(list_.lines(), now(), skipped));
  EnvironmentVariables variables = batch.variables;
  // teelog.exe, which runs the encodes, tells their progress there.
  variables.emplace_back("QUORVEL_PROGRESS", ProgressName(name));
  BatchStart started = processes_.startBatch(path, folder, variables);
  if (!started.batch) {
    messages_.tell("The batch file cannot be started:\n" + path + "\n\n" + started.failure);
    return;
  }
  files_.appendFile(record, BatchRecordProcess(started.batch->identity()));
  watch_.follow(name, std::move(started.batch));
}

void ScriptCommands::shut() { list_.append(std::string(kShutdownLine)); }
