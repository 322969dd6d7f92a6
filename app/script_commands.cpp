#include "app/script_commands.h"

#include <algorithm>
#include <string>

#include "core/path_parts.h"
#include "jobs/batch_line.h"
#include "jobs/called_programs.h"
#include "jobs/job_script.h"

void ScriptCommands::makeBat() {
  encoders_.whenKnown([this](const EncoderInfo&) { writeBat(); });
}

void ScriptCommands::start() {
  encoders_.whenKnown([this](const EncoderInfo&) { startBatch(); });
}

void ScriptCommands::writeBat() {
  std::string path = settings_.dialogs.saveFile("", "", "Batch File|*.BAT");
  if (path.empty()) return;
  if (Extension(path).empty()) path += ".bat";
  // In the console's code page when it spells every character, otherwise
  // in UTF-8 with the console switched to it for the run.
  const FileSystem& files = settings_.files;
  const std::string folder = files.programFolder();
  std::optional<std::string> bytes =
      files.encode(MakeBatScript(list_.lines(), folder), CodePage::Console);
  if (!bytes) bytes = MakeBatScript(list_.lines(), folder, true);
  if (!settings_.files.writeFile(path, *bytes)) messages_.writeFailure(path);
}

bool ScriptCommands::programsFoundOrStartAnyway() {
  const std::string folder = settings_.files.programFolder();
  std::vector<std::string> called = {"envprep.exe", "lullo.exe"};
  for (std::string& program : CalledPrograms(list_.lines())) called.push_back(std::move(program));
  std::string missing;
  for (const std::string& program : called)
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
    auto started = started_.find(name);
    if (started == started_.end() || !started->second->running()) return name;
    name = "temp" + std::to_string(n) + ".bat";
  }
}

void ScriptCommands::startBatch() {
  const FileSystem& files = settings_.files;
  const std::string folder = files.programFolder();
  settings_.SaveSettings(folder + std::string(kMainSettings));
  const std::string name = nextBatchName();
  const std::string path = folder + name;
  // What the console's code page cannot spell reaches the batch through its
  // environment.
  const StartBatch batch =
      StartScript(list_.lines(), folder, name, [&files](std::string_view character) {
        return files.encode(character, CodePage::Console).has_value();
      });
  if (batch.tooLong) {
    const LongLine& line = *batch.tooLong;
    messages_.tell("Nothing was started: line " + std::to_string(line.index + 1) +
                   " of the job list, in " + JobOfLine(list_.lines(), line.index) + ", is " +
                   std::to_string(std::max(line.written, line.expanded)) +
                   " characters long as the command interpreter reads it, and it reads at most " +
                   std::to_string(kLongestBatchLine) +
                   ".\n\nShorten the paths of that job, or remove it.");
    return;
  }
  // What the batch would miss is said now, not hours later at its line.
  if (!programsFoundOrStartAnyway()) return;
  const std::optional<std::string> bytes = files.encode(batch.script, CodePage::Console);
  if (!bytes || !settings_.files.writeFile(path, *bytes)) {
    messages_.writeFailure(path);
    return;
  }
  StartFailure failure;
  std::unique_ptr<StartedBatch> started =
      processes_.startBatch(path, folder, batch.variables, &failure);
  if (!started) {
    messages_.tell("The batch file cannot be started:\n" + path + "\n\n" + failure.reason);
    return;
  }
  started_[name] = std::move(started);
}

void ScriptCommands::shut() { list_.append(std::string(kShutdownLine)); }
