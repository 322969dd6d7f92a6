// "Make BAT", "Start" and "Shut", and the messages about files that cannot
// be written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app_under_test.h"
#include "support/started_batch.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::FieldsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using Lines = std::vector<std::string>;

const Lines kFullList = {
    "@echo.",
    R"(@echo Input:"D:\v\a.avs")",
    R"(@rem @x264.exe --progress -q 26 -o "D:\v\a.mp4" "D:\v\a.avs")",
    "@echo+",
    "@echo 100% done",
    "shutdown.exe -s -f -t 30",
};

const std::string kFullListBytes =
    "@echo.\r\n"
    "@echo Input:\"D:\\v\\a.avs\"\r\n"
    "@rem @x264.exe --progress -q 26 -o \"D:\\v\\a.mp4\" \"D:\\v\\a.avs\"\r\n"
    "@echo+\r\n"
    "@echo 100% done\r\n"
    "shutdown.exe -s -f -t 30\r\n";

const std::string kMakeBatPreamble =
    "@cd /d \"C:\\prog\\\"\r\n"
    "@envprep.exe run\r\n"
    "@call envprep.bat\r\n"
    "@del envprep.bat\r\n";

// The started program whose current directory (the folder "" of the memory
// file system) exists, so that bare file names can be written.
struct BatchApp : AppUnderTest {
  BatchApp() : AppUnderTest([](MemoryFileSystem& files) { files.createFolder(""); }) {}

  FakeProcesses& processes = platform.processes;

  void setLines(const Lines& lines) { app.jobList().insert(app.jobList().size(), lines); }

  std::vector<DialogCall> messages() const { return calls("message"); }

  std::optional<std::string> file(const std::string& path) const {
    return platform.files.readFile(path);
  }
};

// ---------------------------------------------------------------- Make BAT

struct MakeBatNameCase {
  const char* chosen;
  const char* written;
};

const MakeBatNameCase kMakeBatNameCases[] = {
    {R"(D:\out\jobs)", R"(D:\out\jobs.bat)"},     {R"(D:\out\jobs.cmd)", R"(D:\out\jobs.cmd)"},
    {R"(D:\out\jobs.BAT)", R"(D:\out\jobs.BAT)"}, {R"(D:\out\jobs.txt)", R"(D:\out\jobs.txt)"},
    {R"(D:\out\jobs.)", R"(D:\out\jobs..bat)"},   {R"(D:\out.d\jobs)", R"(D:\out.d\jobs.bat)"},
};

class MakeBatName : public ::testing::TestWithParam<MakeBatNameCase> {};

TEST_P(MakeBatName, AppendsBatToANameWithoutExtension) {
  const MakeBatNameCase& c = GetParam();
  BatchApp t;
  t.platform.files.createFolder(R"(D:\out)");
  t.platform.files.createFolder(R"(D:\out.d)");
  t.platform.dialogs.saveAnswers.push_back(c.chosen);
  t.click(cid::makeBat);
  EXPECT_THAT(t.platform.dialogs.calls, ElementsAre(FieldsAre("save", "", "", "Batch File|*.BAT")));
  EXPECT_EQ(t.file(c.written), kMakeBatPreamble);
  EXPECT_EQ(t.platform.files.listFiles(R"(D:\out)", "*").size() +
                t.platform.files.listFiles(R"(D:\out.d)", "*").size(),
            1u)
      << "one file written";
}

INSTANTIATE_TEST_SUITE_P(Cases, MakeBatName, ::testing::ValuesIn(kMakeBatNameCases));

