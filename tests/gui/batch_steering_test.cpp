// The batches of the folder steered as a user does, through the window's
// system menu by its access keys, and started from two windows at once:
// the real window, Wine's command interpreter and the stand-in x264, which
// logs when each encode began and ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/batch_fixture.h"
#include "platform/win32/wide_text.h"
#include "ui/control_id.h"

namespace {

class BatchSteering : public BatchFixture {
 protected:
  void SetUp() override {
    BatchFixture::SetUp();
    ChooseListEntry(control(cid::mode), 1);  // one pass a job
  }

  HWND window() { return program->window().handle(); }

  // The runs of x264 for `name`.avs.
  size_t runsOf(const std::string& name) {
    size_t count = 0;
    for (const StandInRun& run : runs())
      count += run.program == "x264.exe" && run.argument.ends_with(name + ".avs") ? 1 : 0;
    return count;
  }

  std::string progressOfJob(int job) {
    return ReadBytes(bin + L"temp.j" + std::to_wstring(job) + L".progress").value_or("");
  }
};

TEST_F(BatchSteering, TwoJobsAtOnceRunSideBySideAndTheShutDownLineLast) {
  ChooseFromSystemMenu(window(), L"J2");
  EXPECT_EQ(program->app().batchMenu().jobsAtOnce, 2);
  // A line of the user's own above the jobs, made from a shut-down line by
  // "edit", sets up each worker's interpreter.
  Click(control(cid::shut));
  SendMessageW(control(cid::jobList), LB_SETCURSEL, 0, 0);
  dialogs.inputAnswers.push_back("set STANDIN_X264_SECONDS=1");
  Click(control(cid::edit));
  for (const char* name : {"a", "b", "c", "d"}) ASSERT_NO_FATAL_FAILURE(queue(name));
  Click(control(cid::shut));
  SetEnvironmentVariableW(L"STANDIN_X264_SECONDS", nullptr);
  Click(control(cid::start));
  ASSERT_TRUE(pumpUntil([&] { return title().starts_with("jobs 1 and 2 of 4: "); })) << title();
  ASSERT_TRUE(waitForTheEnd());
  EXPECT_TRUE(pumpUntil([&] { return title() == "4 jobs: 4 done, 0 failed - quorvel"; }))
      << title();
  const std::vector<StandInRun> ran = runs();
  EXPECT_EQ(MostAtOnce(ran), 2u) << "two side by side, never more";
  for (const char* name : {"a", "b", "c", "d"}) EXPECT_EQ(runsOf(name), 1u) << name;
  unsigned long long lastEnd = 0;
  for (const StandInRun& run : ran)
    if (run.program == "x264.exe") {
      lastEnd = std::max(lastEnd, run.end);
      EXPECT_GE(run.end - run.begin, 900u) << run.argument << " ran without the user's set line";
    }
  ASSERT_EQ(ran.back().program, "shutdown.exe");
  EXPECT_GE(ran.back().begin, lastEnd) << "the shut-down line runs after every encode";

  // The choice is kept for the next start of the program.
  program.reset();
  program = std::make_unique<Program>(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &dialogs});
  EXPECT_EQ(program->app().batchMenu().jobsAtOnce, 2);
}

