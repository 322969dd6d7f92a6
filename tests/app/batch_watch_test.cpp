// A started batch as the window follows it: through the records the room
// reads, the title and the taskbar button tell which job runs, its pass and
// how far, and then how the batch went; a window started later takes the
// batch up; "Last batch..." tells why a job failed and queues the jobs a
// batch stopped short of again; the next Start offers to skip what such a
// batch finished, while its results are still there.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_under_test.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::vector<std::string> Job(const std::string& name) {
  const std::string stem = "D:\\v\\" + name;
  return {
      "@echo.", "@echo Input:\"" + stem + ".avs\"",
      "@x264.exe -o \"" + stem + ".mp4\" \"" + stem + ".avs\" 2>&1|teelog.exe \"" + stem + ".log\"",
      "@echo+"};
}

TEST(BatchWatch, TheWindowFollowsABatchAndTheNextStartSkipsWhatItFinished) {
  AppUnderTest t;
  std::vector<std::string> lines;
  for (const char* name : {"a", "b", "c"})
    for (const std::string& line : Job(name)) lines.push_back(line);
  t.setLines(lines);
  t.click(cid::start);
  ASSERT_EQ(t.platform.processes.started.size(), 1u);
  EXPECT_TRUE(t.window.ticking()) << "the window looks while the batch runs";

  // What the worker appends, as the command interpreter's echo writes it.
  auto batchWrites = [&](const std::string& text) {
    t.platform.files.appendFile(R"(C:\prog\temp.w1.record)", text + " \r\n");
  };
  batchWrites("begin 1");
  batchWrites("pass 1 1");
  t.platform.files.writeFile(R"(C:\prog\temp.j1.progress)",
                             "[45.2%] 123/273 frames, 23.45 fps, 1234.56 kb/s, eta 0:01:04  ");
  t.window.tick();
  EXPECT_EQ(t.window.title(),
            "job 1 of 3 (a.avs): 45.2%, 123/273 frames, 23.45 fps, eta 0:01:04 - quorvel");
  EXPECT_EQ(t.window.progress(), std::make_pair(Window::Progress::Running, 150));
  // Beside each job's first line: its state.
  auto notes = [&] {
    std::vector<std::string> shown;
    for (int line : {0, 4, 8}) shown.push_back(t.window.itemNote(cid::jobList, line));
    return shown;
  };
  EXPECT_EQ(notes(), (std::vector<std::string>{"running: 45.2%", "waiting", "waiting"}));

  t.platform.files.put(R"(D:\v\a.mp4)", "video");
  batchWrites("done 1 5");
  batchWrites("begin 2");
  t.platform.files.writeFile(R"(C:\prog\temp.j2.progress)",
                             "\r\nx264 [error]: could not open input file `D:\\v\\b.avs'\r\n");
  batchWrites("failed 2 pass1 255");
  batchWrites("begin 3");
  t.window.tick();
  EXPECT_EQ(t.window.title(), "job 3 of 3 (c.avs) - quorvel");
  EXPECT_EQ(t.window.progress().first, Window::Progress::Failed) << "once a job has failed";

  // A window started while the batch runs takes it up.
  {
    MemoryWindow later;
    App second(later, t.platform.services());
    second.start();
    second.onShown();
    EXPECT_TRUE(later.ticking());
    EXPECT_EQ(later.title(), "job 3 of 3 (c.avs) - quorvel");
  }

  // The batch is killed in its third job.
  t.platform.processes.running.clear();
  t.window.tick();
  EXPECT_FALSE(t.window.ticking()) << "nothing looks once no batch runs";
  EXPECT_EQ(t.window.title(), "3 jobs: 1 done, 1 failed, 1 not finished - quorvel");
  EXPECT_EQ(notes(), (std::vector<std::string>{"done", "failed at pass 1", "stopped"}));
  // A job that was in no batch shows nothing; the others keep theirs.
  t.app.jobList().insert(0, Job("new"));
  EXPECT_EQ(t.window.itemNote(cid::jobList, 0), "");
  EXPECT_EQ(t.window.itemNote(cid::jobList, 4), "done");
  t.app.jobList().remove(0, 4);
  t.app.onLastBatch();
  ASSERT_FALSE(t.calls("message").empty()) << "its unfinished job is still in the list";
  const std::string report = t.calls("message").back().preset;
  EXPECT_THAT(report, HasSubstr("stopped before its end"));
  EXPECT_THAT(report, HasSubstr("job 1 (D:\\v\\a.avs): done\n"));
  EXPECT_THAT(report, HasSubstr("job 2 (D:\\v\\b.avs): failed at pass 1, exit code 255, log "
                                "D:\\v\\b.log\n    x264 [error]: could not open input file "
                                "`D:\\v\\b.avs'\n"));
  EXPECT_THAT(report, HasSubstr("job 3 (D:\\v\\c.avs): stopped"));

  // What a job made counts while it is there as it was: after a power cut
  // it may be cut short. The next Start asks about the finished job only.
  t.platform.files.put(R"(D:\v\a.mp4)", "vid");
  t.click(cid::start);
  ASSERT_TRUE(t.runPostedUntil([&] { return t.platform.processes.started.size() == 2; }));
  EXPECT_TRUE(t.calls("ask").empty()) << "job 1's result changed: nothing to skip";
  t.platform.processes.running.clear();
  t.window.tick();
}

// After a batch stopped short and the list was cleared, "Last batch..."
// queues the jobs it did not finish again, and not the finished one.
TEST(BatchWatch, LastBatchQueuesTheUnfinishedJobsAgain) {
  AppUnderTest t;
  std::vector<std::string> lines;
  for (const char* name : {"a", "b", "c"})
    for (const std::string& line : Job(name)) lines.push_back(line);
  t.setLines(lines);
  t.click(cid::start);
  t.platform.files.appendFile(R"(C:\prog\temp.w1.record)", "begin 1 \r\ndone 1 \r\nbegin 2 \r\n");
  t.platform.processes.running.clear();
  t.click(cid::clear);
  t.app.onLastBatch();
  ASSERT_EQ(t.calls("ask").size(), 1u);
  EXPECT_THAT(t.calls("ask")[0].preset, HasSubstr("\n\nQueue the 2 unfinished jobs again?"));
  EXPECT_TRUE(t.lines().empty()) << "No queues nothing";

  t.platform.dialogs.askAnswers.push_back(true);
  t.app.onLastBatch();
  std::vector<std::string> unfinished = Job("b");
  for (const std::string& line : Job("c")) unfinished.push_back(line);
  EXPECT_EQ(t.lines(), unfinished);
  t.app.onLastBatch();
  EXPECT_EQ(t.calls("ask").size(), 2u) << "jobs in the list are not offered again";

  // A record that lost a line of a job does not queue what is left of it.
  t.click(cid::clear);
  std::string record = t.platform.files.readFile(R"(C:\prog\temp.record)").value_or("");
  const size_t lost = record.find("line 3 @echo+\r\n");
  ASSERT_NE(lost, std::string::npos);
  t.platform.files.writeFile(R"(C:\prog\temp.record)", record.erase(lost, 15));
  MemoryWindow otherWindow;
  App other(otherWindow, t.platform.services());
  other.start();
  t.platform.dialogs.askAnswers.push_back(true);
  other.onLastBatch();
  ASSERT_EQ(t.calls("ask").size(), 3u);
  EXPECT_THAT(t.calls("ask").back().preset,
              HasSubstr("\n\nThe record lacks lines of job 3: queue it again from its input."
                        "\n\nQueue the unfinished job again?"));
  EXPECT_EQ(other.jobList().lines(), Job("b"));
}

}  // namespace
