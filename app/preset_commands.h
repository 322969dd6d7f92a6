#pragma once

#include "app/messages.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "settings/settings_store.h"
#include "ui/window.h"

// "Load Default", "Refresh", "Save", "Load" and the custom matrix of the
// `cqm` list: the settings files into and out of the controls.
class PresetCommands {
 public:
  PresetCommands(Window& window, SettingsStore& settings, FileSystem& files, Dialogs& dialogs,
                 const Messages& messages)
      : window_(window),
        settings_(settings),
        files_(files),
        dialogs_(dialogs),
        messages_(messages) {}

  void loadDefault();
  void refresh() { settings_.refreshPresetLists(); }
  void save();
  void load();
  void quantMatrix();
  // Asks for the file of the custom matrix that the last load named: after
  // a load, and for the main settings file once the window is on screen.
  void askRequestedMatrix();

 private:
  // Tells the user that a preset name cannot name a file in "configs".
  void reportName(const std::string& name) const;
  std::string presetPath(const std::string& name) const;
  // Asks for a custom quantization matrix file: `cqm` becomes its path in
  // double quotes, or "flat" when the requester is cancelled.
  void chooseMatrixFile();

  Window& window_;
  SettingsStore& settings_;
  FileSystem& files_;
  Dialogs& dialogs_;
  const Messages& messages_;
};