TEST_F(BatchSteering, PauseStopAfterThisJobAndStopNow) {
  // Pause: the encode stands still, another window sees it paused and lets
  // it go on.
  ASSERT_NO_FATAL_FAILURE(queue("p"));
  SetEnvironmentVariableW(L"STANDIN_X264_SECONDS", L"3");
  Click(control(cid::start));
  ASSERT_TRUE(pumpUntil([&] { return title().find("%, ") != std::string::npos; })) << title();
  ChooseFromSystemMenu(window(), L"P");
  EXPECT_TRUE(title().starts_with("paused: job 1 of 1 (p.avs): ")) << title();
  const std::string stood = progressOfJob(1);
  Sleep(3000);
  EXPECT_EQ(progressOfJob(1), stood) << "the encode's progress does not move";
  EXPECT_EQ(runs().back().end, 0u);
  {
    FakeDialogs otherDialogs;
    Program other(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &otherDialogs});
    other.window().show();
    EXPECT_TRUE(other.app().batchMenu().paused);
    ChooseFromSystemMenu(other.window().handle(), L"P");
  }
  ASSERT_TRUE(waitForTheEnd());
  EXPECT_TRUE(pumpUntil([&] { return title() == "1 job: 1 done, 0 failed - quorvel"; })) << title();

  // Stop after this job: the running job ends, no other starts, and the
  // next Start offers to skip it.
  Click(control(cid::clear));
  for (const char* name : {"x", "y", "z"}) ASSERT_NO_FATAL_FAILURE(queue(name));
  SetEnvironmentVariableW(L"STANDIN_X264_SECONDS", L"1");
  Click(control(cid::start));
  ASSERT_TRUE(pumpUntil([&] { return title().starts_with("job 1 of 3"); })) << title();
  ChooseFromSystemMenu(window(), L"T");
  EXPECT_TRUE(program->app().batchMenu().stopPending);
  ASSERT_TRUE(waitForTheEnd());
  EXPECT_TRUE(pumpUntil([&] {
    return title() == "3 jobs, stopped: 1 done, 0 failed, 2 not finished - quorvel";
  })) << title();
  EXPECT_EQ(runsOf("x") + runsOf("y") + runsOf("z"), 1u);
  dialogs.askAnswers.push_back(true);
  Click(control(cid::start));
  ASSERT_TRUE(pumpUntil([&] { return title() == "3 jobs: 3 done, 0 failed - quorvel"; }))
      << title();
  ASSERT_TRUE(waitForTheEnd());
  EXPECT_NE(dialogs.calls.back().preset.find("1 of its 3 jobs had finished. Skip that job?"),
            std::string::npos);
  for (const char* name : {"x", "y", "z"}) EXPECT_EQ(runsOf(name), 1u) << name;

  // Stop now: asked once, the running encode never ends and nothing else
  // starts.
  Click(control(cid::clear));
  for (const char* name : {"s", "t"}) ASSERT_NO_FATAL_FAILURE(queue(name));
  ASSERT_TRUE(WriteBytes(work + L"hold", ""));
  Click(control(cid::start));
  ASSERT_TRUE(pumpUntil([&] { return title().find("(s.avs): ") != std::string::npos; }))
      << title() << "\n"
      << whatRan();
  dialogs.askAnswers.push_back(true);
  const size_t asked = dialogs.calls.size();
  ChooseFromSystemMenu(window(), L"O");
  ASSERT_EQ(dialogs.calls.size(), asked + 1);
  EXPECT_TRUE(dialogs.calls.back().preset.starts_with("Stop the batch now? The running job (s.avs"))
      << dialogs.calls.back().preset;
  EXPECT_TRUE(WaitUntil([] { return StartedInterpreters().empty(); }, 2000))
      << "every process of the batch ends within 2 seconds";
  DeleteFileW((work + L"hold").c_str());
  EXPECT_TRUE(pumpUntil([&] {
    return title() == "2 jobs, stopped: 0 done, 0 failed, 2 not finished - quorvel";
  })) << title();
  EXPECT_EQ(runs().back().end, 0u) << "the encode never reached its end";
  EXPECT_EQ(runsOf("t"), 0u);
}