TEST(MakeBat, WritesTheJobListAfterThePreambleAndLeavesTheListAlone) {
  BatchApp t;
  t.platform.files.put(R"(D:\out\jobs.bat)", "old content\r\n");
  t.setLines(kFullList);
  t.window.setState(cid::jobList, 2);
  t.platform.dialogs.saveAnswers.push_back(R"(D:\out\jobs.bat)");
  t.click(cid::makeBat);
  EXPECT_EQ(t.file(R"(D:\out\jobs.bat)"), kMakeBatPreamble + kFullListBytes);
  EXPECT_EQ(t.lines(), kFullList);
  EXPECT_EQ(t.window.state(cid::jobList), 2);
  EXPECT_TRUE(t.messages().empty());
  EXPECT_TRUE(t.processes.started.empty()) << "nothing is started";
}

// Where the user's command interpreter expands "!name!", a path holding "!"
// would lose it; the file rules that out only where it has to.
TEST(MakeBat, AListWithAnExclamationMarkRunsWithoutDelayedExpansion) {
  BatchApp t;
  const Lines list = {"@echo.", R"(@x264.exe -o "D:\v\a^b!OS!c.mp4" "D:\v\Wow!.avs")", "@echo+"};
  t.setLines(list);
  t.platform.files.put(R"(D:\out\jobs.bat)", "");
  t.platform.dialogs.saveAnswers.push_back(R"(D:\out\jobs.bat)");
  t.click(cid::makeBat);
  std::string lines;
  for (const std::string& line : list) lines += line + "\r\n";
  EXPECT_EQ(t.file(R"(D:\out\jobs.bat)"),
            "@setlocal DisableDelayedExpansion\r\n" + kMakeBatPreamble + lines);
}

TEST(MakeBat, CancelledWritesNothing) {
  BatchApp t;
  t.setLines(kFullList);
  const int writes = t.platform.files.writes;
  t.click(cid::makeBat);
  EXPECT_EQ(t.platform.files.writes, writes);
  EXPECT_EQ(t.platform.dialogs.calls.size(), 1u) << "no message";
}

// A job list whose lines the console's code page cannot all spell: here
// the in-memory console spells ASCII alone.
const Lines kForeignList = {"@echo.", "@echo Input:\"D:\\v\\\xE6\x97\xA5\xE6\x9C\xAC.avs\"",
                            "@x264.exe \"D:\\v\\\xE6\x97\xA5\xE6\x9C\xAC.avs\" \"D:\\caf\xC3\xA9\"",
                            "@echo+"};

TEST(MakeBat, AListTheConsoleCannotSpellIsSavedInUtf8WithTheConsoleSwitchedForTheRun) {
  BatchApp t;
  t.setLines(kForeignList);
  t.platform.files.put(R"(D:\out\jobs.bat)", "");
  t.platform.dialogs.saveAnswers.push_back(R"(D:\out\jobs.bat)");
  t.click(cid::makeBat);
  std::string lines;
  for (const std::string& line : kForeignList) lines += line + "\r\n";
  EXPECT_EQ(t.file(R"(D:\out\jobs.bat)"),
            "@for /f \"tokens=*\" %%a in ('chcp') do @for %%b in (%%a) do @set "
            "\"quorvel_codepage=%%~nb\"\r\n@chcp 65001 >nul\r\n" +
                kMakeBatPreamble + lines + "@chcp %quorvel_codepage% >nul\r\n");
}

// ---------------------------------------------------------------- Start

// Two jobs of one line each, told apart by `name`.
Lines TwoJobs(const std::string& name) {
  return {"@echo.", "@echo " + name + " 1", "@echo+", "@echo.", "@echo " + name + " 2", "@echo+"};
}

