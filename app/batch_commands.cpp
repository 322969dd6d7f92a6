// Writing and running batch files.
#include <string>

#include "app/app.h"
#include "core/path_parts.h"
#include "jobs/job_script.h"
#include "ui/control_id.h"

namespace {

constexpr std::string_view kMessageTitle = "quorvel";

}  // namespace

void App::reportWriteFailure(const std::string& path) {
  platform_.dialogs.message(kMessageTitle, "The file cannot be written:\n" + path + "\n\n" +
                                               platform_.files.lastErrorText());
}

void App::onMakeBat(ControlId, EventKind) {
  std::string path = platform_.dialogs.saveFile("", "", "Batch File|*.BAT");
  if (path.empty()) return;
  if (Extension(path).empty()) path += ".bat";
  if (!platform_.files.writeTextFile(
          path, MakeBatScript(jobListLines(), platform_.files.programFolder())))
    reportWriteFailure(path);
}

void App::onStart(ControlId, EventKind) {
  settings_.SaveSettings("quorvel.ini");
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
  if (!platform_.files.writeTextFile(path, StartScript(jobListLines(), folder, name))) {
    reportWriteFailure(path);
    return;
  }
  StartFailure failure;
  std::optional<std::uint32_t> process = platform_.processes.startBatch(path, folder, &failure);
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

void App::onShut(ControlId, EventKind) { window_.addItem(cid::jobList, kShutdownLine); }