// Two windows of one folder, the second opened before the first one's
// Start: the running batch's file is never written over, a second press
// starts nothing, and the second window's batch waits for the first.
TEST_F(BatchSteering, TwoWindowsAndTwoPressesRunEachJobOnce) {
  FakeDialogs otherDialogs;
  Program other(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &otherDialogs});
  for (const char* name : {"a", "b"}) ASSERT_NO_FATAL_FAILURE(queue(name));
  ASSERT_TRUE(WriteBytes(work + L"hold", ""));
  Click(control(cid::start));
  Click(control(cid::start));
  ASSERT_TRUE(pumpUntil([&] { return title().find("(a.avs): ") != std::string::npos; })) << title();
  const std::optional<std::string> script = ReadBytes(bin + L"temp.bat");
  ASSERT_TRUE(script.has_value());

  // The second window queues the same two jobs and one more.
  Win32Window& second = other.window();
  other.app().jobList().insert(0, program->app().jobList().lines());
  ASSERT_TRUE(WriteBytes(work + L"c.avs", "BlankClip()\r\n"));
  second.setText(cid::input, Narrow(work) + "c.avs");
  second.setText(cid::output, Narrow(work) + "c.mp4");
  Click(second.control(cid::add));
  ASSERT_TRUE(pumpUntil([&] { return second.itemCount(cid::jobList) == 3 * 6; }));
  otherDialogs.chooseAnswers.push_back(Dialogs::Answer::Yes);
  Click(second.control(cid::start));
  ASSERT_TRUE(pumpUntil([&] { return !otherDialogs.calls.empty(); }));
  EXPECT_TRUE(otherDialogs.calls.back().preset.starts_with(
      "A batch is running (job 1 of 2). 2 of the 3 jobs are already running in the batch "
      "started at "))
      << otherDialogs.calls.back().preset;
  EXPECT_TRUE(pumpUntil([&] {
    return Narrow(TextOf(second.handle())).starts_with("waiting for the batch started at ");
  })) << Narrow(TextOf(second.handle()));
  EXPECT_EQ(ReadBytes(bin + L"temp.bat"), script) << "the running batch is never written over";
  DeleteFileW((work + L"hold").c_str());
  ASSERT_TRUE(waitForTheEnd());
  for (const char* name : {"a", "b", "c"}) EXPECT_EQ(runsOf(name), 1u) << name;
  const std::vector<StandInRun> ran = runs();
  ASSERT_EQ(ran.size(), 3u);
  EXPECT_GE(ran[2].begin, ran[1].end) << "the second batch waited for the first";
}

// A batch started later beside one that ends with a shut-down line: the
// computer is not shut down under its encode.
TEST_F(BatchSteering, AShutDownLineWaitsForABatchStartedBesideItLater) {
  FakeDialogs otherDialogs;
  Program other(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &otherDialogs});
  ASSERT_NO_FATAL_FAILURE(queue("a"));
  Click(control(cid::shut));
  ASSERT_TRUE(WriteBytes(work + L"hold", ""));
  Click(control(cid::start));
  ASSERT_TRUE(pumpUntil([&] { return runsOf("a") == 1; })) << title();

  // The second window's job takes two seconds, the first's less.
  Win32Window& second = other.window();
  ASSERT_TRUE(WriteBytes(work + L"c.avs", "BlankClip()\r\n"));
  second.setText(cid::input, Narrow(work) + "c.avs");
  second.setText(cid::output, Narrow(work) + "c.mp4");
  Click(second.control(cid::add));
  otherDialogs.chooseAnswers.push_back(Dialogs::Answer::No);
  SetEnvironmentVariableW(L"STANDIN_X264_SECONDS", L"2");
  Click(second.control(cid::start));
  SetEnvironmentVariableW(L"STANDIN_X264_SECONDS", nullptr);
  ASSERT_TRUE(pumpUntil([&] { return runsOf("c") == 1; }));
  DeleteFileW((work + L"hold").c_str());
  ASSERT_TRUE(waitForTheEnd());
  const std::vector<StandInRun> ran = runs();
  ASSERT_EQ(ran.size(), 3u);
  ASSERT_EQ(ran.back().program, "shutdown.exe");
  for (const StandInRun& run : ran) {
    if (run.program == "x264.exe") {
      EXPECT_GE(ran.back().begin, run.end) << run.argument << " ran on after the shut-down";
    }
  }
}

}  // namespace