TEST(Start, WritesTheListForItsWorkersAndNamesThemBeforeAnyLineRuns) {
  BatchApp t;
  t.setLines(kFullList);
  const std::string record = R"(C:\prog\temp.record)";
  std::vector<std::string> namedWhenLetRun;
  t.processes.state->onResume = [&](std::uint32_t id) {
    if (t.file(record).value_or("").find("process fake:" + std::to_string(id)) != std::string::npos)
      namedWhenLetRun.push_back(std::to_string(id));
  };
  t.click(cid::start);
  const std::string script = t.file(R"(C:\prog\temp.bat)").value_or("");
  EXPECT_EQ(WithoutStartedBatchsOwn(script), "@cd /d \"C:\\prog\\\"\r\n" + kFullListBytes);
  EXPECT_TRUE(script.ends_with("\r\ndel \"%QUORVEL_BATCH%.bat\""))
      << "no line end after the last line";
  EXPECT_THAT(t.processes.started, ElementsAre(FieldsAre(R"(C:\prog\temp.bat)", R"(C:\prog\)")));
  EXPECT_THAT(
      t.processes.environments[0],
      ElementsAre(FieldsAre("QUORVEL_BATCH", R"(C:\prog\temp)"), FieldsAre("QUORVEL_WORKER", "1")));
  EXPECT_EQ(namedWhenLetRun, std::vector<std::string>{"4242"});
  EXPECT_TRUE(t.processes.state->held.empty());
  EXPECT_EQ(t.lines(), kFullList);
  EXPECT_TRUE(t.platform.dialogs.calls.empty());
  EXPECT_THAT(t.file(R"(C:\prog\quorvel.ini)").value_or(""), HasSubstr("\r\nvalue = 26\r\n"))
      << "the settings are saved in the program folder";
}

TEST(Start, WhatTheConsoleCannotSpellReachesTheBatchThroughItsEnvironment) {
  BatchApp t;
  t.setLines(kForeignList);
  t.click(cid::start);
  EXPECT_EQ(WithoutStartedBatchsOwn(*t.file(R"(C:\prog\temp.bat)")),
            "@cd /d \"C:\\prog\\\"\r\n"
            "@echo.\r\n@echo Input:\"D:\\v\\%QUORVEL_1%.avs\"\r\n"
            "@teelog.exe --run \"\" x264.exe \"D:\\v\\%QUORVEL_1%.avs\" \"D:\\caf%QUORVEL_2%\"\r\n"
            "@echo+\r\n");
  ASSERT_EQ(t.processes.environments.size(), 1u);
  EXPECT_THAT(
      t.processes.environments[0],
      ElementsAre(FieldsAre("QUORVEL_1", "\xE6\x97\xA5\xE6\x9C\xAC"),
                  FieldsAre("QUORVEL_2", "\xC3\xA9"), FieldsAre("QUORVEL_BATCH", R"(C:\prog\temp)"),
                  FieldsAre("QUORVEL_WORKER", "1")));
}

// As many workers as the user chose jobs at once, but never more than jobs
// to run; each knows its number.
TEST(Start, RunsTheChosenNumberOfWorkers) {
  BatchApp t;
  t.app.onJobsAtOnce(3);
  t.setLines(TwoJobs("a"));
  t.click(cid::start);
  ASSERT_EQ(t.processes.environments.size(), 2u);
  EXPECT_THAT(t.processes.environments[1], Contains(FieldsAre("QUORVEL_WORKER", "2")));
  EXPECT_EQ(t.file(R"(C:\prog\queue.ini)"), "jobs at once = 3\r\n");
  EXPECT_EQ(t.app.batchMenu().jobsAtOnce, 3);
  EXPECT_TRUE(t.app.batchMenu().runs);

  // A worker that ran to its end claimed it: the batch runs on. One closed
  // before its end stops the batch after the jobs that run.
  const std::string stop = R"(C:\prog\temp.stop)";
  t.platform.files.createFolder(R"(C:\prog\temp.claims\w1)");
  t.processes.running.erase(t.processes.ids[0]);
  t.window.tick();
  EXPECT_FALSE(t.platform.files.exists(stop));
  t.platform.files.removeFolder(R"(C:\prog\temp.claims\w1)");
  t.window.tick();
  EXPECT_TRUE(t.platform.files.exists(stop));
  EXPECT_TRUE(t.app.batchMenu().stopPending);
}

