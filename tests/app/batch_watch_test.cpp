// A started batch as the window follows it: through the record the batch
// keeps beside its file, the title and the taskbar button tell which job
// runs and how far, and then how the batch went; a window started later
// takes the batch up, and the next Start offers to skip what a batch that
// stopped short had finished.
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

TEST(BatchWatch, TheWindowFollowsABatchByItsRecordAndTheNextStartSkipsWhatItFinished) {
  AppUnderTest t;
  std::vector<std::string> lines;
  for (const char* name : {"a", "b", "c"})
    for (const std::string& line : Job(name)) lines.push_back(line);
  t.setLines(lines);
  t.click(cid::start);
  ASSERT_EQ(t.platform.processes.started.size(), 1u);
  const std::string record = R"(C:\prog\temp.record)";
  ASSERT_TRUE(t.platform.files.exists(record));
  EXPECT_TRUE(t.window.ticking()) << "the window looks while the batch runs";

  // What the batch appends, as the command interpreter's echo writes it.
  auto batchWrites = [&](const std::string& text) {
    t.platform.files.appendFile(record, text + " \r\n");
  };
  batchWrites("begin 1");
  t.platform.files.writeFile(R"(C:\prog\temp.progress)",
                             "[45.2%] 123/273 frames, 23.45 fps, 1234.56 kb/s, eta 0:01:04  ");
  t.window.tick();
  EXPECT_EQ(t.window.title(),
            "job 1 of 3: 45.2%, 123/273 frames, 23.45 fps, eta 0:01:04 - quorvel");
  EXPECT_EQ(t.window.progress(), std::make_pair(Window::Progress::Running, 150));

  batchWrites("done 1");
  batchWrites("begin 2");
  batchWrites("failed 2 pass1 255");
  batchWrites("begin 3");
  t.platform.files.writeFile(R"(C:\prog\temp.progress)", "");
  t.window.tick();
  EXPECT_EQ(t.window.title(), "job 3 of 3 - quorvel");
  EXPECT_EQ(t.window.progress().first, Window::Progress::Failed) << "once a job has failed";

  // A window started while the batch runs takes it up.
  {
    MemoryWindow later;
    App second(later, t.platform.services());
    second.start();
    second.onShown();
    EXPECT_TRUE(later.ticking());
    EXPECT_EQ(later.title(), "job 3 of 3 - quorvel");
  }

  // The batch is killed in its third job.
  t.platform.processes.running->clear();
  t.window.tick();
  EXPECT_FALSE(t.window.ticking()) << "nothing looks once no batch runs";
  EXPECT_EQ(t.window.title(), "3 jobs: 1 done, 1 failed, 1 not finished - quorvel");
  t.app.onLastBatch();
  ASSERT_FALSE(t.calls("message").empty());
  const std::string report = t.calls("message").back().preset;
  EXPECT_THAT(report, HasSubstr("stopped before its end"));
  EXPECT_THAT(report, HasSubstr("job 1 (D:\\v\\a.avs): done\n"));
  EXPECT_THAT(report, HasSubstr("job 2 (D:\\v\\b.avs): failed at pass 1, exit code 255, "
                                "log D:\\v\\b.log\n"));
  EXPECT_THAT(report, HasSubstr("job 3 (D:\\v\\c.avs): stopped"));

  // The next Start asks; the job whose lines changed since is no longer
  // the one that finished.
  t.platform.dialogs.askAnswers.push_back(true);
  t.click(cid::start);
  const std::vector<DialogCall> asked = t.calls("ask");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_THAT(asked[0].preset, HasSubstr(" stopped before its end. 1 of its 3 jobs had finished. "
                                         "Skip those 1?"));
  ASSERT_EQ(t.platform.processes.started.size(), 2u);
  const std::string resumed = *t.platform.files.readFile(R"(C:\prog\temp.bat)");
  EXPECT_THAT(resumed, Not(HasSubstr("a.avs")));
  EXPECT_THAT(resumed, HasSubstr("b.avs"));
  EXPECT_THAT(resumed, HasSubstr("c.avs"));
  EXPECT_THAT(*t.platform.files.readFile(record), HasSubstr("job 1 ")) << "a record anew";

  // A job whose lines changed counts as not finished; No runs every job.
  t.platform.processes.running->clear();
  t.window.tick();
  t.app.jobList().replace(1, "@echo Input:\"D:\\v\\a2.avs\"");
  t.platform.dialogs.askAnswers.push_back(false);
  t.click(cid::start);
  EXPECT_EQ(t.calls("ask").size(), 1u) << "job 1 changed: nothing to skip, nothing asked";
}

}  // namespace
