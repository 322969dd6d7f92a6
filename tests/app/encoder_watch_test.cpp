// The jobs are written for the x264 the batch will call: asked once in the
// background at start-up, and again when its file changes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "app_under_test.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr const char* kTodaysHelp =
    "x264 core:164 r3095 baee400\n      --b-pyramid <string>    Keep some B-frames\n"
    "      --no-progress           Don't show the progress indicator\n";

const EncoderFile kEncoder{R"(C:\prog\x264.exe)", 1000, 42};

// Queues one job of mode 1 and gives its pass line once the encoder, when
// it `asks` it, has answered.
std::string AddJob(AppUnderTest& t, bool asks = false) {
  t.window.setText(cid::input, R"(D:\v\clip.avs)");
  t.window.setText(cid::output, R"(D:\v\clip.mp4)");
  t.window.setText(cid::logfile, R"(C:\prog\log\clip.avs.txt)");
  t.click(cid::add);
  if (asks) {
    EXPECT_EQ(t.window.runPosted(5000), 1);
  }
  const std::vector<std::string> lines = t.lines();
  return lines.size() >= 5 ? lines[lines.size() - 2] : std::string();
}

TEST(EncoderWatch, JobsFollowTheEncoderFoundAndItIsAskedAgainOnlyWhenItsFileChanges) {
  AppUnderTest t;  // started with no encoder found
  // None in the program folder: it is looked for along PATH, away from the
  // window's thread.
  EXPECT_THAT(AddJob(t, true), StartsWith("@x264.exe --progress "));

  t.platform.encoders.set(kEncoder, kTodaysHelp);
  EXPECT_THAT(AddJob(t, true), AllOf(StartsWith("@x264.exe --cqm "), HasSubstr(" --no-mbtree ")));
  AddJob(t);
  EXPECT_EQ(t.platform.encoders.asked(), 1) << "the same file is not asked again";

  EncoderFile rebuilt = kEncoder;
  rebuilt.writeTime = 43;
  t.platform.encoders.set(rebuilt, "x264 core:59\n      --progress\n");
  EXPECT_THAT(AddJob(t, true), StartsWith("@x264.exe --progress "));
  EXPECT_EQ(t.platform.encoders.asked(), 2);

  t.platform.encoders.set(kEncoder, std::nullopt);  // found, but it does not answer
  EXPECT_THAT(AddJob(t, true), StartsWith("@x264.exe --progress "));
}

// The window's thread never waits for the encoder: an Add while it is asked
// returns at once with its job in the list, written anew in the encoder's
// switches once it has answered; closing the program does not wait for an
// encoder that does not answer.
TEST(EncoderWatch, TheWindowNeverWaitsForTheEncoder) {
  auto t = std::make_unique<AppUnderTest>();
  t->platform.encoders.set(kEncoder, kTodaysHelp);
  t->platform.encoders.hold(true);
  t->app.onShown();
  t->window.setText(cid::input, R"(D:\v\clip.avs)");
  t->window.setText(cid::output, R"(D:\v\clip.mp4)");
  t->click(cid::add);
  ASSERT_EQ(t->lines().size(), 6u) << "the job is queued at the press";
  EXPECT_EQ(t->window.text(cid::input), "") << "the fields are free for the next job";
  t->platform.encoders.hold(false);
  EXPECT_EQ(t->window.runPosted(5000), 1);
  ASSERT_EQ(t->lines().size(), 6u);
  EXPECT_THAT(t->lines()[4], StartsWith("@x264.exe --cqm ")) << "in today's switches";

  EncoderFile rebuilt = kEncoder;
  rebuilt.size = 2000;
  t->platform.encoders.set(rebuilt, kTodaysHelp);
  t->platform.encoders.hold(true);
  t->app.onEncoderInfo();  // asks the rebuilt encoder, which hangs
  const auto closing = std::chrono::steady_clock::now();
  t.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::seconds(1));
}

