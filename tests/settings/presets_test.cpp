#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_file.h"
#include "settings/settings_values.h"
#include "settings/started_app.h"
#include "ui/control_id.h"

namespace {

using namespace cid;

std::vector<std::string> Items(const Window& window, ControlId list) {
  std::vector<std::string> items;
  for (int i = 0; i < window.itemCount(list); ++i) items.push_back(window.item(list, i));
  return items;
}

// The in-memory file system lists a folder in the alphabetical order of the
// lower-case names.
StartedApp WithPresetFolders() {
  return StartedApp([](MemoryFileSystem& files) {
    files.put("C:\\prog\\configs\\film.ini", "mode = 2\r\nvalue = 20\r\n");
    files.put("C:\\prog\\configs\\anime.ini", "mode = 0\r\nvalue = 1500\r\n");
    files.put("C:\\prog\\avsinc\\Plain.avs", "");
    files.put("C:\\prog\\avsinc\\Deint.avs", "");
  });
}

void PressSave(StartedApp& s, std::string_view name, bool yes) {
  s.window.setText(presetname, name);
  s.platform.dialogs.askAnswers.push_back(yes);
  s.app.onEvent(savePreset, EventKind::Clicked);
}

void PressLoad(StartedApp& s, std::string_view name) {
  s.window.setText(presetname, name);
  s.app.onEvent(loadPreset, EventKind::Clicked);
}

// ---------------------------------------------------------------------------
// "Save"

TEST(SavePreset, AnsweredYesWritesThePresetAndRefreshesTheList) {
  StartedApp s = WithPresetFolders();
  SetShown(s.window, kChangedValues);
  PressSave(s, "night", true);

  ASSERT_EQ(s.platform.dialogs.calls.size(), 1u);
  EXPECT_EQ(s.platform.dialogs.calls[0].kind, "ask");
  EXPECT_EQ(s.platform.dialogs.calls[0].title, "Save");
  EXPECT_EQ(s.platform.dialogs.calls[0].preset, "Are you sure?");
  EXPECT_EQ(s.platform.files.readFile("C:\\prog\\configs\\night.ini"), kChangedFile);
  EXPECT_EQ(Items(s.window, presetname), (std::vector<std::string>{"anime", "film", "night"}));
  EXPECT_EQ(s.window.text(presetname), "");
  EXPECT_EQ(s.window.state(presetname), -1);
}

TEST(SavePreset, AnsweredNoWritesNothingButStillRefreshesTheList) {
  StartedApp s = WithPresetFolders();
  s.platform.files.put("C:\\prog\\configs\\later.ini", "");  // appears only on a refresh
  const int writes = s.platform.files.writes;
  PressSave(s, "night", false);

  EXPECT_EQ(s.platform.files.writes, writes);
  EXPECT_FALSE(s.platform.files.exists("C:\\prog\\configs\\night.ini"));
  EXPECT_EQ(Items(s.window, presetname), (std::vector<std::string>{"anime", "film", "later"}));
  EXPECT_EQ(s.window.text(presetname), "");
  EXPECT_EQ(s.window.state(presetname), -1);
}

TEST(SavePreset, AnEmptyNameSavesNothing) {
  StartedApp s = WithPresetFolders();
  const int writes = s.platform.files.writes;
  PressSave(s, "", true);
  EXPECT_EQ(s.platform.files.writes, writes);
  EXPECT_FALSE(s.platform.files.exists("C:\\prog\\configs\\.ini"));
  EXPECT_EQ(Items(s.window, presetname), (std::vector<std::string>{"anime", "film"}));
}

TEST(SavePreset, OverwritesAnExistingPresetWithoutAnotherQuestion) {
  StartedApp s = WithPresetFolders();
  s.type(kfb, "77");
  PressSave(s, "film", true);
  EXPECT_EQ(s.platform.dialogs.calls.size(), 1u);
  const std::string saved = *s.platform.files.readFile("C:\\prog\\configs\\film.ini");
  EXPECT_EQ(saved, SettingsFileText(s.window));
  EXPECT_NE(saved.find("\r\nkfb = 77\r\n"), std::string::npos);
}

TEST(SavePreset, ANameWithADotIsSavedAndListedUnderThatName) {
  StartedApp s = WithPresetFolders();
  s.type(kfb, "77");
  PressSave(s, "my.clip", true);
  EXPECT_TRUE(s.platform.files.exists("C:\\prog\\configs\\my.clip.ini"));
  EXPECT_FALSE(s.platform.files.exists("C:\\prog\\configs\\my.ini"));
  EXPECT_EQ(Items(s.window, presetname), (std::vector<std::string>{"anime", "film", "my.clip"}));

  s.type(kfb, "5");
  s.window.setState(presetname, 2);
  s.app.onEvent(loadPreset, EventKind::Clicked);
  EXPECT_EQ(s.window.text(kfb), "77");
}

TEST(SavePreset, LeavesTheAviSynthPresetListAlone) {
  StartedApp s = WithPresetFolders();
  s.window.setState(avsinc, 1);
  s.platform.files.put("C:\\prog\\avsinc\\New.avs", "");
  PressSave(s, "night", true);
  EXPECT_EQ(Items(s.window, avsinc), (std::vector<std::string>{"Deint", "Plain"}));
  EXPECT_EQ(s.window.text(avsinc), "Plain");
}

TEST(SavePreset, AMissingConfigsFolderSavesNothing) {
  StartedApp s = WithPresetFolders();
  s.platform.files.folders.erase("c:\\prog\\configs");
  PressSave(s, "night", true);
  EXPECT_FALSE(s.platform.files.exists("C:\\prog\\configs\\night.ini"));
}

// ---------------------------------------------------------------------------
// "Load"

TEST(PresetNames, ANameThatIsNoFileOfConfigsIsRefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* name;
    bool accepted;
  };
  const Case cases[] = {
      {R"(..\..\escape)", false},
      {"../up", false},
      {"a:b", false},
      {"C:\\x", false},
      {"a..b", false},
      {"star*", false},
      {"what?", false},
      {"q\"uote", false},
      {"<in>", false},
      {"pi|pe", false},
      {"tab\t", false},
      {"dot.", false},
      {"blank ", false},
      {"con", false},
      {"NUL.backup", false},
      {"com7", false},
      {"lpt1", false},
      {"COM\xC2\xB9", false},  // superscript one
      {"lpt\xC2\xB3.x", false},
      {"com\xC2\xB4", true},  // an acute accent
      {"a.b", true},
      {"film 2", true},
      {"com10", true},
      {"\xE6\x97\xA5\xE6\x9C\xAC", true},
  };
  for (const Case& c : cases) {
    for (bool save : {true, false}) {
      StartedApp s;
      const int writes = s.platform.files.writes;
      if (save)
        PressSave(s, c.name, true);
      else
        PressLoad(s, c.name);
      const bool written =
          s.platform.files.exists("C:\\prog\\configs\\" + std::string(c.name) + ".ini");
      EXPECT_EQ(written, c.accepted) << c.name << (save ? " saved" : " loaded");
      if (!c.accepted) {
        EXPECT_EQ(s.platform.files.writes, writes) << c.name;
        ASSERT_EQ(s.platform.dialogs.calls.size(), save ? 2u : 1u) << c.name;
        EXPECT_EQ(s.platform.dialogs.calls.back().kind, "message");
      }
    }
  }
}

