#include "app/preset_commands.h"

#include <string>

#include "core/program_folders.h"
#include "settings/fixed_lists.h"
#include "settings/preset_names.h"
#include "ui/control_id.h"

std::string PresetCommands::presetPath(const std::string& name) const {
  return files_.programFolder() + std::string(program_folders::kPresets) + "\\" + name + ".ini";
}

void PresetCommands::reportName(const std::string& name) const {
  std::string text = "\"";
  text += Shortened(name);
  text += "\" cannot be a preset name.\n\n";
  text += kPresetNameRule;
  messages_.tell(text);
}

void PresetCommands::save() {
  if (dialogs_.ask("Save", "Are you sure?")) {
    const std::string name = window_.text(cid::presetname);
    if (!name.empty() && !IsPresetName(name)) {
      reportName(name);
    } else if (!name.empty()) {
      const std::string path = presetPath(name);
      if (!settings_.saveSettings(path)) messages_.writeFailure(path);
    }
  }
  settings_.refreshPresetNames();
}

void PresetCommands::load() {
  const std::string name = window_.text(cid::presetname);
  if (!name.empty() && !IsPresetName(name)) {
    reportName(name);
    return;
  }
  const std::string path = presetPath(name);
  // A preset that does not exist yet is created empty, so that loading it
  // gives every setting its value for a missing key.
  if (!files_.exists(path) && !files_.writeFile(path, "")) return;
  settings_.loadSettings(path);
  askRequestedMatrix();
}

void PresetCommands::loadDefault() {
  settings_.loadDefaults();
  askRequestedMatrix();
}

void PresetCommands::quantMatrix() {
  if (window_.text(cid::cqm) == kCustomMatrix) chooseMatrixFile();
}

void PresetCommands::askRequestedMatrix() {
  if (settings_.takeMatrixRequest()) chooseMatrixFile();
}

void PresetCommands::chooseMatrixFile() {
  const std::string matrix = dialogs_.openFile("Select a matrix file", "", "*.*|*.*");
  window_.setText(cid::cqm, matrix.empty() ? std::string(kFlatMatrix) : '"' + matrix + '"');
}
