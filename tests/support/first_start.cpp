#include "support/first_start.h"

#include "app/app.h"
#include "app/startup.h"
#include "settings/catalogue.h"
#include "support/memory_platform.h"
#include "support/memory_window.h"

Settings FirstStartSettings() {
  MemoryPlatform platform;
  MemoryWindow window;
  App app(window, platform.services());
  platform.files.createFolder(R"(C:\prog)");
  CreateProgramFolders(platform.files);
  app.start();
  return ReadSettings(window);
}
