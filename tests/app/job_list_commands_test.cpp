// "view", "edit", "up", "down", "Disable", "del" and "Clear" on the job list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app_under_test.h"

namespace {

using ::testing::ElementsAre;
using ::testing::FieldsAre;
using Lines = std::vector<std::string>;

const std::string kShutdown = "shutdown.exe -s -f -t 30";

// ---------------------------------------------------------------- jobs

// Whatever the edits, the jobs the list keeps in step are those a reading
// of the whole list finds.
TEST(JobListJobs, StayThoseOfTheWholeListAfterAnyEdits) {
  const std::string kinds[] = {"@echo.", "@echo+", "@rem @echo.", "a", "b", kShutdown};
  std::mt19937 random(20261208);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  auto any = [&] { return kinds[pick(std::size(kinds))]; };
  for (int round = 0; round < 200; ++round) {
    JobList list;
    for (int edit = 0; edit < 40; ++edit) {
      const size_t size = list.size();
      switch (pick(size == 0 ? 1 : 8)) {
        case 0:
        case 1: {
          Lines lines(1 + pick(4));
          for (std::string& line : lines) line = any();
          list.insert(pick(size + 1), lines);
          break;
        }
        case 2:
          list.replace(pick(size), any());
          break;
        case 3:
          if (size > 1) list.swap(pick(size - 1));
          break;
        case 4: {
          const size_t at = pick(size);
          list.remove(at, 1 + pick(size - at));
          break;
        }
        case 5:
          list.removeJobAround(pick(size));
          break;
        case 6:
          list.toggleDisabled(pick(size));
          break;
        default:
          list.appendJob({any(), any()});
          break;
      }
      const std::vector<JobFrame> whole = JobFrames(list.lines());
      ASSERT_EQ(list.jobs().size(), whole.size()) << "round " << round << ", edit " << edit;
      for (size_t j = 0; j < whole.size(); ++j) {
        ASSERT_EQ(list.jobs()[j].first, whole[j].first) << "round " << round << ", edit " << edit;
        ASSERT_EQ(list.jobs()[j].count, whole[j].count);
        ASSERT_EQ(list.jobs()[j].hash, whole[j].hash);
      }
    }
  }
}

// ---------------------------------------------------------------- del

struct DeleteCase {
  const char* name;
  Lines before;
  int selected;
  Lines after;
};

const DeleteCase kDeleteCases[] = {
    {"EndLineOfTheSecondJob",
     {"@echo.", "a1", "@echo+", "@echo.", "b1", "b2", "@echo+"},
     6,
     {"@echo.", "a1", "@echo+"}},
    {"EndLineOfTheFirstJob",
     {"@echo.", "a1", "@echo+", "@echo.", "b1", "@echo+"},
     2,
     {"@echo.", "b1", "@echo+"}},
    {"StartLineOfAJob",
     {"@echo.", "a1", "@echo+", "@echo.", "b1", "@echo+", "@echo.", "c1", "@echo+"},
     3,
     {"@echo.", "a1", "@echo+", "@echo.", "c1", "@echo+"}},
    {"LineInsideAJob",
     {"@echo.", "a1", "@echo+", "@echo.", "b1", "b2", "@echo+", "@echo.", "c1", "@echo+"},
     5,
     {"@echo.", "a1", "@echo+", "@echo.", "c1", "@echo+"}},
    {"EmptyJob", {"@echo.", "@echo+", "@echo.", "b1", "@echo+"}, 1, {"@echo.", "b1", "@echo+"}},
    // A line outside any job goes alone.
    {"ShutdownLineAfterAJobGoesAlone",
     {"@echo.", "a1", "@echo+", "@echo.", "b1", "@echo+", kShutdown},
     6,
     {"@echo.", "a1", "@echo+", "@echo.", "b1", "@echo+"}},
    {"LineBeforeTheFirstJobGoesAlone",
     {kShutdown, "@echo.", "a1", "@echo+", "@echo.", "b1", "@echo+"},
     0,
     {"@echo.", "a1", "@echo+", "@echo.", "b1", "@echo+"}},
    {"LineWithoutAJobStartAboveGoesAlone",
     {"pause", "rem two", "@echo+", "@echo.", "b1", "@echo+"},
     1,
     {"pause", "@echo+", "@echo.", "b1", "@echo+"}},
    {"LineAfterADisabledStartLineGoesAlone",
     {"@echo.", "a1", "@echo+", "@rem @echo.", "b1", "@echo+"},
     4,
     {"@echo.", "a1", "@echo+", "@rem @echo.", "@echo+"}},
    // A job whose end line is disabled ends before the next job.
    {"DisabledEndLineEndsTheJobAtTheNextStart",
     {"@echo.", "a1", "@rem @echo+", "@echo.", "b1", "@echo+", kShutdown},
     1,
     {"@echo.", "b1", "@echo+", kShutdown}},
    {"NoJobEndFollowingDeletesToTheLastLine",
     {"@echo.", "a1", "@echo+", "@echo.", "b1", "b2"},
     4,
     {"@echo.", "a1", "@echo+"}},
    {"OnlyADisabledEndLineFollowing", {"x", "@echo.", "b1", "@rem @echo+"}, 2, {"x"}},
    {"FrameLinesAreKnownByTheirFirstSixCharacters",
     {"@echo.", "a1", "@echo+", "@echo.Job 2", "b1", "@echo+ done", "tail"},
     4,
     {"@echo.", "a1", "@echo+", "tail"}},
    {"OnlyLineOfTheList", {kShutdown}, 0, {}},
    {"NothingSelected", {"@echo.", "a1", "@echo+"}, -1, {"@echo.", "a1", "@echo+"}},
};

class DeleteJob : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteJob, RemovesTheJobAroundTheSelectedLine) {
  const DeleteCase& c = GetParam();
  AppUnderTest t;
  t.setLines(c.before, c.selected);
  t.click(cid::del);
  EXPECT_EQ(t.lines(), c.after);
  EXPECT_EQ(t.selected(), -1) << "no line stays selected";
  EXPECT_TRUE(t.platform.dialogs.calls.empty()) << "no question is asked";
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteJob, ::testing::ValuesIn(kDeleteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- Disable

struct DisableCase {
  const char* line;
  const char* disabled;
};

const DisableCase kDisableCases[] = {
    {"@echo.", "@rem @echo."},
    {"@echo+", "@rem @echo+"},
    {"shutdown.exe -s -f -t 30", "@rem shutdown.exe -s -f -t 30"},
    {"", "@rem "},
    {"@rem @echo.", "@echo."},
    {"@rem x", "x"},
    {"@rem ", ""},
    {"@rem  two blanks", " two blanks"},
    {"@rem @rem x", "@rem x"},
    {"@remark", "@rem @remark"},
    {"@rem", "@rem @rem"},
    {"@rem\tx", "@rem @rem\tx"},
    {"@rem.", "@rem @rem."},
    {"@REM x", "@rem @REM x"},
    {" @rem x", "@rem  @rem x"},
};

class DisableLine : public ::testing::TestWithParam<DisableCase> {};

TEST_P(DisableLine, TogglesThePrefixAndKeepsTheLineSelected) {
  const DisableCase& c = GetParam();
  AppUnderTest t;
  t.setLines({"first", c.line, "last"}, 1);
  t.click(cid::disable);
  EXPECT_EQ(t.lines(), (Lines{"first", c.disabled, "last"}));
  EXPECT_EQ(t.selected(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DisableLine, ::testing::ValuesIn(kDisableCases));

TEST(DisableLine, TwiceRestoresAnEnabledLine) {
  for (const char* line : {"@echo.", "@echo Input:\"D:\\v\\clip.avs\"", "@remark", "@rem", ""}) {
    AppUnderTest t;
    t.setLines({line, "@echo+"}, 0);
    t.click(cid::disable);
    t.click(cid::disable);
    EXPECT_EQ(t.lines(), (Lines{line, "@echo+"})) << line;
    EXPECT_EQ(t.selected(), 0) << line;
  }
}

TEST(DisableLine, NothingSelectedChangesNothing) {
  AppUnderTest t;
  t.setLines({"@echo.", "@rem x"});
  t.click(cid::disable);
  EXPECT_EQ(t.lines(), (Lines{"@echo.", "@rem x"}));
  EXPECT_EQ(t.selected(), -1);
}

// ---------------------------------------------------------------- up, down

struct MoveCase {
  const char* name;
  ControlId button;
  int selected;
  Lines after;
  int selectedAfter;
};

const MoveCase kMoveCases[] = {
    {"UpFromTheMiddle", cid::up, 1, {"b", "a", "c", "d"}, 0},
    {"UpFromTheLast", cid::up, 3, {"a", "b", "d", "c"}, 2},
    {"UpOnTheFirstDoesNothing", cid::up, 0, {"a", "b", "c", "d"}, 0},
    {"UpWithoutSelection", cid::up, -1, {"a", "b", "c", "d"}, -1},
    {"DownFromTheFirst", cid::down, 0, {"b", "a", "c", "d"}, 1},
    {"DownFromTheMiddle", cid::down, 2, {"a", "b", "d", "c"}, 3},
    {"DownOnTheLastDoesNothing", cid::down, 3, {"a", "b", "c", "d"}, 3},
    {"DownWithoutSelection", cid::down, -1, {"a", "b", "c", "d"}, -1},
};

class MoveLine : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveLine, MovesOneLineAndKeepsItSelected) {
  const MoveCase& c = GetParam();
  AppUnderTest t;
  t.setLines({"a", "b", "c", "d"}, c.selected);
  t.click(c.button);
  EXPECT_EQ(t.lines(), c.after);
  EXPECT_EQ(t.selected(), c.selectedAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveLine, ::testing::ValuesIn(kMoveCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MoveLine, SingleLinesLeaveTheirFrame) {
  AppUnderTest t;
  t.setLines({"@echo.", "x", "@echo+", "x"}, 1);
  t.click(cid::down);
  t.click(cid::down);
  EXPECT_EQ(t.lines(), (Lines{"@echo.", "@echo+", "x", "x"}));
  EXPECT_EQ(t.selected(), 3);
  t.click(cid::up);
  t.click(cid::up);
  t.click(cid::up);
  EXPECT_EQ(t.lines(), (Lines{"x", "@echo.", "@echo+", "x"}));
  EXPECT_EQ(t.selected(), 0);
}

// ---------------------------------------------------------------- view

TEST(ViewLine, ShowsTheSelectedLineInABox) {
  AppUnderTest t;
  t.setLines({"@echo.", "@x264.exe --progress -q 26", "@echo+"}, 1);
  t.click(cid::view);
  EXPECT_THAT(t.platform.dialogs.calls,
              ElementsAre(FieldsAre(
                  "message", "The command line parameter is:", "@x264.exe --progress -q 26", "")));
  EXPECT_EQ(t.lines(), (Lines{"@echo.", "@x264.exe --progress -q 26", "@echo+"}));
  EXPECT_EQ(t.selected(), 1);
}

TEST(ViewLine, ShowsNothingWithoutASelection) {
  AppUnderTest t;
  t.setLines({"@echo.", "@echo+"});
  t.click(cid::view);
  EXPECT_TRUE(t.platform.dialogs.calls.empty());
}

// ---------------------------------------------------------------- edit

struct EditCase {
  const char* name;
  std::optional<std::string> answer;  // nothing: Escape or the close box
  Lines after;
};

const EditCase kEditCases[] = {
    {"OkWithNewText", "@x264.exe --crf 20", {"@echo.", "@x264.exe --crf 20", "@echo+"}},
    {"OkWithUnchangedText", "@x264.exe -q 26", {"@echo.", "@x264.exe -q 26", "@echo+"}},
    {"OkWithEmptiedText", "", {"@echo.", "", "@echo+"}},
    {"Dismissed", std::nullopt, {"@echo.", "@x264.exe -q 26", "@echo+"}},
};

class EditLine : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditLine, AsksWithTheLineAndPutsTheAnswerInItsPlace) {
  const EditCase& c = GetParam();
  AppUnderTest t;
  t.setLines({"@echo.", "@x264.exe -q 26", "@echo+"}, 1);
  t.platform.dialogs.inputAnswers.push_back(c.answer);
  t.click(cid::edit);
  EXPECT_THAT(t.platform.dialogs.calls,
              ElementsAre(FieldsAre("input", "Edit", "For expert only!", "@x264.exe -q 26")));
  EXPECT_EQ(t.lines(), c.after);
  EXPECT_EQ(t.selected(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, EditLine, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditLine, EditsTheFirstAndTheLastLine) {
  AppUnderTest t;
  t.setLines({"a", "b", "c"}, 0);
  t.platform.dialogs.inputAnswers = {"A", "C"};
  t.click(cid::edit);
  EXPECT_EQ(t.selected(), 0);
  t.window.setState(cid::jobList, 2);
  t.click(cid::edit);
  EXPECT_EQ(t.lines(), (Lines{"A", "b", "C"}));
  EXPECT_EQ(t.selected(), 2);
}

TEST(EditLine, AsksNothingWithoutASelection) {
  AppUnderTest t;
  t.setLines({"a", "b"});
  t.platform.dialogs.inputAnswers.push_back("x");
  t.click(cid::edit);
  EXPECT_TRUE(t.platform.dialogs.calls.empty());
  EXPECT_EQ(t.lines(), (Lines{"a", "b"}));
}

// ---------------------------------------------------------------- Clear

TEST(ClearList, RemovesEveryLineWithoutAQuestion) {
  AppUnderTest t;
  t.setLines({"@echo.", "a1", "@echo+", kShutdown}, 2);
  t.click(cid::clear);
  EXPECT_TRUE(t.lines().empty());
  EXPECT_EQ(t.selected(), -1);
  EXPECT_TRUE(t.platform.dialogs.calls.empty());
}

}  // namespace
