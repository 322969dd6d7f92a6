// Writing and running batch files.
#include <algorithm>
#include <string>

#include "app/app.h"
#include "core/path_parts.h"
#include "jobs/batch_line.h"
#include "jobs/called_programs.h"
#include "jobs/job_script.h"
#include "ui/control_id.h"

void App::reportWriteFailure(const std::string& path) {
  platform_.dialogs.message(kMessageTitle, "The file cannot be written:\n" + path + "\n\n" +
                                               platform_.files.lastErrorText());
}

void App::onMakeBat(ControlId, EventKind) {
  std::string path = platform_.dialogs.saveFile("", "", "Batch File|*.BAT");
  if (path.empty()) return;
  if (Extension(path).empty()) path += ".bat";
  // In the console's code page when it spells every character, otherwise
  // in UTF-8 with the console switched to it for the run.
  const std::vector<std::string> lines = jobListLines();
  const std::string folder = platform_.files.programFolder();
  std::optional<std::string> bytes =
      platform_.files.encode(MakeBatScript(lines, folder), CodePage::Console);
  if (!bytes) bytes = MakeBatScript(lines, folder, true);
  if (!platform_.files.writeFile(path, *bytes)) reportWriteFailure(path);
}

bool App::programsFoundOrStartAnyway(const std::vector<std::string>& lines) {
  const std::string folder = platform_.files.programFolder();
  std::vector<std::string> called = {"envprep.exe", "lullo.exe"};
  for (std::string& program : CalledPrograms(lines)) called.push_back(std::move(program));
  std::string missing;
  for (const std::string& program : called)
    if (!platform_.processes.findProgram(program, folder))
      missing += (missing.empty() ? "" : ", ") + program;
  if (missing.empty()) return true;
  return platform_.dialogs.ask(kMessageTitle,
                               "These programs that the jobs call were not found: " + missing +
                                   "\n\nThe batch looks for them in the program folder, its "
                                   "\"tools\" folder and along PATH.\n\nStart anyway?");
}

void App::onStart(ControlId, EventKind) {
  // What the batch would miss is said now, not hours later at its line.
  if (!programsFoundOrStartAnyway(jobListLines())) return;
  settings_.SaveSettings(mainSettingsFile());
  const std::string folder = platform_.files.programFolder();
  // A batch this program started that still runs keeps reading its file:
  // the next one gets the next free name.
  std::string name = "temp.bat";
  for (int n = 2;; ++n) {
    auto started = startedBatches_.find(name);
    if (started == startedBatches_.end() || !platform_.processes.isRunning(started->second)) break;
    name = "temp" + std::to_string(n) + ".bat";
  }
  const std::string path = folder + name;
  // What the console's code page cannot spell reaches the batch through its
  // environment.
  const FileSystem& files = platform_.files;
  const std::vector<std::string> lines = jobListLines();
  const StartBatch batch = StartScript(lines, folder, name, [&files](std::string_view character) {
    return files.encode(character, CodePage::Console).has_value();
  });
  if (batch.tooLong) {
    const LongLine& line = *batch.tooLong;
    platform_.dialogs.message(
        kMessageTitle,
        "Nothing was started: line " + std::to_string(line.index + 1) + " of the job list, in " +
            JobOfLine(lines, line.index) + ", is " +
            std::to_string(std::max(line.written, line.expanded)) +
            " characters long as the command interpreter reads it, and it reads at most " +
            std::to_string(kLongestBatchLine) +
            ".\n\nShorten the paths of that job, or remove it.");
    return;
  }
  const std::optional<std::string> bytes = files.encode(batch.script, CodePage::Console);
  if (!bytes || !platform_.files.writeFile(path, *bytes)) {
    reportWriteFailure(path);
    return;
  }
  StartFailure failure;
  std::optional<std::uint32_t> process =
      platform_.processes.startBatch(path, folder, batch.variables, &failure);
  if (!process) {
    platform_.dialogs.message(
        kMessageTitle, "The batch file cannot be started:\n" + path + "\n\n" + failure.reason);
    return;
  }
  startedBatches_[name] = *process;
  // The batch waits a second before its first job; by then it runs idle.
  platform_.processes.wait(600);
  platform_.processes.setIdlePriority(*process);
}

void App::onShut(ControlId, EventKind) {
  window_.addItem(cid::jobList, kShutdownLine);
  recordJobList();
}
