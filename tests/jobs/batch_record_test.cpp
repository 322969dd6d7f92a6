// The record of a started batch and the encoder's progress, as read back
// from files other programs write: any prefix of a record, bytes that are
// no record, and hostile progress text change no outcome they do not hold,
// and what the user reads stays short.
#include "jobs/batch_record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "jobs/batch_report.h"
#include "jobs/job_spans.h"

namespace {

std::vector<std::string> Lines() {
  return {"@echo.",
          R"(@echo Input:"D:\v\50% off.avs")",
          R"(@x264.exe -o "D:\v\a.mp4" "D:\v\a.avs" 2>&1|teelog.exe "D:\v\a.log")",
          "@echo+",
          "@echo.",
          R"(@mkvmerge -o "D:\v\b.mkv" "D:\v\b.mp4")",
          "@echo+"};
}

// A header and what two workers appended, as the command interpreter's echo
// writes it.
std::string Record() {
  const std::vector<std::string> lines = Lines();
  const std::vector<HeaderJob> jobs = {{0, std::nullopt, false}, {1, 42, true}};
  const std::vector<std::string> processes = {"12:34", "56:78"};
  return BatchRecordHeader(lines, jobs, "2026-12-08 14:02:33", 2, processes, "temp2") +
         "begin 1 \r\npass 1 1 \r\nwarned 1 mux 1 \r\ndone 1 123 \r\nstop \r\nend \r\n";
}

// Every prefix of a record, read at once or piece by piece, reads as the
// whole record's lines up to the last one it holds whole: nothing reads as
// more than was written.
TEST(BatchRecord, EveryPrefixReadsAsTheLinesItHoldsWhole) {
  const std::string whole = Record();
  const BatchRecord all = *ReadBatchRecord(whole);
  ASSERT_EQ(all.jobs.size(), 2u);
  EXPECT_EQ(all.jobs[0].input, R"(D:\v\50% off.avs)");
  const std::vector<std::string> lines = Lines();
  EXPECT_EQ(all.jobs[0].lines, std::vector<std::string>(lines.begin(), lines.begin() + 4));
  EXPECT_EQ(all.jobs[1].size, 42u);
  EXPECT_TRUE(all.jobs[1].earlier);
  EXPECT_EQ(all.processes, (std::vector<std::string>{"12:34", "56:78"}));
  EXPECT_TRUE(all.jobs[0].warned && all.jobs[0].done && all.ended && all.stopSeen);
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    RecordReader pieces;
    for (size_t at = 0; at < cut; at += 7)
      pieces.take(whole.substr(at, std::min<size_t>(7, cut - at)));
    const std::string kept = whole.substr(0, whole.rfind('\n', cut == 0 ? 0 : cut - 1) + 1);
    const std::optional<BatchRecord> atOnce = ReadBatchRecord(kept);
    EXPECT_EQ(pieces.valid(), atOnce.has_value()) << cut;
    if (!atOnce) continue;
    const BatchRecord& read = pieces.record();
    EXPECT_EQ(read.jobs.size(), atOnce->jobs.size()) << cut;
    EXPECT_EQ(read.ended, atOnce->ended) << cut;
    EXPECT_LE(read.jobs.size(), all.jobs.size());
    if (!read.jobs.empty()) {
      EXPECT_EQ(read.jobs[0].done, atOnce->jobs[0].done) << cut;
    }
  }
}

// Bytes that are no record, and a record with lines of another shape in it:
// nothing the writers did not write is read, whatever comes.
TEST(BatchRecord, WhatIsNoRecordLineChangesNothing) {
  std::mt19937 random(29);
  for (int n = 0; n < 2000; ++n) {
    std::string noise(random() % 300, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    RecordReader reader;
    reader.take(noise);
    if (reader.valid()) {
      EXPECT_TRUE(reader.record().jobs.empty());
    }
  }
  const std::string hostile = Record() +
                              "done 3 1\r\nbegin 0\r\nbegin -1\r\nbegin 99999999999999999999\r\n"
                              "done 2 12x\r\nfailed 2\r\nworkers 0\r\nworkers 2147483647\r\n" +
                              std::string(100000, 'x') + "\r\nbegin 2 \r\n";
  const BatchRecord read = *ReadBatchRecord(hostile);
  ASSERT_EQ(read.jobs.size(), 2u);
  EXPECT_FALSE(read.jobs[1].failed);
  EXPECT_EQ(read.jobs[1].size, std::nullopt) << "12x is no size";
  EXPECT_EQ(read.workers, 2);
  EXPECT_TRUE(read.jobs[1].begun) << "a line after an overlong one is read";
}

// Only finite percents from 0 to 100 count, what an unknown shape shows is
// nothing, and the title stays short whatever the encoder printed.
TEST(EncoderProgress, OnlyTheShapesTeelogWritesAreShownAndTheTitleStaysShort) {
  const struct {
    std::string text;
    std::optional<double> percent;
    std::string parts;
  } cases[] = {
      {"[45.2%] 123/273 frames, 23.45 fps, 1234.56 kb/s, eta 0:01:04  ", 45.2,
       "45.2%, 123/273 frames, 23.45 fps, eta 0:01:04"},
      {"34 frames: 45.67 fps, 123.45 kb/s", std::nullopt, "34 frames, 45.67 fps"},
      {"encoded frames: 34/276 (12.3%), 45.67 fps, eta 0:00:05", 12.3,
       "12.3%, 34/276 frames, 45.67 fps, eta 0:00:05"},
      {"[nan%] 1/2 frames, 1 fps", std::nullopt, ""},
      {"[inf%] 1/2 frames", std::nullopt, ""},
      {"[101%] 1/2 frames", std::nullopt, ""},
      {"[-5%] 1/2 frames", std::nullopt, ""},
      {"[1e3%] 1/2 frames", std::nullopt, ""},
      {"[" + std::string(1 << 20, '9'), std::nullopt, ""},
      {"12/x frames, eta 0:01:xx", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    const EncoderProgress read = ReadEncoderProgress(c.text);
    EXPECT_EQ(read.percent, c.percent) << c.text.substr(0, 40);
    EXPECT_EQ(read.parts, c.parts) << c.text.substr(0, 40);
    BatchView view;
    view.record = *ReadBatchRecord(Record());
    view.record.jobs[0].done = false;
    view.runs = true;
    view.progress[0] = read;
    view.progress[0].error = std::string(1 << 20, 'e');
    EXPECT_LE(RunningText(view).size(), 210u);
    const int permille = BatchPermille(view);
    EXPECT_TRUE(permille >= 0 && permille <= 1000) << permille;
  }
  EXPECT_EQ(ReadEncoderProgress("x\r\n" + std::string(5000, 'e')).error.size(), kLongestShown + 3)
      << "cut, with the dots";
}

// mkvmerge's exit code 1 joined the files with warnings: the job counts as
// done, and the user reads the warning.
TEST(BatchRecord, AJobDoneWithWarningsIsDoneAndSaysSo) {
  BatchView view;
  view.record = *ReadBatchRecord(Record());
  EXPECT_EQ(StateOf(view.record.jobs[0], false), JobState::DoneWithWarnings);
  EXPECT_EQ(OutcomeText(view.record), "2 jobs, stopped: 2 done (1 with warnings), 0 failed");
  EXPECT_NE(BatchReport(view).find("job 1 (D:\\v\\50% off.avs): done with warnings: the mux "
                                   "ended with exit code 1"),
            std::string::npos)
      << BatchReport(view);
}

}  // namespace