// The command interpreter reads at most 8191 characters of a line, as the
// file holds it and after it has put in the variables; a line too long
// either way starts nothing and names its job.
TEST(Start, ALineTheInterpreterCannotReadWholeStartsNothingAndNamesItsJob) {
  auto path = [](int repeats, const std::string& piece) {
    std::string text = "D:\\";
    for (int i = 0; i < repeats; ++i) text += piece;  // "Ж" is a character the console lacks
    return '"' + text + '"';
  };
  const struct {
    std::string quoted;
    int paths;
    bool started;
  } cases[] = {
      // One variable of 660 characters in every path: 12 * 666 characters.
      {path(660, "\xD0\x96"), 12, true},
      // 13 * 666 characters once the variable is put in.
      {path(660, "\xD0\x96"), 13, false},
      // 330 variables in a path: 3 * 3966 characters in the file.
      {path(330, "\xD0\x96-"), 3, false},
  };
  for (const auto& c : cases) {
    BatchApp t;
    std::string line = "@x264.exe";
    for (int i = 0; i < c.paths; ++i) line += ' ' + c.quoted;
    t.setLines({"@echo.", "@echo+", "@echo.", "@echo Input:" + c.quoted, line, "@echo+"});
    t.click(cid::start);
    EXPECT_EQ(t.processes.started.size(), c.started ? 1u : 0u) << c.paths;
    if (c.started) continue;
    ASSERT_EQ(t.messages().size(), 1u);
    EXPECT_NE(t.messages()[0].preset.find("line 5 of the job list, in job 2 (" +
                                          c.quoted.substr(1, c.quoted.size() - 2) + ")"),
              std::string::npos)
        << t.messages()[0].preset;
  }
}

// A batch that would miss a program says so before it starts, not hours
// later when it reaches the line. What lies beyond the program folder is
// looked for on another thread.
TEST(Start, AsksBeforeRunningJobsWhoseProgramsAreMissing) {
  BatchApp t;
  t.setLines({"@echo.",
              R"~(@bepipe.exe --script "import(^D:\v\a.avs^)" | faac.exe -b 64 - -o "a.mp4")~",
              "@echo+"});
  t.processes.programs.erase("bepipe.exe");
  t.processes.programs.erase("faac.exe");
  t.processes.alongPath.insert("faac.exe");
  t.click(cid::start);
  ASSERT_TRUE(t.runPostedUntil([&] { return !t.platform.dialogs.calls.empty(); }));
  EXPECT_EQ(t.platform.dialogs.calls[0].kind, "ask");
  EXPECT_THAT(t.platform.dialogs.calls[0].preset,
              StartsWith("These programs that the jobs call were not found: bepipe.exe\n"));
  EXPECT_TRUE(t.processes.started.empty()) << "No starts nothing";
  EXPECT_FALSE(t.file(R"(C:\prog\temp.bat)"));

  t.platform.dialogs.askAnswers.push_back(true);
  t.click(cid::start);
  ASSERT_TRUE(t.runPostedUntil([&] { return !t.processes.started.empty(); }))
      << "Yes starts the batch";

  // Every pass runs through teelog.exe, with a log file or without.
  t.click(cid::clear);
  t.setLines({"@echo.", R"(@x264.exe --crf 20 -o "D:\v\a.mkv" "D:\v\a.avs")", "@echo+"});
  t.processes.programs.erase("teelog.exe");
  t.processes.running.clear();
  t.click(cid::start);
  ASSERT_TRUE(t.runPostedUntil([&] { return t.calls("ask").size() == 3; }));
  EXPECT_THAT(t.calls("ask").back().preset, HasSubstr("were not found: teelog.exe\n"));
}

