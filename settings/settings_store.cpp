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

void FillWithBaseNames(Window& window, ControlId list, const FileSystem& files,
                       const std::string& folder, std::string_view pattern) {
  window.clearItems(list);
  for (const std::string& name : files.listFiles(folder, pattern)) window.addItem(list, Stem(name));
}

}  // namespace

Settings SettingsFromFile(const SettingsFile& file) {
  Settings settings;
  for (const SettingSpec& setting : SettingsCatalogue()) {
    if (setting.form == StoredForm::Number)
      SetStoredNumber(settings, setting,
                      file.number(setting.key).value_or(TextToInt(setting.missing)));
    else
      SetStoredText(settings, setting,
                    file.text(setting.key).value_or(std::string(setting.missing)));
  }
  ApplyLoadRules(settings);
  return settings;
}

Settings BuiltInSettings() { return SettingsFromFile(SettingsFile::Parse(DefaultSettingsText())); }

std::optional<Settings> SettingsStore::read(std::string_view path) const {
  SettingsFile file;
  if (!files_.readPieces(path, [&file](std::string_view piece) {
        file.feed(piece);
        return !file.complete();
      }))
    return std::nullopt;
  file.finish();
  // A file with the UTF-8 mark is read as UTF-8, brought to what the
  // system's code page can show; any other in the code page.
  const bool utf8 = file.utf8();
  file.convertValues([&](std::string_view value) {
    return utf8 ? files_.fromCodePage(files_.toCodePage(value)) : files_.fromCodePage(value);
  });
  return SettingsFromFile(file);
}

void SettingsStore::show(const Settings& settings) {
  ShowSettings(window_, settings);
  matrixWanted_ = settings.cqm == kCustomMatrix;
}

bool SettingsStore::takeMatrixRequest() {
  const bool wanted = matrixWanted_ && window_.text(cid::cqm) == kCustomMatrix;
  matrixWanted_ = false;
  return wanted;
}

void SettingsStore::loadSettings(std::string_view path) {
  if (const std::optional<Settings> settings = read(path))
    show(*settings);
  else
    loadDefaults();
}

bool SettingsStore::saveSettings(std::string_view path) {
  return files_.writeTextFile(path, SettingsFileText(window_));
}

void SettingsStore::loadDefaults() {
  // The built-in set goes through "default.ini" as a file would; where that
  // cannot be written or read, the same text is read where it is built in.
  const std::string path = files_.programFolder() + "default.ini";
  std::optional<Settings> settings;
  if (files_.writeTextFile(path, DefaultSettingsText())) {
    settings = read(path);
    files_.deleteFile(path);
  }
  show(settings ? *settings : BuiltInSettings());
}

void SettingsStore::refreshPresetNames() {
  FillWithBaseNames(window_, cid::presetname, files_,
                    files_.programFolder() + std::string(program_folders::kPresets), "*.ini");
}

void SettingsStore::refreshPresetLists() {
  refreshPresetNames();
  FillWithBaseNames(window_, cid::avsinc, files_,
                    files_.programFolder() + std::string(program_folders::kAvsinc), "*.avs");
}

void SettingsStore::loadMainSettings() {
  const std::string own = mainSettingsPath();
  const bool elsewhere = !files_.exists(own) && files_.exists(kMainSettings);
  loadSettings(elsewhere ? std::string(kMainSettings) : own);
}

std::string SettingsStore::mainSettingsPath() const {
  return files_.programFolder() + std::string(kMainSettings);
}

bool SettingsStore::saveMainSettings() { return saveSettings(mainSettingsPath()); }