// Presses made while the encoder is asked act on the list in their order:
// a job the user removed, edited or moved stays as the user left it, the
// others are written in the encoder's switches, and Start and Make BAT
// take the list once they are.
TEST(EncoderWatch, PressesWhileTheEncoderIsAskedActOnTheListInTheirOrder) {
  AppUnderTest t;
  t.platform.encoders.set(kEncoder, kTodaysHelp);
  t.platform.encoders.hold(true);
  t.app.onShown();
  for (const char* name : {"a", "b", "c"}) {
    t.window.setText(cid::input, std::string(R"(D:\v\)") + name + ".avs");
    t.window.setText(cid::output, std::string(R"(D:\v\)") + name + ".mp4");
    t.click(cid::add);
  }
  ASSERT_EQ(t.lines().size(), 18u);
  t.window.setState(cid::jobList, 8);  // in job b
  t.click(cid::del);
  t.window.setState(cid::jobList, 10);  // the pass line of job c
  t.platform.dialogs.inputAnswers.push_back("@x264.exe --edited");
  t.click(cid::edit);
  t.click(cid::shut);
  t.click(cid::start);
  t.platform.dialogs.saveAnswers.push_back(R"(C:\prog\jobs.bat)");
  t.click(cid::makeBat);
  EXPECT_TRUE(t.platform.processes.started.empty()) << "Start waits for the encoder";
  t.platform.encoders.hold(false);
  EXPECT_EQ(t.window.runPosted(5000), 1);

  const std::vector<std::string> lines = t.lines();
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_THAT(lines[1], HasSubstr("a.avs"));
  EXPECT_THAT(lines[4], StartsWith("@x264.exe --cqm ")) << "job a in today's switches";
  EXPECT_THAT(lines[7], HasSubstr("c.avs"));
  EXPECT_EQ(lines[10], "@x264.exe --edited");
  EXPECT_EQ(lines[12], "shutdown.exe -s -f -t 30");
  ASSERT_EQ(t.platform.processes.started.size(), 1u);
  const std::string started = *t.platform.files.readFile(t.platform.processes.started[0].first);
  const std::string saved = *t.platform.files.readFile(R"(C:\prog\jobs.bat)");
  for (const std::string& line : lines) {
    EXPECT_THAT(saved, HasSubstr(line + "\r\n"));
    // The started batch has teelog.exe run each encode.
    EXPECT_THAT(started,
                HasSubstr((line.starts_with("@x264.exe") ? line.substr(1) : line) + "\r\n"));
  }
}

TEST(EncoderWatch, BatchAddingAsksOnceForAllItsFiles) {
  AppUnderTest t;
  t.platform.encoders.set(kEncoder, kTodaysHelp);
  t.platform.dialogs.folderAnswers.push_back(R"(E:\out\)");
  t.platform.dialogs.openManyAnswers.push_back({R"(D:\v\a.avs)", R"(D:\v\b.avs)", R"(D:\v\c.avs)"});
  t.click(cid::batchAdding);
  EXPECT_EQ(t.window.runPosted(5000), 1) << "the jobs wait for the one answer";
  int passes = 0;
  for (const std::string& line : t.lines()) {
    if (!line.starts_with("@x264.exe")) continue;
    ++passes;
    EXPECT_THAT(line, Not(HasSubstr("--progress")));
  }
  EXPECT_EQ(passes, 3);
  EXPECT_EQ(t.platform.encoders.asked(), 1);
}

TEST(EncoderWatch, TheSystemMenuTellsWhichEncoderTheJobsAreWrittenFor) {
  AppUnderTest t;
  t.app.onEncoderInfo();
  ASSERT_TRUE(t.runPostedUntil([&] { return t.calls("message").size() == 1; }));
  t.platform.encoders.set(kEncoder, kTodaysHelp);
  t.app.onEncoderInfo();
  ASSERT_TRUE(t.runPostedUntil([&] { return t.calls("message").size() == 2; }));
  const std::vector<DialogCall> shown = t.calls("message");
  EXPECT_EQ(shown[0].title, "x264 for the jobs");
  EXPECT_THAT(shown[0].preset, StartsWith("No x264.exe was found"));
  EXPECT_THAT(shown[1].preset, HasSubstr("C:\\prog\\x264.exe\nx264 core:164 r3095 baee400\n"));
  EXPECT_THAT(shown[1].preset, HasSubstr("--b-pyramid none/normal"));
}

}  // namespace
