// The job list survives a crash: every change is written to a journal, a
// start after a crash offers the lines back, a clean close lets them go.
#include "app/job_list_journal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app_under_test.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

constexpr const char* kJournal = R"(C:\prog\joblist.journal)";

// The lines the journal holds now; nothing when it is missing or damaged.
std::optional<Lines> Journaled(const AppUnderTest& t) {
  const std::optional<std::string> text = t.platform.files.readFile(kJournal);
  if (!text) return std::nullopt;
  return JournalLines(*text);
}

void QueueJob(AppUnderTest& t, const std::string& name) {
  t.window.setText(cid::input, R"(D:\v\)" + name + ".avs");
  t.window.setText(cid::output, R"(D:\v\)" + name + ".mp4");
  t.window.setText(cid::logfile, R"(D:\v\)" + name + ".txt");
  t.click(cid::add);
}

TEST(JobListJournal, EveryChangeOfTheListIsJournaledAsTheListStands) {
  const std::vector<std::pair<const char*, std::function<void(AppUnderTest&)>>> changes = {
      {"Add", [](AppUnderTest& t) { QueueJob(t, "b"); }},
      {"Shut", [](AppUnderTest& t) { t.click(cid::shut); }},
      {"up", [](AppUnderTest& t) { t.window.setState(cid::jobList, 3), t.click(cid::up); }},
      {"down", [](AppUnderTest& t) { t.window.setState(cid::jobList, 1), t.click(cid::down); }},
      {"Disable",
       [](AppUnderTest& t) { t.window.setState(cid::jobList, 2), t.click(cid::disable); }},
      {"edit",
       [](AppUnderTest& t) {
         t.platform.dialogs.inputAnswers.push_back("@echo edited");
         t.window.setState(cid::jobList, 2), t.click(cid::edit);
       }},
      {"del", [](AppUnderTest& t) { t.window.setState(cid::jobList, 0), t.click(cid::del); }},
      {"Batch Adding",
       [](AppUnderTest& t) {
         t.platform.dialogs.folderAnswers.push_back(R"(E:\out\)");
         t.platform.dialogs.openManyAnswers.push_back({R"(D:\v\c.avs)", R"(D:\v\d.avs)"});
         t.click(cid::batchAdding);
       }},
      {"Clear", [](AppUnderTest& t) { t.click(cid::clear); }},
  };
  AppUnderTest t;
  QueueJob(t, "a");
  ASSERT_EQ(Journaled(t), t.lines());
  for (const auto& [name, change] : changes) {
    const int writes = t.platform.files.writes;
    change(t);
    if (t.lines().empty()) {
      EXPECT_FALSE(t.platform.files.exists(kJournal)) << name << ": an empty list keeps no journal";
    } else {
      EXPECT_EQ(Journaled(t), t.lines()) << name;
      EXPECT_EQ(t.platform.files.writes, writes + 1) << name << " writes the journal once";
    }
  }
}

// The program started again in the folder of the last test's program.
struct Restarted : AppUnderTest {
  explicit Restarted(const std::string& journal) : AppUnderTest(Before(journal)) {}
  static std::function<void(MemoryFileSystem&)> Before(const std::string& journal) {
    return [journal](MemoryFileSystem& files) { files.put(kJournal, journal); };
  }
};

TEST(JobListJournal, AStartAfterACrashOffersTheLinesBackOnceTheWindowShows) {
  const Lines queued = {"@echo.", "@echo Input:\"D:\\v\\\xE6\x97\xA5.avs\"", "@rem x", "@echo+",
                        "shutdown.exe -s -f -t 30"};
  for (bool yes : {true, false}) {
    Restarted t(JournalText(queued));
    EXPECT_THAT(t.platform.dialogs.calls, IsEmpty()) << "nothing is asked before the window shows";
    t.platform.dialogs.askAnswers.push_back(yes);
    t.app.onShown();
    ASSERT_EQ(t.calls("ask").size(), 1u);
    EXPECT_EQ(t.calls("ask")[0].preset,
              "quorvel did not close normally last time. Restore the 1 queued job (5 lines)?");
    EXPECT_EQ(t.lines(), yes ? queued : Lines{});
    EXPECT_EQ(t.platform.files.exists(kJournal), yes);
  }
}

TEST(JobListJournal, ADamagedJournalIsSetAsideAndTheListStartsEmpty) {
  const std::string header = "quorvel job list journal\r\n";
  const std::string damaged[] = {
      "",
      "quorvel job li",                                       // no first line
      header + "- 5 1\r\n",                                   // removes lines the list lacks
      header + "? 1\r\n",                                     // no record
      header + "+ 0 1\r\n\xFF\xFE\r\n",                       // not UTF-8
      header + "+ 0 1\r\n@echo a\nb\r\n",                     // one line would be two lines
      "quorvel job list\r\n@echo one\r\nend of 7 lines\r\n",  // a whole list that lacks lines
      "some other file\r\nend of 0 lines\r\n",
  };
  for (const std::string& bytes : damaged) {
    Restarted t(bytes);
    t.app.onShown();
    EXPECT_THAT(t.lines(), IsEmpty());
    EXPECT_THAT(t.calls("ask"), IsEmpty());
    ASSERT_EQ(t.calls("message").size(), 1u);
    EXPECT_THAT(t.calls("message")[0].preset,
                ::testing::HasSubstr(std::string(kJournal) + ".damaged"));
    EXPECT_EQ(t.platform.files.readFile(std::string(kJournal) + ".damaged"), bytes);
    EXPECT_FALSE(t.platform.files.exists(kJournal));
  }
}