// One press, one Start: a press while the last is still waiting for the
// encoder does nothing.
TEST(Start, APressWhileTheLastIsCarriedOutDoesNothing) {
  BatchApp t;
  t.platform.encoders.set(EncoderFile{R"(C:\prog\x264.exe)", 1, 1}, "x264 core:59\n");
  t.platform.encoders.hold(true);
  t.setLines(TwoJobs("a"));
  t.click(cid::add);  // the encoder is asked meanwhile
  t.click(cid::start);
  t.click(cid::start);
  t.platform.encoders.hold(false);
  ASSERT_TRUE(t.runPostedUntil([&] { return !t.processes.started.empty(); }));
  t.window.runPosted(100);
  EXPECT_EQ(t.processes.started.size(), 1u);
  EXPECT_FALSE(t.platform.files.exists(R"(C:\prog\temp2.bat)"));
}

// Windows' console reads a batch file by its byte offsets: a batch that
// runs is never written over, whichever window starts the next one, and a
// job runs in one batch at a time.
TEST(Start, AnotherWindowsStartLeavesTheRunningBatchAloneAndAsksWhetherToWait) {
  BatchApp t;
  t.setLines(TwoJobs("a"));
  t.click(cid::start);
  const std::string first = t.file(R"(C:\prog\temp.bat)").value_or("");

  MemoryWindow otherWindow;
  App other(otherWindow, t.platform.services());
  other.start();
  Lines list = TwoJobs("a");
  for (const std::string& line : TwoJobs("b")) list.push_back(line);
  list.emplace_back("shutdown.exe -s -f -t 30");
  other.jobList().insert(0, list);
  // Waiting for the running batch before the jobs, or not; and before the
  // computer is shut down, for every batch that runs jobs then.
  const struct {
    Dialogs::Answer answer;
    const char* name;  // of the batch it starts
    bool waits;
  } cases[] = {{Dialogs::Answer::Cancel, nullptr, false},
               {Dialogs::Answer::No, "temp2", false},
               {Dialogs::Answer::Yes, "temp3", true}};
  for (const auto& c : cases) {
    t.platform.dialogs.chooseAnswers.push_back(c.answer);
    const size_t asked = t.platform.dialogs.calls.size();
    other.onEvent(cid::start, EventKind::Clicked);
    ASSERT_EQ(t.platform.dialogs.calls.size(), asked + 1);
    EXPECT_EQ(t.platform.dialogs.calls.back().kind, "choose");
    EXPECT_THAT(t.platform.dialogs.calls.back().preset,
                StartsWith("A batch is running (starting 2 jobs). 2 of the 4 jobs are already "
                           "running in the batch started at "));
    EXPECT_EQ(t.file(R"(C:\prog\temp.bat)"), first) << "the running batch is never written over";
    if (!c.name) {
      EXPECT_EQ(t.processes.started.size(), 1u) << "Cancel starts nothing";
      continue;
    }
    const std::string script = t.file("C:\\prog\\" + std::string(c.name) + ".bat").value_or("");
    EXPECT_THAT(script, Not(HasSubstr("@echo a "))) << "the running batch's jobs are left out";
    EXPECT_THAT(script, HasSubstr("@echo b 2"));
    const size_t wait = script.find("@lullo.exe --after fake:4242");
    EXPECT_EQ(wait < script.find("@echo b 2"), c.waits);
    const size_t spare = script.find("@lullo.exe --spare \"%QUORVEL_BATCH%.claims\"");
    EXPECT_LT(spare, script.find("\r\nshutdown.exe"));
    // What the other batches read: this one's worker, and whether it waits.
    const std::string claims = "C:\\prog\\" + std::string(c.name) + ".claims\\";
    EXPECT_TRUE(
        t.platform.files.exists(claims + "pid.fake." + std::to_string(t.processes.ids.back())));
    EXPECT_EQ(t.platform.files.exists(claims + "waiting"), c.waits);
    t.processes.running.erase(t.processes.ids.back());  // that batch ends
  }
}

