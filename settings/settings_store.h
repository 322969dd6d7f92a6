#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "settings/settings_file.h"
#include "settings/settings_value.h"
#include "ui/window.h"

// The main settings file, in the program folder.
inline constexpr std::string_view kMainSettings = "quorvel.ini";

// Settings files into and out of the controls, and the two preset lists.
class SettingsStore {
 public:
  SettingsStore(Window& window, FileSystem& files) : window_(window), files_(files) {}

  // Loads the main settings file of the program folder, wherever the
  // program was started from. One that only the current directory holds,
  // where an earlier version kept it, is read instead; the next save goes to
  // the program folder.
  void loadMainSettings();

  // Saves every keyed control into the main settings file of the program
  // folder; false when it cannot be written.
  bool saveMainSettings();
  std::string mainSettingsPath() const;

  // Reads a settings file into a settings value, applies the load's rules
  // to it and shows it in the controls. A file that cannot be read makes it
  // load the built-in defaults.
  void loadSettings(std::string_view path);

  // Writes every keyed control into a settings file, replacing it in one
  // step; false when it cannot be written (the old file then stays).
  bool saveSettings(std::string_view path);

  // Loads the built-in default set through "default.ini" in the program
  // folder, which exists only meanwhile (or from the program itself when that
  // file cannot be written or read back).
  void loadDefaults();

  // Fills `presetname` from the "*.ini" files of "configs" and `avsinc` from
  // the "*.avs" files of "avsinc", by base name; neither gets a selection.
  void refreshPresetLists();

  // Refills only `presetname`.
  void refreshPresetNames();

  // Whether the last load named a custom matrix ("custom..."), whose file
  // the user is still to choose; true once.
  bool takeMatrixRequest();

 private:
  // The settings of a file, through the load's rules; nothing when the file
  // cannot be read.
  std::optional<Settings> read(std::string_view path) const;
  // Shows a loaded value.
  void show(const Settings& settings);

  Window& window_;
  FileSystem& files_;
  bool matrixWanted_ = false;
};

// The settings value a settings file gives: each key's value as its control
// would hold it, a key the file lacks taking its value for a missing key,
// and the load's range checks and value labels applied.
Settings SettingsFromFile(const SettingsFile& file);

// The built-in default set as a load gives it.
Settings BuiltInSettings();
