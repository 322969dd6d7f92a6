// Handlers of the buttons and file requesters.
#include <string>

#include "app/app.h"
#include "ui/control_id.h"

namespace {

std::string PresetPath(const FileSystem& files, const std::string& name) {
  return files.programFolder() + "configs\\" + name + ".ini";
}

}  // namespace

void App::onAdd(ControlId, EventKind) {}
void App::onBatchAdding(ControlId, EventKind) {}
void App::onInputBrowse(ControlId, EventKind) {}
void App::onOutputBrowse(ControlId, EventKind) {}
void App::onStatsfileBrowse(ControlId, EventKind) {}
void App::onLogfileBrowse(ControlId, EventKind) {}
void App::onQuantMatrix(ControlId, EventKind) {}

void App::onLoadDefault(ControlId, EventKind) { settings_.LoadDefaults(); }

void App::onRefresh(ControlId, EventKind) { settings_.RefreshPresetLists(); }

void App::onSavePreset(ControlId, EventKind) {
  if (platform_.dialogs.ask("Save", "Are you sure?")) {
    const std::string name = window_.text(cid::presetname);
    if (!name.empty()) settings_.SaveSettings(PresetPath(platform_.files, name));
  }
  settings_.RefreshPresetNames();
}

void App::onLoadPreset(ControlId, EventKind) {
  const std::string path = PresetPath(platform_.files, window_.text(cid::presetname));
  // A preset that does not exist yet is created empty, so that loading it
  // gives every setting its value for a missing key.
  if (!platform_.files.readFile(path) && !platform_.files.writeFile(path, "")) return;
  settings_.LoadSettings(path);
}
