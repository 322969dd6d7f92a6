// "Add", "Batch Adding", the file requesters, the custom matrix chooser and
// files dropped onto the window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app_under_test.h"

namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::FieldsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Lines = std::vector<std::string>;

constexpr const char* kInputPattern = "AVS(*.avs)|*.AVS|Other Media|*.*";
constexpr const char* kBatchPattern = "AVS(*.AVS)|*.avs|Other Media|*.*";
constexpr const char* kOutputPattern = "MP4(*.mp4)|*.MP4|MKV(*.mkv)|*.MKV|RAW(*.264)|*.264";

// The program with the AviSynth preset "P" chosen.
struct WithPreset : AppUnderTest {
  WithPreset() {
    window.addItem(cid::avsinc, "P");
    window.setText(cid::avsinc, "P");
  }
};

// ---------------------------------------------------------------- Add

// An empty output or input queues the frame alone, each time, and the
// fields keep their text.
TEST(AddJob, AnEmptyFieldQueuesTheFrameAloneEachTime) {
  AppUnderTest t;
  t.window.setText(cid::input, R"(D:\v\clip.avs)");
  t.click(cid::add);
  t.window.setText(cid::input, "");
  t.window.setText(cid::output, R"(D:\v\clip.mp4)");
  t.click(cid::add);
  EXPECT_EQ(t.lines(), (Lines{"@echo.", "@echo+", "@echo.", "@echo+"}));
  EXPECT_EQ(t.window.text(cid::output), R"(D:\v\clip.mp4)") << "the output keeps its text";
  EXPECT_TRUE(t.platform.dialogs.calls.empty());
}

TEST(AddJob, InputAndOutputQueueAFramedJobAndEmptyTheFileFields) {
  AppUnderTest t;
  t.setLines({"shutdown.exe -s -f -t 30"});
  t.window.setState(cid::crelog, 1);
  t.window.setText(cid::input, R"(D:\v\clip.avs)");
  t.window.setText(cid::output, R"(E:\out\clip.mp4)");
  t.window.setText(cid::statsfile, R"(C:\prog\stats\clip.avs.stat)");
  t.window.setText(cid::logfile, R"(C:\prog\log\clip.avs.txt)");
  t.click(cid::add);

  // The job goes before the shut-down line, which stays last.
  const Lines lines = t.lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "@echo.");
  EXPECT_EQ(lines[1], R"(@echo Input:"D:\v\clip.avs")");
  EXPECT_EQ(lines[2], R"(@echo Output:"E:\out\clip.mp4")");
  EXPECT_EQ(lines[3], "@echo Encode Mode:Single Pass - Quantizer");
  EXPECT_THAT(lines[4], StartsWith("@x264.exe --progress "));
  EXPECT_THAT(lines[4], HasSubstr(" -q 26 "));
  EXPECT_THAT(lines[4], EndsWith(R"( -o "E:\out\clip.mp4" "D:\v\clip.avs" 2>&1|teelog.exe )"
                                 R"("C:\prog\log\clip.avs.txt")"));
  EXPECT_EQ(lines[5], "@echo+");
  EXPECT_EQ(lines[6], "shutdown.exe -s -f -t 30");
  for (ControlId field : {cid::input, cid::output, cid::statsfile, cid::logfile})
    EXPECT_EQ(t.window.text(field), "") << field;
}

// ---------------------------------------------------------------- Batch Adding

