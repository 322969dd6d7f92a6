#include "app/app.h"

#include "app/dispatch_table.h"
#include "app/startup.h"

void CreateProgramFolders(FileSystem& files) {
  const std::string folder = files.programFolder();
  for (const char* name : {"avs", "stats", "configs", "log", "avsinc"})
    files.createFolder(folder + name);
}

App::App(Window& window, Platform platform) : window_(window), platform_(platform) {}

void App::start() {
  FillFixedLists(window_);
  SetInitialStates(window_);
}

void App::onEvent(ControlId id, EventKind kind) {
  if (Handler handler = DispatchTable::Find(id)) (this->*handler)(id, kind);
}

void App::onClose() {}