// A job queued twice runs twice while a batch runs one of them; a batch
// that ends while the user is asked about it is not waited for.
TEST(Start, ARunningBatchHoldsEachJobOnceAndIsWaitedForOnlyWhileItRuns) {
  BatchApp t;
  t.setLines(TwoJobs("a"));
  t.click(cid::start);
  t.click(cid::clear);
  Lines twice = TwoJobs("a");
  for (const std::string& line : TwoJobs("a")) twice.push_back(line);
  t.setLines(twice);
  t.platform.dialogs.chooseAnswers.push_back(Dialogs::Answer::No);
  t.click(cid::start);
  EXPECT_TRUE(t.messages().empty());
  std::string once;
  for (const std::string& line : TwoJobs("a")) once += line + "\r\n";
  EXPECT_EQ(WithoutStartedBatchsOwn(t.file(R"(C:\prog\temp2.bat)").value_or("")),
            "@cd /d \"C:\\prog\\\"\r\n" + once);

  t.click(cid::clear);
  t.setLines(TwoJobs("b"));
  t.platform.dialogs.chooseAnswers.push_back(Dialogs::Answer::Yes);
  t.platform.dialogs.whileAsked = [&] {
    t.processes.running.clear();
    t.window.tick();
  };
  t.click(cid::start);
  ASSERT_EQ(t.processes.started.size(), 3u);
  EXPECT_THAT(t.file(t.processes.started.back().first).value_or(""),
              AllOf(HasSubstr("@echo b 1"), Not(HasSubstr("--after"))));
}

// A Start with no job starts nothing; what a batch stopped short finished
// can still be skipped by the next Start.
TEST(Start, AListWithoutAJobStartsNothingAndForgetsNothing) {
  BatchApp t;
  t.setLines(TwoJobs("a"));
  t.click(cid::start);
  t.platform.files.appendFile(R"(C:\prog\temp.w1.record)", "begin 1 \r\ndone 1 \r\nbegin 2 \r\n");
  t.processes.running.clear();  // killed
  t.click(cid::clear);
  t.click(cid::shut);
  t.click(cid::start);
  EXPECT_THAT(t.messages().back().preset, HasSubstr("holds no job: nothing was started"));
  EXPECT_EQ(t.processes.started.size(), 1u);

  t.setLines(TwoJobs("a"));
  t.platform.dialogs.askAnswers.push_back(true);
  t.click(cid::start);
  ASSERT_FALSE(t.calls("ask").empty());
  EXPECT_THAT(t.calls("ask").back().preset,
              HasSubstr("1 of its 2 jobs had finished. Skip that job?"));
  EXPECT_THAT(*t.file(R"(C:\prog\temp2.bat)"), Not(HasSubstr("@echo a 1")));
  EXPECT_FALSE(t.file(R"(C:\prog\temp.record)")) << "its jobs finished or run again";
}

// A batch keeps its name while its interpreter runs, past the end its
// record tells too (the last worker still clears its files then); once it
// has gone, the name is free.
TEST(Start, TakesTheNextFreeNameWhileEarlierBatchesRun) {
  BatchApp t;
  for (const char* name : {"a", "b", "c", "d", "e"}) {
    if (std::string(name) == "d")
      t.platform.files.appendFile(R"(C:\prog\temp.w1.record)",
                                  "begin 1 \r\ndone 1 \r\nbegin 2 \r\ndone 2 \r\nend \r\n");
    if (std::string(name) == "e") t.processes.running.erase(4242);
    t.click(cid::clear);
    t.setLines(TwoJobs(name));
    t.platform.dialogs.chooseAnswers.push_back(Dialogs::Answer::No);
    t.click(cid::start);
    if (std::string(name) == "d") {
      EXPECT_TRUE(t.platform.files.exists(R"(C:\prog\temp.bat)")) << "its interpreter reads it";
    }
  }
  EXPECT_THAT(*t.file(R"(C:\prog\temp.bat)"), HasSubstr("@echo e 1"));
  EXPECT_THAT(*t.file(R"(C:\prog\temp4.bat)"), HasSubstr("@echo d 1"));
  std::vector<std::string> started;
  for (const auto& [script, folder] : t.processes.started) started.push_back(script);
  EXPECT_THAT(started,
              ElementsAre(R"(C:\prog\temp.bat)", R"(C:\prog\temp2.bat)", R"(C:\prog\temp3.bat)",
                          R"(C:\prog\temp4.bat)", R"(C:\prog\temp.bat)"));
}