TEST(BatchAdding, QueuesOneJobPerFileWithItsOwnNamesInTheChosenFolder) {
  WithPreset t;
  t.window.setState(cid::crelog, 1);
  t.platform.dialogs.folderAnswers.push_back(R"(E:\out\)");
  t.platform.dialogs.openManyAnswers.push_back({R"(D:\v\a.avs)", R"(D:\w\b.mkv)", R"(D:\x.y\c)"});
  t.click(cid::batchAdding);

  EXPECT_THAT(t.platform.dialogs.calls,
              ElementsAre(FieldsAre("folder", "Select a folder for output", R"(C:\prog\)", ""),
                          FieldsAre("openMany", "Select some files", "", kBatchPattern)));

  struct Job {
    const char* input;
    const char* output;
    const char* log;
  };
  const Job jobs[] = {
      {R"(D:\v\a.avs)", R"(E:\out\a.mp4)", R"(C:\prog\log\a.avs.txt)"},
      {R"(C:\prog\avs\b.mkv.avs)", R"(E:\out\b.mp4)", R"(C:\prog\log\b.mkv.txt)"},
      {R"(C:\prog\avs\c.avs)", R"(E:\out\c.mp4)", R"(C:\prog\log\c.txt)"},
  };
  const Lines lines = t.lines();
  ASSERT_EQ(lines.size(), 3 * 6u);
  for (size_t j = 0; j < 3; ++j) {
    const Job& job = jobs[j];
    const size_t at = 6 * j;
    EXPECT_EQ(lines[at], "@echo.") << j;
    EXPECT_EQ(lines[at + 1], std::string("@echo Input:\"") + job.input + "\"") << j;
    EXPECT_EQ(lines[at + 2], std::string("@echo Output:\"") + job.output + "\"") << j;
    EXPECT_EQ(lines[at + 3], "@echo Encode Mode:Single Pass - Quantizer") << j;
    EXPECT_THAT(lines[at + 4], EndsWith(std::string(" -o \"") + job.output + "\" \"" + job.input +
                                        "\" 2>&1|teelog.exe \"" + job.log + "\""))
        << j;
    EXPECT_EQ(lines[at + 5], "@echo+") << j;
  }
  EXPECT_EQ(t.platform.files.readFile(R"(C:\prog\avs\b.mkv.avs)"),
            "fs=\"D:\\w\\b.mkv\"\r\nmfn=\"D:\\w\\b\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n");
  EXPECT_EQ(t.platform.files.readFile(R"(C:\prog\avs\c.avs)"),
            "fs=\"D:\\x.y\\c\"\r\nmfn=\"D:\\x.y\\c\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n");
  EXPECT_FALSE(t.platform.files.exists(R"(C:\prog\avs\a.avs.avs)"));
  for (ControlId field : {cid::input, cid::output, cid::statsfile, cid::logfile})
    EXPECT_EQ(t.window.text(field), "") << field;
}

struct BatchCancelCase {
  const char* name;
  std::vector<std::string> folderAnswers;
  std::vector<std::vector<std::string>> fileAnswers;
  std::vector<std::string> kindsAsked;
};

const BatchCancelCase kBatchCancelCases[] = {
    {"FolderCancelled", {}, {{R"(D:\v\a.avs)"}}, {"folder"}},
    {"FilesCancelled", {R"(E:\out\)"}, {}, {"folder", "openMany"}},
};

class BatchAddingCancelled : public ::testing::TestWithParam<BatchCancelCase> {};

TEST_P(BatchAddingCancelled, QueuesNothingAndLeavesTheFieldsAlone) {
  const BatchCancelCase& c = GetParam();
  AppUnderTest t;
  t.setLines({"@echo.", "@echo+"});
  t.window.setText(cid::input, R"(D:\v\old.avs)");
  t.window.setText(cid::output, R"(D:\v\old.mp4)");
  for (const std::string& answer : c.folderAnswers)
    t.platform.dialogs.folderAnswers.push_back(answer);
  for (const std::vector<std::string>& answer : c.fileAnswers)
    t.platform.dialogs.openManyAnswers.push_back(answer);
  const int writes = t.platform.files.writes;
  t.click(cid::batchAdding);

  std::vector<std::string> kinds;
  for (const DialogCall& call : t.platform.dialogs.calls) kinds.push_back(call.kind);
  EXPECT_EQ(kinds, c.kindsAsked);
  EXPECT_EQ(t.lines(), (Lines{"@echo.", "@echo+"}));
  EXPECT_EQ(t.window.text(cid::input), R"(D:\v\old.avs)");
  EXPECT_EQ(t.window.text(cid::output), R"(D:\v\old.mp4)");
  EXPECT_EQ(t.platform.files.writes, writes);
}

