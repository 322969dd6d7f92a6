#include "settings/settings_store.h"

#include <initializer_list>
#include <string>

#include "core/path_parts.h"
#include "core/text_number.h"
#include "settings/catalogue.h"
#include "settings/control_rules.h"
#include "settings/settings_file.h"
#include "ui/control_id.h"

namespace {

using Keys = std::initializer_list<std::string_view>;

const SettingSpec& Setting(std::string_view key) { return *FindSetting(key); }

void LoadNumbers(Window& window, const SettingsFile& file, Keys keys) {
  for (std::string_view key : keys) {
    const SettingSpec& setting = Setting(key);
    SetStoredNumber(window, setting, file.number(key).value_or(TextToInt(setting.missing)));
  }
}

void LoadTexts(Window& window, const SettingsFile& file, Keys keys) {
  for (std::string_view key : keys) {
    const SettingSpec& setting = Setting(key);
    SetStoredText(window, setting, file.text(key).value_or(std::string(setting.missing)));
  }
}

void CheckRanges(Window& window, Keys keys) {
  for (std::string_view key : keys) {
    const SettingSpec& setting = Setting(key);
    ApplyClamp(window, setting.id, setting.clamp);
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

  LoadNumbers(w, file, {"a1",  "a2",   "a3",   "a4",    "a5",    "a6",    "cab",  "tre",
                        "fil", "bref", "ba",   "bwb",   "mode",  "dm",    "m",    "ms",
                        "aud", "ae",   "apin", "muxer", "deb-a", "deb-b", "dctd", "fastpsk"});
  w.setEnabled(cid::aub, file.number("aud").value_or(0) == 1);
  LoadNumbers(w, file, {"upstat", "crelog"});
  UpdateLogfileControls(w);
  LoadNumbers(w, file, {"sizemode", "aq", "directpm", "psnr", "ssim", "level", "bfoptimal"});
  LoadTexts(w, file,
            {"cqm",   "aub",   "mb",  "bias",    "fa",      "fb",      "value",     "range",
             "ref",   "arx",   "ary", "thr",     "nr",      "kfb",     "bfr",       "vbr",
             "minqp", "maxqp", "qps", "sct",     "mingop",  "maxgop",  "auto1pcrf", "vbs",
             "vmb",   "vib",   "bv",  "maxsize", "minsize", "dzinter", "dzintra",   "aq1"});
  LoadNumbers(w, file, {"mxref"});
  LoadTexts(w, file, {"chromaqpoffset", "psyrd_rdo", "psyrd_tre"});
  SelectAvsincItem(w, file.text("avsinc").value_or(std::string()));
  ShowTrackValue(w, cid::deb_a);
  ShowTrackValue(w, cid::deb_b);
  UpdateModeControls(w);
  CheckRanges(w, {"kfb", "bfr", "vbr", "minqp", "maxqp", "qps"});
  ApplyEnablingRule(w, cid::a1);
  ApplyEnablingRule(w, cid::a2);
  UpdateBFrameControls(w);
  CheckRanges(w, {"ref"});
  ApplyEnablingRule(w, cid::ref);
  CheckRanges(w, {"thr", "range"});
  ApplyEnablingRule(w, cid::cab);
  CheckRanges(w, {"sct"});
  w.setEnabled(cid::aub, w.state(cid::aud) == 1);
  if (w.text(cid::cqm) == "custom...") {
    if (deferMatrixQuestion)
      matrixQuestionPending = true;
    else
      ChooseMatrixFile();
  }
  UpdateLogfileControls(w);
  CheckRanges(w, {"vbs", "vmb", "vib", "bv"});
  ApplyEnablingRule(w, cid::aq);
  CheckRanges(w, {"aq1"});
  ApplyEnablingRule(w, cid::ba);
  // The slider shows the loaded bias, so that it and the field agree.
  MoveBiasBarToField(w);
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
  FillWithBaseNames(window, cid::presetname, files, files.programFolder() + "configs", "*.ini");
}

void SettingsStore::RefreshPresetLists() {
  RefreshPresetNames();
  FillWithBaseNames(window, cid::avsinc, files, files.programFolder() + "avsinc", "*.avs");
}
