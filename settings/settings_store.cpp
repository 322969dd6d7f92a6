#include "settings/settings_store.h"

#include <string>

#include "core/path_parts.h"
#include "core/program_folders.h"
#include "core/text_number.h"
#include "settings/catalogue.h"
#include "settings/control_rules.h"
#include "settings/fixed_lists.h"
#include "settings/settings_file.h"
#include "ui/control_id.h"

namespace {

// Reads the settings of one step of a load into the controls; a key the
// file lacks takes the value for a missing key.
void LoadStepOf(Window& window, const SettingsFile& file, LoadStep step) {
  for (const SettingSpec& setting : SettingsCatalogue()) {
    if (setting.load != step) continue;
    if (setting.form == StoredForm::Number)
      SetStoredNumber(window, setting,
                      file.number(setting.key).value_or(TextToInt(setting.missing)));
    else
      SetStoredText(window, setting, file.text(setting.key).value_or(std::string(setting.missing)));
  }
}

void FillWithBaseNames(Window& window, ControlId list, const FileSystem& files,
                       const std::string& folder, std::string_view pattern) {
  window.clearItems(list);
  for (const std::string& name : files.listFiles(folder, pattern)) window.addItem(list, Stem(name));
}

}  // namespace

bool SettingsStore::LoadFrom(std::string_view path) {
  SettingsFile file;
  if (!files.readPieces(path, [&file](std::string_view piece) {
        file.feed(piece);
        return !file.complete();
      }))
    return false;
  file.finish();
  // A file with the UTF-8 mark is read as UTF-8, brought to what the
  // system's code page can show; any other in the code page.
  const bool utf8 = file.utf8();
  file.convertValues([&](std::string_view value) {
    return utf8 ? files.fromCodePage(files.toCodePage(value)) : files.fromCodePage(value);
  });
  Window& w = window;

  LoadStepOf(w, file, LoadStep::Switches);
  LoadStepOf(w, file, LoadStep::Logs);
  for (LoadStep step : {LoadStep::Options, LoadStep::Texts, LoadStep::MixedRefs, LoadStep::PsyRd})
    LoadStepOf(w, file, step);
  SelectAvsincItem(w, file.text("avsinc").value_or(std::string()));
  // Every field within its range. Of the rules, only the deblocking value
  // labels (fa, fb) and `value`, which follows the encode mode, change a
  // field's text.
  for (const SettingSpec& setting : SettingsCatalogue()) ApplyClamp(w, setting.id, setting.clamp);
  ApplyEveryRule(w);
  // The slider shows the loaded bias, so that it and the field agree.
  MoveBiasBarToField(w);
  if (w.text(cid::cqm) == kCustomMatrix) {
    if (deferMatrixQuestion)
      matrixQuestionPending = true;
    else
      ChooseMatrixFile();
  }
  return true;
}

void SettingsStore::ChooseMatrixFile() {
  const std::string matrix = dialogs.openFile("Select a matrix file", "", "*.*|*.*");
  window.setText(cid::cqm, matrix.empty() ? std::string("flat") : '"' + matrix + '"');
}

void SettingsStore::LoadSettings(std::string_view path) {
  if (!LoadFrom(path)) LoadDefaults();
}

bool SettingsStore::SaveSettings(std::string_view path) {
  return files.writeTextFile(path, SettingsFileText(window));
}

void SettingsStore::LoadDefaults() {
  const std::string path = files.programFolder() + "default.ini";
  if (!files.writeTextFile(path, DefaultSettingsText())) return;
  LoadFrom(path);
  files.deleteFile(path);
}

void SettingsStore::RefreshPresetNames() {
  FillWithBaseNames(window, cid::presetname, files,
                    files.programFolder() + std::string(program_folders::kPresets), "*.ini");
}

void SettingsStore::RefreshPresetLists() {
  RefreshPresetNames();
  FillWithBaseNames(window, cid::avsinc, files,
                    files.programFolder() + std::string(program_folders::kAvsinc), "*.avs");
}
