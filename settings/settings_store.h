#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "settings/settings_file.h"
#include "settings/settings_value.h"
#include "ui/window.h"

// The main settings file, in the program folder.
inline constexpr std::string_view kMainSettings = "quorvel.ini";

// Settings files into and out of the controls, and the two preset lists.
class SettingsStore {
 public:
  SettingsStore(Window& window, FileSystem& files, Dialogs& dialogs)
      : window_(window), files_(files), dialogs_(dialogs) {}

  // Loads the main settings file of the program folder, wherever the
  // program was started from. One that only the current directory holds,
  // where an earlier version kept it, is read instead; the next save goes to
  // the program folder. A custom matrix it names is asked for once
  // askDeferredMatrix() is called, when the window is on screen.
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

  // Asks for a custom quantization matrix file: `cqm` becomes its path in
  // double quotes, or "flat" when the requester is cancelled.
  void chooseMatrixFile();

  // Asks for the matrix file that the main settings file named.
  void askDeferredMatrix();

 private:
  // The settings of a file, through the load's rules; nothing when the file
  // cannot be read.
  std::optional<Settings> read(std::string_view path) const;
  // Shows a loaded value, asking for the matrix file it names.
  void show(const Settings& settings);

  Window& window_;
  FileSystem& files_;
  Dialogs& dialogs_;
  // While set, a load that names a custom matrix does not ask for its file
  // but leaves the question for AskDeferredMatrix.
  bool deferMatrixQuestion_ = false;
  bool matrixQuestionPending_ = false;
};

// The settings value a settings file gives: each key's value as its control
// would hold it, a key the file lacks taking its value for a missing key,
// and the load's range checks and value labels applied.
Settings SettingsFromFile(const SettingsFile& file);

// The built-in default set as a load gives it.
Settings BuiltInSettings();