// A journal that could not follow the list is told once and removed: no
// later start offers back lines that are no longer the list.
TEST(JobListJournal, AWriteThatFailsIsToldOnceAndLeavesNoStaleJournal) {
  AppUnderTest t;
  QueueJob(t, "a");
  ASSERT_TRUE(Journaled(t).has_value());
  t.platform.files.diskFull = true;
  QueueJob(t, "b");
  QueueJob(t, "c");
  ASSERT_EQ(t.calls("message").size(), 1u);
  EXPECT_THAT(t.calls("message")[0].preset, ::testing::HasSubstr("not enough space"));
  EXPECT_FALSE(t.platform.files.exists(kJournal));
  t.platform.files.diskFull = false;
  t.click(cid::shut);
  EXPECT_EQ(Journaled(t), t.lines()) << "the next change keeps the list again";
  EXPECT_EQ(t.calls("message").size(), 1u);
}

// Each change appends a record; a crash may cut the last one anywhere. Read
// back from any cut, the journal gives the list as some change left it, and
// the whole file gives the list as it is.
TEST(JobListJournal, ACutAnywhereGivesTheListAsAChangeLeftIt) {
  AppUnderTest t;
  std::vector<Lines> states = {{}};
  const std::vector<std::function<void()>> changes = {
      [&] { QueueJob(t, "a"); },
      [&] { QueueJob(t, "b \xC3\xA9"); },
      [&] { t.click(cid::shut); },
      [&] { t.window.setState(cid::jobList, 3), t.click(cid::up); },
      [&] { t.window.setState(cid::jobList, 4), t.click(cid::disable); },
      [&] {
        t.platform.dialogs.inputAnswers.push_back("@echo edited");
        t.window.setState(cid::jobList, 1), t.click(cid::edit);
      },
      [&] { t.window.setState(cid::jobList, 9), t.click(cid::del); },
      [&] { t.click(cid::shut); },
  };
  for (const auto& change : changes) {
    change();
    states.push_back(t.lines());
  }
  const std::string journal = *t.platform.files.readFile(kJournal);
  EXPECT_EQ(JournalLines(journal), t.lines());
  const size_t header = journal.find("\r\n") + 2;
  for (size_t cut = header; cut < journal.size(); ++cut) {
    const std::optional<Lines> read = JournalLines(journal.substr(0, cut));
    ASSERT_TRUE(read.has_value()) << "cut at " << cut << ": "
                                  << journal.substr(cut > 40 ? cut - 40 : 0, 60);
    ASSERT_THAT(states, ::testing::Contains(*read)) << "cut at " << cut;
  }
}

// A change appends what it changes, whatever the list's length; the file is
// written anew once it holds about twice the list.
TEST(JobListJournal, AChangeAppendsItselfAndTheFileStaysNearTheListsSize) {
  AppUnderTest t;
  Lines big;
  for (int i = 0; i < 20000; ++i) big.push_back("@echo line " + std::to_string(i));
  t.setLines(big);
  size_t before = t.platform.files.readFile(kJournal)->size();
  QueueJob(t, "one more");
  const std::string journal = *t.platform.files.readFile(kJournal);
  size_t job = 0;
  for (size_t i = big.size(); i < t.lines().size(); ++i) job += t.lines()[i].size() + 2;
  EXPECT_LT(journal.size() - before, job + 32) << "the Add appended its own lines alone";
  size_t list = 0;
  for (const std::string& line : t.lines()) list += line.size() + 2;
  for (int i = 0; i < 3000; ++i) {
    t.window.setState(cid::jobList, i % 100);
    t.click(cid::disable);
    EXPECT_LT(t.platform.files.readFile(kJournal)->size(), 2 * list + 70000) << i;
  }
  EXPECT_EQ(Journaled(t), t.lines());
}

TEST(JobListJournal, AHundredThousandLinesComeBackExactly) {
  Lines queued;
  for (int i = 0; i < 100000; ++i) queued.push_back("@echo line " + std::to_string(i) + " %1 & ^");
  Restarted t(JournalText(queued));
  t.platform.dialogs.askAnswers.push_back(true);
  t.app.onShown();
  EXPECT_EQ(t.lines(), queued);
}

TEST(JobListJournal, ACleanCloseLetsTheListGoAnEndedSessionKeepsIt) {
  AppUnderTest t;
  QueueJob(t, "a");
  t.app.onEndSession();
  EXPECT_EQ(Journaled(t), t.lines()) << "kept for the next start";
  EXPECT_TRUE(t.platform.files.exists(R"(C:\prog\quorvel.ini)"));
  t.app.onClose();
  EXPECT_FALSE(t.platform.files.exists(kJournal));
}

TEST(JobListJournal, ASecondCopyInTheSameFolderLeavesTheFirstOnesJournalAlone) {
  AppUnderTest first;
  QueueJob(first, "first");
  const Lines journaled = first.lines();
  // A second copy of the program sees the same files.
  MemoryWindow window;
  App second(window,
             Platform{first.platform.files, first.platform.dialogs, first.platform.processes,
                      first.platform.media, first.platform.encoders});
  second.start();
  second.onShown();
  EXPECT_THAT(first.calls("ask"), IsEmpty()) << "it offers nothing of the first copy's list";
  window.setText(cid::input, R"(D:\v\second.avs)");
  window.setText(cid::output, R"(D:\v\second.mp4)");
  window.setText(cid::logfile, R"(D:\v\second.txt)");
  second.onEvent(cid::add, EventKind::Clicked);
  second.onClose();
  EXPECT_EQ(Journaled(first), journaled);
}

}  // namespace
