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

  void loadDefault() { settings_.loadDefaults(); }
  void refresh() { settings_.refreshPresetLists(); }
  void save();
  void load();
  void quantMatrix();

 private:
  // Tells the user that a preset name cannot name a file in "configs".
  void reportName(const std::string& name) const;
  std::string presetPath(const std::string& name) const;

  Window& window_;
  SettingsStore& settings_;
  FileSystem& files_;
  Dialogs& dialogs_;
  const Messages& messages_;
};
