#include "app/app.h"

#include "app/dispatch_table.h"
#include "app/startup.h"

void CreateProgramFolders(FileSystem& files) {
  const std::string folder = files.programFolder();
  for (const char* name : {"avs", "stats", "configs", "log", "avsinc"})
    files.createFolder(folder + name);
}

App::App(Window& window, Platform platform)
    : window_(window),
      platform_(platform),
      settings_{window, platform.files, platform.dialogs},
      encoders_(platform.encoders) {}

void App::start() {
  encoders_.start();
  const std::string folder = platform_.files.programFolder();
  for (const char* own : {"", "configs", "avs"}) platform_.files.removeLeftovers(folder + own);
  FillFixedLists(window_);
  SetInitialStates(window_);
  settings_.RefreshPresetLists();
  // The main settings file is read from the current directory. A custom
  // matrix it asks for is asked once the window is on screen.
  settings_.deferMatrixQuestion = true;
  settings_.LoadSettings("quorvel.ini");
  settings_.deferMatrixQuestion = false;
}

void App::onShown() {
  if (!settings_.matrixQuestionPending) return;
  settings_.matrixQuestionPending = false;
  if (window_.text(cid::cqm) == "custom...") settings_.ChooseMatrixFile();
}

void App::onEvent(ControlId id, EventKind kind) {
  if (Handler handler = DispatchTable::Find(id)) (this->*handler)(id, kind);
}

void App::onEncoderInfo() {
  platform_.dialogs.message("x264 for the jobs", EncoderInfoText(encoders_.current()));
}

void App::onClose() {
  const std::string path = platform_.files.programFolder() + "quorvel.ini";
  if (!settings_.SaveSettings(path)) reportWriteFailure(path);
}
