#include "jobs/batch_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "job_test_window.h"
#include "jobs/audio_commands.h"
#include "jobs/compose_job.h"
#include "jobs/pass_command.h"
#include "ui/control_id.h"

namespace {

using job_test::JobLines;
using job_test::Join;
using Lines = std::vector<std::string>;

// ---------------------------------------------------------------------------
// The helper that puts a path into a batch line.

TEST(BatchText, PercentIsDoubledAndNothingElseChanges) {
  const struct {
    std::string_view path;
    std::string_view doubled;
    std::string_view quoted;
  } cases[] = {
      {"", "", R"("")"},
      {R"(D:\v\clip.mp4)", R"(D:\v\clip.mp4)", R"("D:\v\clip.mp4")"},
      {R"(D:\my clips\a b.avs)", R"(D:\my clips\a b.avs)", R"("D:\my clips\a b.avs")"},
      {"%", "%%", R"("%%")"},
      {"%%", "%%%%", R"("%%%%")"},
      {R"(D:\50%\clip.mp4)", R"(D:\50%%\clip.mp4)", R"("D:\50%%\clip.mp4")"},
      {R"(%TEMP%\clip.mp4)", R"(%%TEMP%%\clip.mp4)", R"("%%TEMP%%\clip.mp4")"},
      {R"(D:\a%b%c%)", R"(D:\a%%b%%c%%)", R"("D:\a%%b%%c%%")"},
      {R"(D:\x^&!\c.mp4)", R"(D:\x^&!\c.mp4)", R"("D:\x^&!\c.mp4")"},
      {"D:\\Vid\xC3\xA9o\\%.mp4", "D:\\Vid\xC3\xA9o\\%%.mp4", "\"D:\\Vid\xC3\xA9o\\%%.mp4\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DoublePercent(c.path), c.doubled) << c.path;
    EXPECT_EQ(QuotedPath(c.path), c.quoted) << c.path;
  }
}

// ---------------------------------------------------------------------------
// A "%" in a path is doubled in every kind of line that holds the path.

class PercentInBatchLines : public ::testing::Test, protected job_test::ExampleWindow {
 protected:
  PercentInBatchLines() {
    window.setText(cid::input, R"(D:\50%\clip%1.avs)");
    window.setText(cid::output, R"(D:\50%\a%b.mkv)");
    window.setText(cid::statsfile, R"(C:\prog\stats\%x%.stat)");
    window.setText(cid::logfile, R"(C:\prog\log\%x%.txt)");
    job_test::ApplyExampleAudio(window);
  }
};

namespace pct {
constexpr std::string_view kStats = R"( --stats "C:\prog\stats\%%x%%.stat")";
constexpr std::string_view kOutput = R"( -o "D:\50%%\a%%b.mkv" )";
constexpr std::string_view kInput = R"("D:\50%%\clip%%1.avs")";
constexpr std::string_view kLogPipe = R"( 2>&1|teelog.exe "C:\prog\log\%%x%%.txt")";
}  // namespace pct

TEST_F(PercentInBatchLines, AConditionalJobWithMkvMerge) {
  using namespace job_test::piece;
  window.setText(cid::muxer, "MKVMerge");
  window.setState(cid::mode, 13);
  ComposeJob(window, media);
  const Lines expected = {
      R"(@echo Input:"D:\50%%\clip%%1.avs")",
      R"(@echo Output:"D:\50%%\a%%b.mkv")",
      "@echo Encode Mode:Conditional Double Passes(1P-CRF)",
      Join({kCall, kCommon, pct::kStats, kFirstPass, kFirstPassRateFactor, kPartitions, kRatios,
            kSubme, kSearch, kReferences, kQpLimits, kVbv, pct::kOutput, pct::kInput,
            pct::kLogPipe}),
      R"(@gaugit.exe 90 110 "D:\50%%\a%%b.mkv")",
      Join({kCondition, kCall, kCommon, kLaterPass, pct::kStats, kBitrate, kQpLimits, kRatios,
            kPartitions, kSubme, kSearch, kReferences, kVbv, pct::kOutput, pct::kInput,
            pct::kLogPipe}),
      R"~(@bepipe.exe --script "import(^D:\50%%\clip%%1.avs^)" | neroaacenc.exe -if - -of "D:\50%%\a%%b.audio.mp4" -ignorelength -cbr 64000)~",
      R"(@mkvmerge -o "D:\50%%\a%%b.muxed.mkv" "D:\50%%\a%%b.mkv" "D:\50%%\a%%b.audio.mp4")",
      R"(@if exist "D:\50%%\a%%b.muxed.mkv" del "D:\50%%\a%%b.audio.mp4")",
      R"(@if exist "D:\50%%\a%%b.muxed.mkv" del "D:\50%%\a%%b.mkv")",
      R"(@if exist "D:\50%%\a%%b.muxed.mkv" ren "D:\50%%\a%%b.muxed.mkv" "a%%b.mkv")",
  };
  EXPECT_EQ(JobLines(window), expected);
}

TEST_F(PercentInBatchLines, AFirstPassThatDiscardsItsOutput) {
  using namespace job_test::piece;
  window.setState(cid::mode, 4);
  EXPECT_EQ(
      PassCommandBuilder(window, media),
      Join({kCall, kCommon, kFirstPass, pct::kStats, kBitrate, kQpLimits, kRatios, kNoPartitions,
            kSubmeCap3, kFastSearch, kVbv, kOneReference, kNul, pct::kInput, pct::kLogPipe}));
}

TEST_F(PercentInBatchLines, AudioAndMuxLinesOfEveryMuxer) {
  window.setText(cid::output, R"(D:\50%\a%b.mp4)");
  const std::string aac = R"("D:\50%%\a%%b.audio.aac")";
  const std::string audioLine =
      R"~(@bepipe.exe --script "import(^D:\50%%\clip%%1.avs^)" | enc_aacplus.exe - )~" + aac +
      " --cbr 64000";
  const struct {
    std::string_view muxer;
    Lines lines;
  } cases[] = {
      {"MP4Box",
       {audioLine, R"(@mp4box.exe -add "D:\50%%\a%%b.audio.aac" "D:\50%%\a%%b.mp4")",
        R"(@if not errorlevel 1 del "D:\50%%\a%%b.audio.aac")"}},
      {"MP4Creator",
       {audioLine, R"(@mp4creator.exe -create="D:\50%%\a%%b.audio.aac" "D:\50%%\a%%b.mp4")",
        R"(@if not errorlevel 1 del "D:\50%%\a%%b.audio.aac")"}},
      {"MKVMerge",
       {audioLine, R"(@mkvmerge -o "D:\50%%\a%%b.mkv" "D:\50%%\a%%b.mp4" "D:\50%%\a%%b.audio.aac")",
        R"(@if exist "D:\50%%\a%%b.mkv" del "D:\50%%\a%%b.audio.aac")",
        R"(@if exist "D:\50%%\a%%b.mkv" del "D:\50%%\a%%b.mp4")"}},
      {"No mux", {audioLine}},
  };
  for (const auto& c : cases) {
    window.clearItems(cid::jobList);
    window.setText(cid::muxer, c.muxer);
    AddAudioCommands(window, 0);
    EXPECT_EQ(JobLines(window), c.lines) << c.muxer;
  }
}

TEST_F(PercentInBatchLines, EveryEncoderDoublesTheAudioFile) {
  window.setText(cid::muxer, "No mux");
  const std::string decoder = R"~(@bepipe.exe --script "import(^D:\50%%\clip%%1.avs^)" | )~";
  const struct {
    int encoder;
    std::string_view encode;
  } cases[] = {
      {1, R"(neroaacenc.exe -if - -of "D:\50%%\a%%b.audio.mp4" -ignorelength -cbr 64000)"},
      {2, R"(neroaacenc.exe -if - -of "D:\50%%\a%%b.audio.mp4" -ignorelength -br 64000)"},
      {3, R"(neroaacenc.exe -if - -of "D:\50%%\a%%b.audio.mp4" -ignorelength -q 64)"},
      {4, R"(faac.exe -b 64 - -o "D:\50%%\a%%b.audio.mp4")"},
  };
  for (const auto& c : cases) {
    window.clearItems(cid::jobList);
    AddAudioCommands(window, c.encoder);
    EXPECT_EQ(JobLines(window), Lines{decoder + std::string(c.encode)}) << c.encoder;
  }
}

// The fields keep a single "%": only the lines double it.
TEST_F(PercentInBatchLines, FieldsAreNotChanged) {
  window.setState(cid::mode, 5);
  window.setState(cid::aud, 0);
  AddPassToJobList(window, media);
  EXPECT_EQ(window.text(cid::input), R"(D:\50%\clip%1.avs)");
  EXPECT_EQ(window.text(cid::output), R"(D:\50%\a%b.mkv)");
  EXPECT_EQ(window.text(cid::statsfile), R"(C:\prog\stats\%x%.stat)");
  EXPECT_EQ(window.text(cid::logfile), R"(C:\prog\log\%x%.txt)");
}

}  // namespace
