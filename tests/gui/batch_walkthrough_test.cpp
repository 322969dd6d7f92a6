// A started batch from the user's side: the real window starts three
// two-pass jobs through Wine's command interpreter, with the stand-in x264
// (which prints what the real one prints and fails as it does on a missing
// input). The title follows the batch, a failed job stops at its failed
// step while the next job runs, "Last batch..." tells each job's outcome,
// and after the batch is killed the next Start offers to skip what it
// finished.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "gui/batch_fixture.h"
#include "platform/win32/wide_text.h"
#include "ui/control_id.h"
#include "ui/win32/window_constants.h"

namespace {

using Clock = std::chrono::steady_clock;

class BatchWalkthrough : public BatchFixture {
 protected:
  std::string records() { return ReadBytes(work + L"standin-log.txt").value_or(""); }

  // Presses Start and waits until the batch has run to its end, which the
  // title then tells as `outcome`.
  void startAndWaitFor(const std::string& outcome) {
    Click(control(cid::start));
    ASSERT_TRUE(pumpUntil([&] { return title() == outcome && StartedInterpreters().empty(); }))
        << title();
  }

  size_t encodesOf(const std::string& records, const std::string& input) {
    size_t count = 0;
    for (size_t at = records.find(input); at != std::string::npos; at = records.find(input, at + 1))
      ++count;
    return count;
  }
};

TEST_F(BatchWalkthrough, TheWindowFollowsTheBatchAndTheNextStartSkipsWhatItFinished) {
  ChooseListEntry(control(cid::mode), 6);  // Automated Double Passes
  for (const char* name : {"a", "b", "c"}) ASSERT_NO_FATAL_FAILURE(queue(name, name[0] == 'b'));

  // b.avs is missing: its first pass fails, its second does not run, and
  // the third job runs. The title shows the encoder's progress meanwhile.
  SetEnvironmentVariableW(L"STANDIN_X264_SECONDS", L"2");
  const Clock::time_point pressed = Clock::now();
  Click(control(cid::start));
  // The title names the pass and the input.
  EXPECT_TRUE(pumpUntil([&] {
    return title().starts_with("job 1 of 3, pass 1 of 2 (a.avs): ") &&
           title().find("%, ") != std::string::npos;
  })) << title();
  std::printf(
      "[ MEASURE  ] Start to the first progress in the title: %lld ms\n",
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - pressed).count()));
  EXPECT_TRUE(pumpUntil([&] { return title().starts_with("job 1 of 3, pass 2 of 2 (a.avs): "); }))
      << title();
  SetEnvironmentVariableW(L"STANDIN_X264_SECONDS", nullptr);
  ASSERT_TRUE(pumpUntil([&] { return StartedInterpreters().empty(); })) << title();
  EXPECT_TRUE(pumpUntil([&] { return title() == "3 jobs: 2 done, 1 failed - quorvel"; }))
      << title();
  const std::string first = records();
  EXPECT_EQ(encodesOf(first, "a.avs"), 2u);
  EXPECT_EQ(encodesOf(first, "b.avs"), 1u) << "the second pass of the failed job does not run";
  EXPECT_EQ(encodesOf(first, "c.avs"), 2u);

  // Beside each job's first line, its state; a picture of the list for the
  // eye.
  Win32Window& window = program->window();
  EXPECT_TRUE(pumpUntil([&] { return window.item(cid::jobList, 0) == "@echo."; }));
  window.show();
  ClickTab(window.tabs(), 4);
  RedrawWindow(window.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  const std::wstring pictures = bin + L"..\\screenshots\\";
  CreateDirectoryW(pictures.c_str(), nullptr);
  int colours = 0;
  EXPECT_TRUE(SaveClientScreenshot(window.handle(), pictures + L"job-states.bmp", &colours));
  SendMessageW(program->window().handle(), WM_SYSCOMMAND, window_constants::kLastBatchCommand, 0);
  ASSERT_FALSE(dialogs.calls.empty());
  const std::string report = dialogs.calls.back().preset;
  EXPECT_NE(report.find(": done\n"), std::string::npos) << report;
  // Why: the encoder's own words.
  EXPECT_NE(
      report.find("b.avs): failed at pass 1, exit code 255, log " + Narrow(work) +
                  "b.log\n    x264 [error]: could not open input file `" + Narrow(work) + "b.avs'"),
      std::string::npos)
      << report;

  // The missing input is there now; this batch is killed in its third job.
  ASSERT_TRUE(WriteBytes(work + L"b.avs", "BlankClip()\r\n"));
  SetEnvironmentVariableW(L"STANDIN_X264_SECONDS", L"1");
  Click(control(cid::start));
  // The third job's encode is held until the batch is killed.
  ASSERT_TRUE(WaitUntil(
      [&] {
        return ReadBytes(bin + L"temp.w1.record").value_or("").find("begin 3") != std::string::npos;
      },
      30000));
  ASSERT_TRUE(WriteBytes(work + L"hold", ""));
  SetEnvironmentVariableW(L"STANDIN_X264_SECONDS", nullptr);
  ASSERT_TRUE(pumpUntil([&] { return title().starts_with("job 3 of 3, pass 1 of 2 (c.avs)"); }))
      << title();
  for (DWORD interpreter : StartedInterpreters()) KillTree(interpreter);
  EXPECT_TRUE(pumpUntil([&] {
    return title() == "3 jobs: 2 done, 0 failed, 1 not finished - quorvel";
  })) << title();
  DeleteFileW((work + L"hold").c_str());

  // After Clear, "Last batch..." by its access key queues the unfinished
  // job again and not the finished ones; those the user queues again too.
  Click(control(cid::clear));
  dialogs.askAnswers.push_back(true);
  ChooseFromSystemMenu(window.handle(), L"L");
  ASSERT_EQ(dialogs.calls.back().kind, "ask");
  EXPECT_TRUE(dialogs.calls.back().preset.ends_with("\n\nQueue the unfinished job again?"))
      << dialogs.calls.back().preset;
  std::string queuedAgain;
  for (int i = 0; i < window.itemCount(cid::jobList); ++i)
    queuedAgain += window.item(cid::jobList, i) + "\n";
  EXPECT_NE(queuedAgain.find("c.avs"), std::string::npos) << queuedAgain;
  EXPECT_EQ(queuedAgain.find("a.avs"), std::string::npos) << queuedAgain;
  EXPECT_EQ(queuedAgain.find("b.avs"), std::string::npos) << queuedAgain;
  for (const char* name : {"a", "b"}) ASSERT_NO_FATAL_FAILURE(queue(name));

  // The next Start asks; Yes runs the third job only.
  DeleteFileW((work + L"standin-log.txt").c_str());
  dialogs.askAnswers.push_back(true);
  const size_t before = dialogs.calls.size();
  ASSERT_NO_FATAL_FAILURE(startAndWaitFor("3 jobs: 3 done, 0 failed - quorvel"));
  ASSERT_GT(dialogs.calls.size(), before);
  EXPECT_EQ(dialogs.calls[before].kind, "ask");
  EXPECT_NE(dialogs.calls[before].preset.find(
                " stopped before its end. 2 of its 3 jobs had finished. Skip those 2?"),
            std::string::npos)
      << dialogs.calls[before].preset;
  const std::string resumed = records();
  EXPECT_EQ(encodesOf(resumed, "a.avs") + encodesOf(resumed, "b.avs"), 0u) << resumed;
  EXPECT_EQ(encodesOf(resumed, "c.avs"), 2u) << resumed;
}

}  // namespace