// What the system refuses to do to a batch's processes is told, and the
// batch shows as running on.
TEST(Steer, ABatchTheSystemWillNotStopOrPauseRunsOnAndTheUserIsTold) {
  BatchApp t;
  t.setLines(TwoJobs("a"));
  t.click(cid::start);
  t.processes.state->refused.insert(4242);
  const struct {
    void (App::*command)();
    const char* told;
  } cases[] = {{&App::onPauseBatch, "could not be paused"},
               {&App::onStopNow, "could not be stopped"}};
  for (const auto& c : cases) {
    t.platform.dialogs.askAnswers.push_back(true);  // "Stop the batch now?"
    (t.app.*c.command)();
    ASSERT_FALSE(t.messages().empty());
    EXPECT_THAT(t.messages().back().preset, HasSubstr(c.told));
    EXPECT_TRUE(t.app.batchMenu().runs);
    EXPECT_FALSE(t.app.batchMenu().paused);
    EXPECT_THAT(t.file(R"(C:\prog\temp.record)").value_or(""),
                AllOf(Not(HasSubstr("\r\nstopped")), Not(HasSubstr("\r\npaused"))));
  }
}

TEST(Start, ABatchThatCouldNotStartLeavesNothingAndSaysWhy) {
  BatchApp t;
  t.setLines(TwoJobs("a"));
  t.processes.canStart = false;
  t.click(cid::start);
  const std::vector<DialogCall> messages = t.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0].preset, HasSubstr(R"(C:\prog\temp.bat)"));
  EXPECT_THAT(messages[0].preset, HasSubstr("The system cannot find the file"));
  EXPECT_TRUE(t.processes.started.empty());
  EXPECT_FALSE(t.platform.files.exists(R"(C:\prog\temp.bat)"));
  EXPECT_FALSE(t.platform.files.exists(R"(C:\prog\temp.record)"));
}

// ---------------------------------------------------------------- Shut

TEST(Shut, EachPressAppendsOneShutdownLineAtTheEnd) {
  BatchApp t;
  t.setLines({"@echo.", "a1", "@echo+"});
  t.window.setState(cid::jobList, 0);
  t.click(cid::shut);
  t.click(cid::shut);
  EXPECT_EQ(t.lines(), (Lines{"@echo.", "a1", "@echo+", "shutdown.exe -s -f -t 30",
                              "shutdown.exe -s -f -t 30"}));
  EXPECT_EQ(t.window.state(cid::jobList), 0);
}

// ---------------------------------------------------------------- messages

struct FailureCase {
  const char* name;
  std::function<void(BatchApp&)> act;
  const char* path;
  const char* reason;
};

void SaveBatchAs(BatchApp& t, const char* chosen) {
  t.platform.dialogs.saveAnswers.push_back(chosen);
  t.click(cid::makeBat);
}

void SavePresetAs(BatchApp& t, const char* name) {
  t.window.setText(cid::presetname, name);
  t.platform.dialogs.askAnswers.push_back(true);
  t.click(cid::savePreset);
}

