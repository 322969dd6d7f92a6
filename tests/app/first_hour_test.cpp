// What a new user does first: the settings of a first start, an input and an
// output typed into their fields, and "Add".
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_under_test.h"

namespace {

using ::testing::IsEmpty;

bool AnyHolds(const std::vector<std::string>& lines, std::string_view text) {
  for (const std::string& line : lines)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

// Every mode, audio off and on, queues its job: the empty "Logfile(empty=none)"
// keeps no log, the empty statistics file leaves x264 its own. A path may
// be relative to the program folder.
TEST(FirstHour, TypedPathsQueueAJobInEveryMode) {
  // Modes that refuse such a job, with the start of their message: none.
  const std::vector<std::pair<int, std::string>> refusing = {};
  const std::pair<std::string, std::string> typed[] = {
      {R"(D:\My Videos\clip.avs)", R"(D:\My Videos\clip.mp4)"},
      {"clip.avs", "clip.mp4"},
      {R"(.\-o clip.avs)", R"(videos\-o clip.mp4)"},
      {R"(\\host\share\clip.avs)", R"(\v\clip.mp4)"},
  };
  for (int mode = 0; mode < 14; ++mode) {
    const auto& [input, output] = typed[mode % std::size(typed)];
    for (bool audio : {false, true}) {
      SCOPED_TRACE(input + ", mode " + std::to_string(mode) + (audio ? " with audio" : ""));
      AppUnderTest t;
      t.window.setState(cid::mode, mode);
      t.app.onEvent(cid::mode, EventKind::SelectionChanged);
      if (audio) {
        t.window.setState(cid::aud, 1);
        t.click(cid::aud);
      }
      t.window.setText(cid::input, input);
      t.window.setText(cid::output, output);
      t.click(cid::add);
      const std::vector<std::string> lines = t.lines();
      bool refused = false;
      for (const auto& [refusingMode, message] : refusing)
        if (refusingMode == mode) {
          refused = true;
          ASSERT_EQ(t.calls("message").size(), 1u);
          EXPECT_THAT(t.calls("message")[0].preset, ::testing::StartsWith(message));
          EXPECT_THAT(lines, IsEmpty());
        }
      if (refused) continue;
      EXPECT_THAT(t.calls("message"), IsEmpty());
      ASSERT_GE(lines.size(), 6u);
      EXPECT_EQ(lines[1], "@echo Input:\"" + input + '"');
      EXPECT_FALSE(AnyHolds(lines, "teelog.exe"));
      EXPECT_FALSE(AnyHolds(lines, "--stats"));
      const bool discards = mode == 3 || mode == 4 || mode == 8 || mode == 9;
      EXPECT_EQ(AnyHolds(lines, "@bepipe.exe"), audio && !discards);
      EXPECT_EQ(t.window.text(cid::input), "") << "the fields are emptied for the next job";
    }
  }
}

}  // namespace

namespace {

// The settings live in the program folder whatever the current directory;
// a file that only the current directory holds, where earlier versions kept
// it, is read once and saved into the program folder.
TEST(FirstHour, SettingsLiveInTheProgramFolder) {
  AppUnderTest earlier([](MemoryFileSystem& files) { files.put("quorvel.ini", "value = 31\r\n"); });
  EXPECT_EQ(earlier.window.text(cid::value), "31");
  earlier.app.onClose();
  const std::optional<std::string> saved =
      earlier.platform.files.readFile(R"(C:\prog\quorvel.ini)");
  ASSERT_TRUE(saved.has_value());
  EXPECT_THAT(*saved, ::testing::HasSubstr("\r\nvalue = 31\r\n"));

  AppUnderTest both([](MemoryFileSystem& files) {
    files.put("quorvel.ini", "value = 31\r\n");
    files.put(R"(C:\prog\quorvel.ini)", "value = 42\r\n");
  });
  EXPECT_EQ(both.window.text(cid::value), "42");
}

}  // namespace
