#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/app.h"
#include "support/memory_platform.h"
#include "support/memory_window.h"
#include "support/startup_state.h"
#include "ui/control_id.h"

// With no settings file, and also where "default.ini" cannot be written.
TEST(Startup, AFirstStartShowsTheBuiltInSettings) {
  for (bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only program folder" : "writable program folder");
    MemoryPlatform platform;
    platform.files.createFolder("C:\\prog");
    if (readOnly) platform.files.readOnlyFolders.insert("c:\\prog");
    MemoryWindow window;
    App app{window, platform.services()};
    app.start();
    ExpectStartupState(window);
    EXPECT_FALSE(platform.files.exists("C:\\prog\\default.ini"));
  }
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

TEST(Startup, FirstStartInAnEmptyFolderShowsTheBuiltInDefaults) {
  MemoryWindow window;
  MemoryPlatform platform;
  platform.files.createFolder("C:\\prog");
  CreateProgramFolders(platform.files);
  App app(window, platform.services());
  app.start();
  EXPECT_EQ(window.text(cid::mode), "Single Pass - Quantizer");
  EXPECT_EQ(window.text(cid::value), "26");
  EXPECT_EQ(window.state(cid::tre), 0) << "the trellis list gets an entry from the defaults";
  EXPECT_EQ(window.text(cid::aub), "64");
  EXPECT_EQ(window.text(cid::cqm), "flat") << "missing from the defaults";
  EXPECT_EQ(window.text(cid::bv), "100");
  EXPECT_EQ(window.itemCount(cid::presetname), 0);
  EXPECT_EQ(window.itemCount(cid::avsinc), 0);
  EXPECT_FALSE(platform.files.exists("C:\\prog\\default.ini"));
  EXPECT_TRUE(platform.dialogs.calls.empty()) << "no message, no requester";
}

TEST(Startup, ClosingSavesTheSettingsIntoTheProgramFolder) {
  MemoryWindow window;
  MemoryPlatform platform;
  platform.files.createFolder("C:\\prog");
  CreateProgramFolders(platform.files);
  App app(window, platform.services());
  app.start();
  window.setText(cid::value, "33");
  app.onClose();
  std::optional<std::string> saved = platform.files.readFile("C:\\prog\\quorvel.ini");
  ASSERT_TRUE(saved.has_value());
  EXPECT_NE(saved->find("\r\nvalue = 33\r\n"), std::string::npos);
}