TEST(LoadPreset, LoadsTheNamedPreset) {
  StartedApp s = WithPresetFolders();
  PressLoad(s, "anime");
  EXPECT_EQ(s.window.state(mode), 0);
  EXPECT_EQ(s.window.text(value), "1500");
  EXPECT_EQ(s.window.text(valueLabel), "Average Bitrate");
  EXPECT_EQ(s.window.text(aub), "64000") << "absent from the preset";
}

TEST(LoadPreset, ANameWithoutAPresetCreatesAnEmptyOneAndLoadsIt) {
  StartedApp s = WithPresetFolders();
  SetShown(s.window, kChangedValues);
  s.window.setState(avsinc, -1);
  PressLoad(s, "fresh");
  EXPECT_EQ(s.platform.files.readFile("C:\\prog\\configs\\fresh.ini"), "");
  ExpectShown(s.window, kAfterEmptyFile);
  EXPECT_TRUE(s.platform.dialogs.calls.empty());
}

TEST(LoadPreset, NothingHappensWhenThePresetCannotBeCreated) {
  struct Case {
    std::string_view what;
    bool removeFolder;
    bool readOnly;
  };
  const Case cases[] = {{"configs folder missing", true, false},
                        {"configs folder read-only", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartedApp s = WithPresetFolders();
    SetShown(s.window, kChangedValues);
    if (c.removeFolder) s.platform.files.folders.erase("c:\\prog\\configs");
    if (c.readOnly) s.platform.files.readOnlyFolders.insert("c:\\prog\\configs");
    PressLoad(s, "fresh");
    EXPECT_FALSE(s.platform.files.exists("C:\\prog\\configs\\fresh.ini"));
    EXPECT_FALSE(s.platform.files.exists("C:\\prog\\default.ini"));
    ExpectShown(s.window, kChangedValues);
  }
}

TEST(LoadPreset, AnExistingPresetInAReadOnlyFolderIsStillLoaded) {
  StartedApp s = WithPresetFolders();
  s.platform.files.readOnlyFolders.insert("c:\\prog\\configs");
  PressLoad(s, "film");
  EXPECT_EQ(s.window.state(mode), 2);
  EXPECT_EQ(s.window.text(value), "20");
}

// ---------------------------------------------------------------------------
// "Refresh"

TEST(RefreshPresets, ListsTheBaseNamesOfBothFoldersWithoutSelection) {
  StartedApp s = WithPresetFolders();
  s.platform.files.put("C:\\prog\\configs\\my.clip.ini", "");
  s.platform.files.put("C:\\prog\\configs\\UPPER.INI", "");
  s.platform.files.put("C:\\prog\\configs\\notes.txt", "");
  s.platform.files.put("C:\\prog\\configs\\old\\inner.ini", "");
  s.platform.files.createFolder("C:\\prog\\configs\\folder.ini");
  s.platform.files.put("C:\\prog\\avsinc\\readme.txt", "");
  s.platform.files.put("C:\\prog\\avsinc\\two.dots.avs", "");
  s.platform.files.put("C:\\prog\\stats\\stray.ini", "");
  s.window.setText(presetname, "typed");
  s.window.setState(avsinc, 0);

  s.app.onEvent(refresh, EventKind::Clicked);

  EXPECT_EQ(Items(s.window, presetname),
            (std::vector<std::string>{"anime", "film", "my.clip", "UPPER"}));
  EXPECT_EQ(Items(s.window, avsinc), (std::vector<std::string>{"Deint", "Plain", "two.dots"}));
  EXPECT_EQ(s.window.state(presetname), -1);
  EXPECT_EQ(s.window.text(presetname), "");
  EXPECT_EQ(s.window.state(avsinc), -1);
  EXPECT_EQ(s.window.text(avsinc), "");
}

TEST(RefreshPresets, MissingFoldersLeaveTheListsEmpty) {
  StartedApp s = WithPresetFolders();
  s.platform.files.files.clear();
  s.platform.files.folders.erase("c:\\prog\\configs");
  s.platform.files.folders.erase("c:\\prog\\avsinc");
  s.app.onEvent(refresh, EventKind::Clicked);
  EXPECT_EQ(s.window.itemCount(presetname), 0);
  EXPECT_EQ(s.window.itemCount(avsinc), 0);
}

TEST(RefreshPresets, StartUpFillsBothLists) {
  StartedApp s = WithPresetFolders();
  EXPECT_EQ(Items(s.window, presetname), (std::vector<std::string>{"anime", "film"}));
  EXPECT_EQ(Items(s.window, avsinc), (std::vector<std::string>{"Deint", "Plain"}));
  EXPECT_EQ(s.window.state(presetname), -1);
  EXPECT_EQ(s.window.state(avsinc), -1);
}

// ---------------------------------------------------------------------------
// "Load Default"

TEST(LoadDefaultButton, AppliesTheBuiltInDefaultsAndKeepsThePresetLists) {
  StartedApp s = WithPresetFolders();
  PressLoad(s, "anime");
  s.window.setText(presetname, "anime");
  s.app.onEvent(loadDefault, EventKind::Clicked);
  ExpectShown(s.window, kAfterDefaults);
  EXPECT_EQ(Items(s.window, presetname), (std::vector<std::string>{"anime", "film"}));
  EXPECT_EQ(s.window.text(presetname), "anime");
  EXPECT_FALSE(s.platform.files.exists("C:\\prog\\default.ini"));
  EXPECT_EQ(s.platform.files.readFile("C:\\prog\\configs\\anime.ini"),
            "mode = 0\r\nvalue = 1500\r\n");
}

}  // namespace
