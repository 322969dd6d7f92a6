// Handlers of the buttons and file requesters.
#include <string>

#include "app/app.h"
#include "core/path_parts.h"
#include "jobs/compose_job.h"
#include "jobs/job_file_names.h"
#include "ui/cached_window.h"
#include "ui/control_id.h"

namespace {

constexpr std::string_view kInputPattern = "AVS(*.avs)|*.AVS|Other Media|*.*";
constexpr std::string_view kBatchPattern = "AVS(*.AVS)|*.avs|Other Media|*.*";
constexpr std::string_view kOutputPattern = "MP4(*.mp4)|*.MP4|MKV(*.mkv)|*.MKV|RAW(*.264)|*.264";
constexpr std::string_view kStatsPattern = "Statsfile (*.stat)|*.stat";
constexpr std::string_view kLogPattern = "Log file (*.txt)|*.txt";

std::string PresetPath(const FileSystem& files, const std::string& name) {
  return files.programFolder() + "configs\\" + name + ".ini";
}

}  // namespace

void App::queueJob() {
  window_.addItem(cid::jobList, "@echo.");
  ComposeJob(window_, platform_.media);
  window_.addItem(cid::jobList, "@echo+");
}

void App::queueJobs(const std::vector<std::string>& inputs, const std::string& folder) {
  // Nothing but these jobs changes the controls meanwhile: the settings
  // are read from the window once, not once per job.
  struct RedrawPaused {
    Window& window;
    ~RedrawPaused() { window.setRedraw(cid::jobList, true); }
  } paused{window_};
  window_.setRedraw(cid::jobList, false);
  CachedWindow window(window_);
  for (const std::string& input : inputs) {
    window.setText(cid::input, input);
    DeriveJobFileNames(window, platform_.files,
                       folder.empty() ? std::string(FolderPart(input)) : folder);
    window.addItem(cid::jobList, "@echo.");
    ComposeJob(window, platform_.media);
    window.addItem(cid::jobList, "@echo+");
  }
  window.flush();
}

void App::onAdd(ControlId, EventKind) { queueJob(); }

void App::onBatchAdding(ControlId, EventKind) {
  const std::string folder =
      platform_.dialogs.chooseFolder("Select a folder for output", platform_.files.programFolder());
  if (folder.empty()) return;
  const std::vector<std::string> inputs =
      platform_.dialogs.openFiles("Select some files", "", kBatchPattern);
  // No file chosen: nothing is queued.
  queueJobs(inputs, folder);
}

void App::onFilesDropped(const std::vector<std::string>& paths) {
  if (paths.size() == 1) {
    window_.setText(cid::input, paths.front());
    DeriveJobFileNames(window_, platform_.files, FolderPart(paths.front()));
  } else if (paths.size() > 1) {
    queueJobs(paths, "");
  }
}

void App::onInputBrowse(ControlId, EventKind) {
  const std::string input = platform_.dialogs.openFile("", "", kInputPattern);
  window_.setText(cid::input, input);
  DeriveJobFileNames(window_, platform_.files, FolderPart(input));
}

void App::onOutputBrowse(ControlId, EventKind) {
  std::string output = platform_.dialogs.saveFile("", "", kOutputPattern);
  if (!output.empty() && Extension(output).empty()) output += ".mp4";
  window_.setText(cid::output, output);
}

void App::onStatsfileBrowse(ControlId, EventKind) {
  const std::string current = window_.text(cid::statsfile);
  const bool reads = window_.state(cid::mode) == 4;  // the fast first pass
  window_.setText(cid::statsfile, reads ? platform_.dialogs.openFile("", current, kStatsPattern)
                                        : platform_.dialogs.saveFile("", current, kStatsPattern));
}

void App::onLogfileBrowse(ControlId, EventKind) {
  window_.setText(cid::logfile,
                  platform_.dialogs.saveFile("", window_.text(cid::logfile), kLogPattern));
}

void App::onQuantMatrix(ControlId, EventKind) {
  if (window_.text(cid::cqm) == "custom...") settings_.ChooseMatrixFile();
}

void App::onLoadDefault(ControlId, EventKind) { settings_.LoadDefaults(); }

void App::onRefresh(ControlId, EventKind) { settings_.RefreshPresetLists(); }

void App::onSavePreset(ControlId, EventKind) {
  if (platform_.dialogs.ask("Save", "Are you sure?")) {
    const std::string name = window_.text(cid::presetname);
    if (!name.empty()) {
      const std::string path = PresetPath(platform_.files, name);
      if (!settings_.SaveSettings(path)) reportWriteFailure(path);
    }
  }
  settings_.RefreshPresetNames();
}

void App::onLoadPreset(ControlId, EventKind) {
  const std::string path = PresetPath(platform_.files, window_.text(cid::presetname));
  // A preset that does not exist yet is created empty, so that loading it
  // gives every setting its value for a missing key.
  if (!platform_.files.exists(path) && !platform_.files.writeFile(path, "")) return;
  settings_.LoadSettings(path);
}