const FailureCase kFailureCases[] = {
    {"MakeBatIntoAMissingFolder", [](BatchApp& t) { SaveBatchAs(t, R"(D:\none\jobs)"); },
     R"(D:\none\jobs.bat)", "The system cannot find the path"},
    {"MakeBatIntoAReadOnlyFolder",
     [](BatchApp& t) {
       t.platform.files.createFolder(R"(D:\ro)");
       t.platform.files.readOnlyFolders.insert(R"(d:\ro)");
       SaveBatchAs(t, R"(D:\ro\jobs.cmd)");
     },
     R"(D:\ro\jobs.cmd)", "Access is denied."},
    {"StartInAReadOnlyProgramFolder",
     [](BatchApp& t) {
       t.setLines(TwoJobs("a"));
       t.platform.files.readOnlyFolders.insert(R"(c:\prog)");
       t.click(cid::start);
     },
     R"(C:\prog\temp.bat)", "Access is denied."},
    {"StartWhileTemp2CannotBeWritten",
     [](BatchApp& t) {
       t.setLines(TwoJobs("a"));
       t.click(cid::start);
       t.setLines(TwoJobs("b"));
       t.platform.files.readOnlyFolders.insert(R"(c:\prog)");
       t.platform.dialogs.chooseAnswers.push_back(Dialogs::Answer::No);
       t.click(cid::start);
     },
     R"(C:\prog\temp2.bat)", "Access is denied."},
    {"SavePresetIntoAReadOnlyConfigsFolder",
     [](BatchApp& t) {
       t.platform.files.readOnlyFolders.insert(R"(c:\prog\configs)");
       SavePresetAs(t, "p1");
     },
     R"(C:\prog\configs\p1.ini)", "Access is denied."},
};

class WriteFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WriteFailure, NamesTheFileAndTheReasonInOneMessage) {
  const FailureCase& c = GetParam();
  BatchApp t;
  c.act(t);
  const std::vector<DialogCall> messages = t.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0].preset, HasSubstr(c.path));
  EXPECT_THAT(messages[0].preset, HasSubstr(c.reason));
  EXPECT_FALSE(t.platform.files.exists(c.path));
  for (const auto& [path, folder] : t.processes.started) EXPECT_NE(path, c.path);
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteFailure, ::testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct QuietCase {
  const char* name;
  std::function<void(BatchApp&)> act;
};

const QuietCase kQuietCases[] = {
    {"MakeBatWritten",
     [](BatchApp& t) {
       t.platform.files.createFolder(R"(D:\out)");
       SaveBatchAs(t, R"(D:\out\jobs)");
     }},
    {"MakeBatCancelled", [](BatchApp& t) { t.click(cid::makeBat); }},
    {"StartRuns",
     [](BatchApp& t) {
       t.setLines(TwoJobs("a"));
       t.click(cid::start);
     }},
    {"PresetSaved", [](BatchApp& t) { SavePresetAs(t, "p1"); }},
    {"PresetSaveAnsweredNo",
     [](BatchApp& t) {
       t.platform.files.readOnlyFolders.insert(R"(c:\prog\configs)");
       t.window.setText(cid::presetname, "p1");
       t.click(cid::savePreset);
     }},
    {"PresetSaveWithoutAName",
     [](BatchApp& t) {
       t.platform.files.readOnlyFolders.insert(R"(c:\prog\configs)");
       SavePresetAs(t, "");
     }},
    {"PresetLoadThatCannotCreateTheFile",
     [](BatchApp& t) {
       t.platform.files.readOnlyFolders.insert(R"(c:\prog\configs)");
       t.window.setText(cid::presetname, "none");
       t.click(cid::loadPreset);
     }},
    {"WrapperThatCannotBeWritten",
     [](BatchApp& t) {
       t.platform.files.readOnlyFolders.insert(R"(c:\prog\avs)");
       t.app.onFilesDropped({R"(D:\v\clip.mkv)", R"(D:\v\other.mkv)"});
     }},
};

class NoMessage : public ::testing::TestWithParam<QuietCase> {};

TEST_P(NoMessage, OtherOutcomesStayQuiet) {
  const QuietCase& c = GetParam();
  BatchApp t;
  c.act(t);
  EXPECT_TRUE(t.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, NoMessage, ::testing::ValuesIn(kQuietCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
