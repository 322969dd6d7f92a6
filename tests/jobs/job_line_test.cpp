// The one reading of a job line, on lines as the composers write them and
// as a user may edit them, and on what no line should be.
#include "jobs/job_line.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "jobs/job_spans.h"

namespace {

TEST(JobLine, ReadsEachKindOfLineAndWhatAPassRunsAsUnderTeelog) {
  const struct {
    const char* line;
    LineKind kind;
    std::optional<Step> step;
    const char* started;  // the line as a started batch runs it
  } cases[] = {
      {"@echo.", LineKind::JobStart, {}, "@echo."},
      {"@echo+", LineKind::JobEnd, {}, "@echo+"},
      {R"(@echo Input:"D:\v\50%% off.avs")", LineKind::Info, {}, nullptr},
      {R"(@x264.exe --crf 20 -o "D:\v\a.mp4" "D:\v\a.avs" 2>&1|teelog.exe "D:\v\a%%.log")",
       LineKind::Step, Step::Pass,
       R"(@teelog.exe --run "D:\v\a%%.log" x264.exe --crf 20 -o "D:\v\a.mp4" "D:\v\a.avs")"},
      {R"(@if errorlevel 1 @X264 -p 2 -o "D:\v\a.mp4" "D:\v\a.avs")", LineKind::Step, Step::Pass,
       R"(@if errorlevel 1 @teelog.exe --run "" X264 -p 2 -o "D:\v\a.mp4" "D:\v\a.avs")"},
      // A line the user gave a redirection, or a log not in one pair of
      // quotes, runs as it stands; it is a pass all the same.
      {R"(@x264.exe -o a.mp4 a.avs >out.txt)", LineKind::Step, Step::Pass,
       R"(@x264.exe -o a.mp4 a.avs >out.txt)"},
      {R"(@x264.exe -o a.mp4 a.avs 2>&1|teelog.exe a.log)", LineKind::Step, Step::Pass,
       R"(@x264.exe -o a.mp4 a.avs 2>&1|teelog.exe a.log)"},
      {R"(@gaugit.exe 90 110 "D:\v\a.mp4")", LineKind::Step, Step::SizeCheck, nullptr},
      {R"~(@bepipe.exe --script "import(^D:\v\a.avs^)" | faac.exe -b 64 - -o "D:\v\a.m4a")~",
       LineKind::Step, Step::Audio, nullptr},
      {R"(@mkvmerge -o "D:\v\a.mkv" "D:\v\a.mp4" "D:\v\a.audio.mp4")", LineKind::Step, Step::Mux,
       nullptr},
      {R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\a.audio.mp4")",
       LineKind::CleanUp,
       {},
       nullptr},
      {"shutdown.exe -s -f -t 30", LineKind::Shutdown, {}, nullptr},
      {R"(@rem @x264.exe -o "D:\v\a.mp4" "D:\v\a.avs")", LineKind::Disabled, {}, nullptr},
      {":label", LineKind::Own, {}, nullptr},
      {R"(@"C:\my tools\x264.exe" -o a.mp4 a.avs)", LineKind::Own, {}, nullptr},
      {"@copy a b", LineKind::Own, {}, nullptr},
  };
  for (const auto& c : cases) {
    const JobLine read = ReadJobLine(c.line);
    EXPECT_EQ(read.kind, c.kind) << c.line;
    EXPECT_EQ(read.step, c.step) << c.line;
    if (c.started) {
      EXPECT_EQ(RunByTeelog(read, c.line), c.started) << c.line;
    }
  }
  const JobLine info = ReadJobLine(R"(@echo Input:"D:\v\50%% off.avs")");
  EXPECT_EQ(info.info, Info::Input);
  EXPECT_EQ(info.value, R"(D:\v\50% off.avs)");
  EXPECT_EQ(ReadJobLine(cases[3].line).log, R"(D:\v\a%.log)");
  EXPECT_EQ(ReadJobLine(cases[8].line).writes(), R"(D:\v\a.m4a)");
}

TEST(JobLine, CalledProgramsAreEachCommandsProgramOncePipesAndTestsIncluded) {
  const std::vector<std::string> lines = {
      "@echo.",
      R"(@echo Input:"D:\v\a | b.avs")",
      R"(@x264.exe --crf 20 -o "D:\v\a | b.mp4" "D:\v\a.avs" 2>&1|teelog.exe "D:\v\a.txt")",
      R"(@gaugit.exe 90 110 "D:\v\a.mp4")",
      R"(@if errorlevel 1 @X264.EXE -p 2 "D:\v\a.avs")",
      R"~(@bepipe.exe --script "import(^D:\v\a.avs^)" | neroaacenc.exe -if - -of "x")~",
      R"(@if not errorlevel 1 del "D:\v\a.audio.mp4")",
      R"(@if exist "D:\v\my mkvmerge.mkv" del "D:\v\a.mp4")",
      R"(@if exist "D:\v\a.mkv" mkvmerge -o "D:\v\b.mkv")",
      R"(@if errorlevel 0 if not errorlevel 1 if not exist "D:\v\faac.exe" ren "a" "b.mkv")",
      R"(@rem faac.exe -b 64 - -o "x")",
      R"(@"C:\my tools\mp4box.exe" -add "a")",
      "@lullo.exe 5 && copy a b & mp4creator.exe",
      "shutdown.exe -s -f -t 30",
      "@echo+",
  };
  EXPECT_EQ(CalledPrograms(lines),
            (std::vector<std::string>{"x264.exe", "teelog.exe", "gaugit.exe", "bepipe.exe",
                                      "neroaacenc.exe", "mkvmerge", R"(C:\my tools\mp4box.exe)",
                                      "lullo.exe", "mp4creator.exe", "shutdown.exe"}));
}

// What each job made, whose size resume checks: the muxed file under its
// last name, the output, the audio of an audio-only job, the statistics of
// a first pass alone.
TEST(JobSpans, FindEachJobsInputPassesAndResult) {
  const std::vector<std::string> lines = {
      "@echo.",
      R"(@echo Input:"D:\v\a.avs")",
      R"(@x264.exe -p 1 --stats "D:\v\a.stats" -o nul "D:\v\a.avs")",
      R"(@x264.exe -p 2 -o "D:\v\a.mkv" "D:\v\a.avs" 2>&1|teelog.exe "D:\v\a.log")",
      R"~(@bepipe.exe --script "import(^D:\v\a.avs^)" | neroaacenc.exe -if - -of "D:\v\a.audio.mp4")~",
      R"(@mkvmerge -o "D:\v\a.muxed.mkv" "D:\v\a.mkv" "D:\v\a.audio.mp4")",
      R"(@if errorlevel 0 if not errorlevel 1 if not exist "D:\v\a.mkv" ren "D:\v\a.muxed.mkv" "a.mkv")",
      "@echo+",
      "shutdown.exe -s -f -t 30",
      "@echo.",
      R"(@x264.exe -p 1 --stats "D:\v\b.stats" -o nul "D:\v\b.avs")",
      "@echo.",
      R"~(@bepipe.exe --script "import(^D:\v\c.avs^)" | faac.exe -b 64 - -o "D:\v\c.aac")~",
      "@echo+",
  };
  const std::vector<JobSpan> jobs = JobSpans(lines);
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_EQ(jobs[0].input, R"(D:\v\a.avs)");
  EXPECT_EQ(jobs[0].passes, 2);
  EXPECT_EQ(jobs[0].logfile, R"(D:\v\a.log)");
  EXPECT_EQ(jobs[0].result, R"(D:\v\a.mkv)");
  EXPECT_EQ(jobs[1].result, R"(D:\v\b.stats)");
  EXPECT_EQ(jobs[1].count, 2u) << "a job without its end line ends at the next start";
  EXPECT_EQ(jobs[2].result, R"(D:\v\c.aac)");
  EXPECT_EQ(JobAt(jobs, 8), std::nullopt) << "the shut-down line lies outside every job";
  EXPECT_EQ(JobAt(jobs, 7), 0u);
  EXPECT_EQ(JobOfLine(lines, 3), R"(job 1 (D:\v\a.avs))");
  EXPECT_EQ(JobOfLine(lines, 8), "the line 9");
}

// Lines cut anywhere, and bytes that are no line at all, read as something
// without a fault (the sanitizers watch), and a cut pass line still reads
// as a pass once its program is whole.
TEST(JobLine, ReadsAnyPrefixAndAnyBytes) {
  const std::string pass =
      R"(@if errorlevel 1 @x264.exe --crf 20 -o "D:\v\a b.mp4" "D:\v\a.avs" 2>&1|teelog.exe "D:\v\a.log")";
  for (size_t cut = 0; cut <= pass.size(); ++cut) {
    const JobLine read = ReadJobLine(pass.substr(0, cut));
    if (cut >= pass.find("x264.exe") + 8) {
      EXPECT_EQ(read.step, Step::Pass) << cut;
    }
    RunByTeelog(read, pass.substr(0, cut));
    (void)read.writes();
  }
  std::mt19937 random(28);
  const std::string alphabet = "@ \t\"%^|&<>:()2eifx264.exnotrlv-\\";
  for (int n = 0; n < 20000; ++n) {
    std::string line(random() % 40, ' ');
    for (char& c : line)
      c = random() % 4 ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
    const JobLine read = ReadJobLine(line);
    for (const LineCommand& command : read.commands) EXPECT_FALSE(command.program.empty());
    (void)read.writes();
    RunByTeelog(read, line);
  }
}

}  // namespace
