#include <gtest/gtest.h>

#include "app/app.h"
#include "support/memory_platform.h"
#include "support/startup_state.h"
#include "ui/memory_window.h"

TEST(Startup, WindowShowsTheBuiltStateBeforeSettingsAreLoaded) {
  MemoryWindow window;
  MemoryPlatform platform;
  App app(window, platform.services());
  app.start();
  ExpectStartupState(window);
}

TEST(Startup, CreatesTheFiveFoldersInOrderAndPassesOverExistingOnes) {
  MemoryPlatform platform;
  platform.files.createFolder("C:\\prog\\stats");
  platform.files.createdFolders.clear();
  CreateProgramFolders(platform.files);
  EXPECT_EQ(platform.files.createdFolders,
            (std::vector<std::string>{"C:\\prog\\avs", "C:\\prog\\stats", "C:\\prog\\configs",
                                      "C:\\prog\\log", "C:\\prog\\avsinc"}));
  for (const char* name : {"avs", "stats", "configs", "log", "avsinc"})
    EXPECT_TRUE(platform.files.hasFolder(std::string("C:\\prog\\") + name)) << name;
}