INSTANTIATE_TEST_SUITE_P(Cases, BatchAddingCancelled, ::testing::ValuesIn(kBatchCancelCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- input "..."

struct InputCase {
  const char* chosen;
  const char* input;
  const char* output;
  const char* statsfile;
  const char* logfile;
  const char* wrapper;  // its bytes; nullptr: none written
};

const InputCase kInputCases[] = {
    {R"(D:\v\clip.AVS)", R"(D:\v\clip.AVS)", R"(D:\v\clip.mp4)", R"(C:\prog\stats\clip.AVS.stat)",
     R"(C:\prog\log\clip.AVS.txt)", nullptr},
    {R"(D:\v\clip.mkv)", R"(C:\prog\avs\clip.mkv.avs)", R"(D:\v\clip.mp4)",
     R"(C:\prog\stats\clip.mkv.stat)", R"(C:\prog\log\clip.mkv.txt)",
     "fs=\"D:\\v\\clip.mkv\"\r\nmfn=\"D:\\v\\clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
    {R"(D:\v.1\clip)", R"(C:\prog\avs\clip.avs)", R"(D:\v.1\clip.mp4)",
     R"(C:\prog\stats\clip.stat)", R"(C:\prog\log\clip.txt)",
     "fs=\"D:\\v.1\\clip\"\r\nmfn=\"D:\\v.1\\clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
    {R"(D:/v/clip.avs)", R"(D:/v/clip.avs)", R"(D:/v/clip.mp4)", R"(C:\prog\stats\clip.avs.stat)",
     R"(C:\prog\log\clip.avs.txt)", nullptr},
};

class InputRequester : public ::testing::TestWithParam<InputCase> {};

TEST_P(InputRequester, DerivesTheNamesBesideTheChosenInput) {
  const InputCase& c = GetParam();
  WithPreset t;
  t.platform.dialogs.openAnswers.push_back(c.chosen);
  t.click(cid::inputBrowse);
  EXPECT_THAT(t.platform.dialogs.calls, ElementsAre(FieldsAre("open", "", "", kInputPattern)));
  EXPECT_EQ(t.window.text(cid::input), c.input);
  EXPECT_EQ(t.window.text(cid::output), c.output);
  EXPECT_EQ(t.window.text(cid::statsfile), c.statsfile);
  EXPECT_EQ(t.window.text(cid::logfile), c.logfile);
  if (c.wrapper)
    EXPECT_EQ(t.platform.files.readFile(c.input), c.wrapper);
  else
    EXPECT_TRUE(t.platform.files.listFiles(R"(C:\prog\avs)", "*").empty());
  EXPECT_TRUE(t.lines().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, InputRequester, ::testing::ValuesIn(kInputCases));

TEST(InputRequester, CancelledEmptiesTheInputAndLeavesTheDerivedNames) {
  AppUnderTest t;
  t.window.setText(cid::input, R"(D:\v\old.mkv)");
  t.window.setText(cid::output, R"(D:\v\old.mp4)");
  t.window.setText(cid::statsfile, R"(C:\prog\stats\old.mkv.stat)");
  t.window.setText(cid::logfile, R"(C:\prog\log\old.mkv.txt)");
  const int writes = t.platform.files.writes;
  t.click(cid::inputBrowse);
  EXPECT_EQ(t.window.text(cid::input), "");
  EXPECT_EQ(t.window.text(cid::output), R"(D:\v\old.mp4)");
  EXPECT_EQ(t.window.text(cid::statsfile), R"(C:\prog\stats\old.mkv.stat)");
  EXPECT_EQ(t.window.text(cid::logfile), R"(C:\prog\log\old.mkv.txt)");
  EXPECT_EQ(t.platform.files.writes, writes);
}

TEST(InputRequester, ANameAviSynthCannotReadStaysTheInputAndIsReported) {
  WithPreset t;
  // The in-memory system code page spells Latin-1: "é" but not "日本".
  t.platform.dialogs.openAnswers.push_back("D:\\v\\caf\xC3\xA9.mkv");
  t.click(cid::inputBrowse);
  EXPECT_EQ(t.window.text(cid::input), "C:\\prog\\avs\\caf\xC3\xA9.mkv.avs");
  t.platform.dialogs.openAnswers.push_back("D:\\v\\\xE6\x97\xA5\xE6\x9C\xAC.mkv");
  t.click(cid::inputBrowse);
  EXPECT_EQ(t.window.text(cid::input), "D:\\v\\\xE6\x97\xA5\xE6\x9C\xAC.mkv");
  EXPECT_EQ(t.window.text(cid::output), "D:\\v\\\xE6\x97\xA5\xE6\x9C\xAC.mp4");
  EXPECT_FALSE(t.platform.files.exists("C:\\prog\\avs\\\xE6\x97\xA5\xE6\x9C\xAC.mkv.avs"));
  ASSERT_EQ(t.calls("message").size(), 1u);
  EXPECT_THAT(t.calls("message")[0].preset, HasSubstr("system's code page"));
}

TEST(InputRequester, AWrapperThatCannotBeWrittenIsNotReported) {
  AppUnderTest t;
  t.platform.files.readOnlyFolders.insert(R"(c:\prog\avs)");
  t.platform.dialogs.openAnswers.push_back(R"(D:\v\clip.mkv)");
  t.click(cid::inputBrowse);
  EXPECT_FALSE(t.platform.files.exists(R"(C:\prog\avs\clip.mkv.avs)"));
  EXPECT_EQ(t.window.text(cid::input), R"(C:\prog\avs\clip.mkv.avs)");
  EXPECT_TRUE(t.calls("message").empty());
}

// ---------------------------------------------------------------- output "..."

struct OutputCase {
  const char* chosen;
  const char* output;
};

const OutputCase kOutputCases[] = {
    {R"(D:\v\clip)", R"(D:\v\clip.mp4)"},
    {R"(D:\v\clip.mkv)", R"(D:\v\clip.mkv)"},
    {R"(D:\v\clip.264)", R"(D:\v\clip.264)"},
    {R"(D:\v\clip.MP4)", R"(D:\v\clip.MP4)"},
    {R"(D:\v\clip.x)", R"(D:\v\clip.x)"},
    {R"(D:\v\clip.)", R"(D:\v\clip..mp4)"},
    {R"(D:\v.1\clip)", R"(D:\v.1\clip.mp4)"},
    {R"(D:\v.1/clip)", R"(D:\v.1/clip.mp4)"},
    {"", ""},
};

class OutputRequester : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputRequester, AppendsMp4ToANameWithoutExtension) {
  const OutputCase& c = GetParam();
  AppUnderTest t;
  t.window.setText(cid::output, R"(D:\v\old.mp4)");
  t.platform.dialogs.saveAnswers.push_back(c.chosen);
  t.click(cid::outputBrowse);
  EXPECT_THAT(t.platform.dialogs.calls, ElementsAre(FieldsAre("save", "", "", kOutputPattern)));
  EXPECT_EQ(t.window.text(cid::output), c.output);
}

INSTANTIATE_TEST_SUITE_P(Cases, OutputRequester, ::testing::ValuesIn(kOutputCases));

// ---------------------------------------------------------------- stats and log "..."

struct StatsCase {
  int mode;
  const char* kind;
};

const StatsCase kStatsCases[] = {
    {4, "open"}, {0, "save"}, {1, "save"}, {3, "save"}, {5, "save"}, {7, "save"}, {13, "save"},
};

class StatsRequester : public ::testing::TestWithParam<StatsCase> {};

TEST_P(StatsRequester, OpensForTheFastFirstPassAndSavesOtherwise) {
  const StatsCase& c = GetParam();
  AppUnderTest t;
  t.window.setState(cid::mode, c.mode);
  t.window.setText(cid::statsfile, R"(C:\prog\stats\clip.avs.stat)");
  t.platform.dialogs.openAnswers.push_back(R"(D:\s\opened.stat)");
  t.platform.dialogs.saveAnswers.push_back(R"(D:\s\saved)");
  t.click(cid::statsfileBrowse);
  EXPECT_THAT(t.platform.dialogs.calls,
              ElementsAre(FieldsAre(c.kind, "", R"(C:\prog\stats\clip.avs.stat)",
                                    "Statsfile (*.stat)|*.stat")));
  const std::string chosen =
      std::string(c.kind) == "open" ? R"(D:\s\opened.stat)" : R"(D:\s\saved)";
  EXPECT_EQ(t.window.text(cid::statsfile), chosen);

  t.click(cid::statsfileBrowse);  // cancelled
  ASSERT_EQ(t.platform.dialogs.calls.size(), 2u);
  EXPECT_EQ(t.platform.dialogs.calls[1].preset, chosen);
  EXPECT_EQ(t.window.text(cid::statsfile), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, StatsRequester, ::testing::ValuesIn(kStatsCases));

TEST(LogRequester, SavesWithTheCurrentNameAndAddsNoExtension) {
  AppUnderTest t;
  t.window.setText(cid::logfile, R"(C:\prog\log\clip.avs.txt)");
  t.platform.dialogs.saveAnswers.push_back(R"(D:\l\run)");
  t.click(cid::logfileBrowse);
  t.click(cid::logfileBrowse);  // cancelled
  EXPECT_THAT(
      t.platform.dialogs.calls,
      ElementsAre(FieldsAre("save", "", R"(C:\prog\log\clip.avs.txt)", "Log file (*.txt)|*.txt"),
                  FieldsAre("save", "", R"(D:\l\run)", "Log file (*.txt)|*.txt")));
  EXPECT_EQ(t.window.text(cid::logfile), "");
}

TEST(LogRequester, TakesTheChosenName) {
  AppUnderTest t;
  t.platform.dialogs.saveAnswers.push_back(R"(D:\l\run)");
  t.click(cid::logfileBrowse);
  EXPECT_EQ(t.window.text(cid::logfile), R"(D:\l\run)");
}

// ---------------------------------------------------------------- custom matrix

struct MatrixCase {
  const char* name;
  std::optional<std::string> chosen;  // nothing: cancelled
  const char* cqm;
};

const MatrixCase kMatrixCases[] = {
    {"FileChosen", R"(C:\m\q.cfg)", R"("C:\m\q.cfg")"},
    {"FileWithBlanks", R"(C:\my m\q 2.cfg)", R"("C:\my m\q 2.cfg")"},
    {"Cancelled", std::nullopt, "flat"},
};

class MatrixChooser : public ::testing::TestWithParam<MatrixCase> {};

TEST_P(MatrixChooser, QuotesTheChosenFileOrFallsBackToFlat) {
  const MatrixCase& c = GetParam();
  AppUnderTest t;
  if (c.chosen) t.platform.dialogs.openAnswers.push_back(*c.chosen);
  t.window.setText(cid::cqm, "custom...");
  t.app.onEvent(cid::cqm, EventKind::SelectionChanged);
  EXPECT_THAT(t.platform.dialogs.calls,
              ElementsAre(FieldsAre("open", "Select a matrix file", "", "*.*|*.*")));
  EXPECT_EQ(t.window.text(cid::cqm), c.cqm);
}

INSTANTIATE_TEST_SUITE_P(Cases, MatrixChooser, ::testing::ValuesIn(kMatrixCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MatrixChooser, OtherEntriesAskNothing) {
  AppUnderTest t;
  t.platform.dialogs.openAnswers.push_back(R"(C:\m\q.cfg)");
  for (const char* entry : {"flat", "jvt", "custom", R"("C:\m\q.cfg")"}) {
    t.window.setText(cid::cqm, entry);
    t.app.onEvent(cid::cqm, EventKind::SelectionChanged);
    EXPECT_EQ(t.window.text(cid::cqm), entry);
  }
  EXPECT_TRUE(t.platform.dialogs.calls.empty());
}

// ---------------------------------------------------------------- dropped files

TEST(DroppedFiles, OneFileIsTakenAsIfTheInputRequesterHadChosenIt) {
  for (const char* path : {R"(D:\v\clip.mkv)", R"(D:\v\clip.AVS)", R"(D:\v.1\clip)"}) {
    WithPreset chosen;
    chosen.platform.dialogs.openAnswers.push_back(path);
    chosen.click(cid::inputBrowse);

    WithPreset dropped;
    dropped.window.setText(cid::output, R"(D:\v\old.mp4)");
    dropped.app.onFilesDropped({path});
    for (ControlId field : {cid::input, cid::output, cid::statsfile, cid::logfile})
      EXPECT_EQ(dropped.window.text(field), chosen.window.text(field)) << path << " " << field;
    EXPECT_EQ(dropped.platform.files.files, chosen.platform.files.files) << path;
    EXPECT_TRUE(dropped.lines().empty()) << path;
    EXPECT_TRUE(dropped.platform.dialogs.calls.empty()) << path;
  }
}

TEST(DroppedFiles, OneFileGetsItsNamesBesideIt) {
  WithPreset t;
  t.app.onFilesDropped({R"(D:\v\clip.mkv)"});
  EXPECT_EQ(t.window.text(cid::input), R"(C:\prog\avs\clip.mkv.avs)");
  EXPECT_EQ(t.window.text(cid::output), R"(D:\v\clip.mp4)");
  EXPECT_EQ(t.window.text(cid::statsfile), R"(C:\prog\stats\clip.mkv.stat)");
  EXPECT_EQ(t.window.text(cid::logfile), R"(C:\prog\log\clip.mkv.txt)");
  EXPECT_EQ(t.platform.files.readFile(R"(C:\prog\avs\clip.mkv.avs)"),
            "fs=\"D:\\v\\clip.mkv\"\r\nmfn=\"D:\\v\\clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n");
}

TEST(DroppedFiles, SeveralFilesQueueOneJobEachBesideItsInput) {
  const std::vector<std::string> dropped = {R"(D:\v\a.avs)", R"(E:\w\b.mkv)", R"(F:/x/c.avs)"};
  const char* echoes[][2] = {
      {R"(@echo Input:"D:\v\a.avs")", R"(@echo Output:"D:\v\a.mp4")"},
      {R"(@echo Input:"C:\prog\avs\b.mkv.avs")", R"(@echo Output:"E:\w\b.mp4")"},
      {R"(@echo Input:"F:/x/c.avs")", R"(@echo Output:"F:/x/c.mp4")"},
  };
  for (size_t count : {2u, 3u}) {
    WithPreset t;
    t.setLines({"@rem kept above"});
    t.app.onFilesDropped({dropped.begin(), dropped.begin() + count});
    const Lines lines = t.lines();
    ASSERT_EQ(lines.size(), 1 + count * 6) << count;
    EXPECT_EQ(lines[0], "@rem kept above");
    for (size_t j = 0; j < count; ++j) {
      EXPECT_EQ(lines[1 + 6 * j], "@echo.") << count << " " << j;
      EXPECT_EQ(lines[2 + 6 * j], echoes[j][0]) << count << " " << j;
      EXPECT_EQ(lines[3 + 6 * j], echoes[j][1]) << count << " " << j;
      EXPECT_EQ(lines[6 + 6 * j], "@echo+") << count << " " << j;
    }
    EXPECT_EQ(t.platform.files.readFile(R"(C:\prog\avs\b.mkv.avs)"),
              "fs=\"E:\\w\\b.mkv\"\r\nmfn=\"E:\\w\\b\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n");
    EXPECT_EQ(t.window.text(cid::input), "");
    EXPECT_TRUE(t.platform.dialogs.calls.empty());
  }
}

TEST(DroppedFiles, NoFileChangesNothing) {
  AppUnderTest t;
  t.window.setText(cid::input, R"(D:\v\old.avs)");
  t.app.onFilesDropped({});
  EXPECT_EQ(t.window.text(cid::input), R"(D:\v\old.avs)");
  EXPECT_TRUE(t.lines().empty());
}

}  // namespace
