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
  PresetCommands(Window& window, SettingsStore& settings, const Messages& messages)
      : window_(window), settings_(settings), messages_(messages) {}

  void loadDefault() { settings_.LoadDefaults(); }
  void refresh() { settings_.RefreshPresetLists(); }
  void save();
  void load();
  void quantMatrix();
  // The matrix file that the settings loaded at start-up ask for, once the
  // window is on screen.
  void askDeferredMatrix();

 private:
  // Tells the user that a preset name cannot name a file in "configs".
  void reportName(const std::string& name) const;
  std::string presetPath(const std::string& name) const;

  Window& window_;
  SettingsStore& settings_;
  const Messages& messages_;
};
