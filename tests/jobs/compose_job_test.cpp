#include "jobs/compose_job.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "job_test_window.h"
#include "ui/control_id.h"

namespace {

using job_test::JobLines;
using Lines = std::vector<std::string>;

class ComposeJobTest : public ::testing::Test, protected job_test::ExampleWindow {
 protected:
  ComposeJobTest() { job_test::ApplyExampleAudio(window); }

  // What "Add" queues: the job frame around the body.
  Lines add() {
    window.addItem(cid::jobList, "@echo.");
    ComposeJob(window, media);
    window.addItem(cid::jobList, "@echo+");
    return JobLines(window);
  }

  Lines compose(int mode) {
    window.clearItems(cid::jobList);
    window.setState(cid::mode, mode);
    ComposeJob(window, media);
    return JobLines(window);
  }
};

// The lines around the passes under the example settings with audio on.
const std::string kInputLine = R"(@echo Input:"D:\enc\clip.avs")";
const std::string kOutputLine = R"(@echo Output:"D:\enc\clip.mp4")";
const std::string kNero =
    R"~(@bepipe.exe --script "import(^D:\enc\clip.avs^)" | neroaacenc.exe -if - -of "D:\enc\clip.audio.mp4" -ignorelength -cbr 64000)~";
const std::string kMp4BoxAdd = R"(@mp4box.exe -add "D:\enc\clip.audio.mp4" "D:\enc\clip.mp4")";
const std::string kMp4BoxClean = R"(@if not errorlevel 1 del "D:\enc\clip.audio.mp4")";
const std::string kSizeCheck = R"(@gaugit.exe 90 110 "D:\enc\clip.mp4")";

struct ModeJob {
  int mode;
  Lines lines;
};

// ---------------------------------------------------------------------------
// The lines of every mode, audio on ("Nero", 64 kbit/s, "MP4Box").

TEST_F(ComposeJobTest, EveryModeQueuesItsPassesAudioAndMux) {
  namespace l = job_test::line;
  const ModeJob cases[] = {
      {0,
       {kInputLine, kOutputLine, "@echo Encode Mode:Single Pass - Bitrate", l::kMode0, kNero,
        kMp4BoxAdd, kMp4BoxClean}},
      {1,
       {kInputLine, kOutputLine, "@echo Encode Mode:Single Pass - Quantizer", l::kMode1, kNero,
        kMp4BoxAdd, kMp4BoxClean}},
      {2,
       {kInputLine, kOutputLine, "@echo Encode Mode:Single Pass - CRF", l::kMode2, kNero,
        kMp4BoxAdd, kMp4BoxClean}},
      {3, {kInputLine, kOutputLine, "@echo Encode Mode:Mutipass - First Pass", l::kMode3}},
      {4, {kInputLine, kOutputLine, "@echo Encode Mode:Mutipass - First Pass(fast)", l::kMode4}},
      {5,
       {kInputLine, kOutputLine, "@echo Encode Mode:Mutipass - Nth pass", l::kMode5, kNero,
        kMp4BoxAdd, kMp4BoxClean}},
      {6,
       {kInputLine, kOutputLine, "@echo Encode Mode:Automated Double Passes", l::kMode3, l::kMode5,
        kNero, kMp4BoxAdd, kMp4BoxClean}},
      {7,
       {kInputLine, kOutputLine, "@echo Encode Mode:Automated Double Passes(fast)", l::kMode4,
        l::kMode5, kNero, kMp4BoxAdd, kMp4BoxClean}},
      {8, {kInputLine, kOutputLine, "@echo Encode Mode:Mutipass - First Pass(CRF)", l::kMode8}},
      {9,
       {kInputLine, kOutputLine, "@echo Encode Mode:Mutipass - First Pass(CRF-fast)", l::kMode9}},
      {10,
       {kInputLine, kOutputLine, "@echo Encode Mode:Automated Double Passes(1P-CRF)",
        l::kMode8AtFirstPassCrf, l::kMode5, kNero, kMp4BoxAdd, kMp4BoxClean}},
      {11,
       {kInputLine, kOutputLine, "@echo Encode Mode:Automated Double Passes(1P-CRF-fast)",
        l::kMode9AtFirstPassCrf, l::kMode5, kNero, kMp4BoxAdd, kMp4BoxClean}},
      {12,
       {kInputLine, kOutputLine, "@echo Encode Mode:Mutipass - First Pass(CRF with output)",
        l::kMode12, kNero, kMp4BoxAdd, kMp4BoxClean}},
      {13,
       {kInputLine, kOutputLine, "@echo Encode Mode:Conditional Double Passes(1P-CRF)",
        l::kMode12AtFirstPassCrf, kSizeCheck, l::kMode13, kNero, kMp4BoxAdd, kMp4BoxClean}},
  };
  for (const ModeJob& c : cases) {
    job_test::ApplyExampleSettings(window);
    EXPECT_EQ(compose(c.mode), c.lines) << "mode " << c.mode;
  }
}

TEST_F(ComposeJobTest, WithAudioOffNoModeQueuesAudio) {
  window.setState(cid::aud, 0);
  const struct {
    int mode;
    size_t passes;
  } cases[] = {{0, 1}, {1, 1}, {2, 1}, {3, 1},  {4, 1},  {5, 1},  {6, 2},
               {7, 2}, {8, 1}, {9, 1}, {10, 2}, {11, 2}, {12, 1}, {13, 3}};
  for (const auto& c : cases) {
    job_test::ApplyExampleSettings(window);
    const Lines lines = compose(c.mode);
    EXPECT_EQ(lines.size(), 3 + c.passes) << "mode " << c.mode;
    for (const std::string& line : lines)
      EXPECT_EQ(line.find("bepipe"), std::string::npos) << "mode " << c.mode;
  }
}

// ---------------------------------------------------------------------------
// The documented whole job, line for line.

TEST_F(ComposeJobTest, WorkedExampleOfAConditionalJob) {
  window.setText(cid::mode, "Conditional Double Passes(1P-CRF)");
  window.setText(cid::input, R"(D:\v\clip.avs)");
  window.setText(cid::output, R"(D:\v\clip.mp4)");
  window.setText(cid::statsfile, R"(D:\v\clip.stats)");
  window.setText(cid::logfile, R"(D:\v\clip.log)");
  window.setText(cid::minsize, "90");
  window.setText(cid::maxsize, "110");
  window.setState(cid::aud, 1);
  window.setText(cid::ae, "Nero");
  window.setText(cid::aub, "64");
  window.setText(cid::muxer, "MP4Box");

  const Lines expected = {
      "@echo.",
      R"(@echo Input:"D:\v\clip.avs")",
      R"(@echo Output:"D:\v\clip.mp4")",
      "@echo Encode Mode:Conditional Double Passes(1P-CRF)",
      R"(@x264.exe --progress --cqm flat --scenecut 40 -I 250 -i 25 --sar 1:1 --threads auto --nr 0 -f 0:0 -b 2 --direct "spatial" --b-adapt 1 --b-bias 0 -w --deadzone-inter 21 --deadzone-intra 11 --aq-mode 1 --aq-strength 1.0 --chroma-qp-offset 0 --psy-rd 1.0:0.0 --stats "D:\v\clip.stats" -p 1 --crf 16 --8x8dct -A p8x8,b8x8,i8x8,i4x4 --ipratio 1.400000 --pbratio 1.300000 -m 5 --me hex --merange 16 -r 1 --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000 --ratetol 1.000000 --vbv-init 0.9 -o "D:\v\clip.mp4" "D:\v\clip.avs" 2>&1|teelog.exe "D:\v\clip.log")",
      R"(@gaugit.exe 90 110 "D:\v\clip.mp4")",
      R"(@if errorlevel 1 @x264.exe --progress --cqm flat --scenecut 40 -I 250 -i 25 --sar 1:1 --threads auto --nr 0 -f 0:0 -b 2 --direct "spatial" --b-adapt 1 --b-bias 0 -w --deadzone-inter 21 --deadzone-intra 11 --aq-mode 1 --aq-strength 1.0 --chroma-qp-offset 0 --psy-rd 1.0:0.0 -p 2 --stats "D:\v\clip.stats" -B 1000 --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000 --ipratio 1.400000 --pbratio 1.300000 --8x8dct -A p8x8,b8x8,i8x8,i4x4 -m 5 --me hex --merange 16 -r 1 --ratetol 1.000000 --vbv-init 0.9 -o "D:\v\clip.mp4" "D:\v\clip.avs" 2>&1|teelog.exe "D:\v\clip.log")",
      R"~(@bepipe.exe --script "import(^D:\v\clip.avs^)" | neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 64000)~",
      R"(@mp4box.exe -add "D:\v\clip.audio.mp4" "D:\v\clip.mp4")",
      R"(@if not errorlevel 1 del "D:\v\clip.audio.mp4")",
      "@echo+",
  };
  EXPECT_EQ(add(), expected);
}

TEST_F(ComposeJobTest, SizeCheckTakesTheLimitsAsTyped) {
  window.setText(cid::minsize, " 9.5");
  window.setText(cid::maxsize, "");
  const Lines lines = compose(13);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[3], job_test::line::kMode12AtFirstPassCrf);
  EXPECT_EQ(lines[4], R"(@gaugit.exe  9.5  "D:\enc\clip.mp4")");
  EXPECT_EQ(lines[5], job_test::line::kMode13);
}

// ---------------------------------------------------------------------------
// The window afterwards: the user's mode, value and audio switch, and the
// four file fields empty.

TEST_F(ComposeJobTest, UserSettingsComeBackAndFileFieldsAreEmptied) {
  for (int mode = 0; mode < 14; ++mode) {
    for (int aud : {0, 1}) {
      job_test::ApplyExampleSettings(window);
      window.setState(cid::aud, aud);
      window.setText(cid::value, "1000");
      window.setText(cid::auto1pcrf, "16");
      compose(mode);
      EXPECT_EQ(window.state(cid::mode), mode) << "mode " << mode << " aud " << aud;
      EXPECT_EQ(window.text(cid::value), "1000") << "mode " << mode << " aud " << aud;
      EXPECT_EQ(window.text(cid::auto1pcrf), "16") << "mode " << mode << " aud " << aud;
      EXPECT_EQ(window.state(cid::aud), aud) << "mode " << mode << " aud " << aud;
      for (ControlId field : {cid::input, cid::output, cid::statsfile, cid::logfile})
        EXPECT_EQ(window.text(field), "") << "field " << field << " mode " << mode;
    }
  }
}

TEST_F(ComposeJobTest, TwoPassModesUseTheFirstPassRateFactorThenTheUserValue) {
  for (int mode : {10, 11, 13}) {
    job_test::ApplyExampleSettings(window);
    const Lines lines = compose(mode);
    const size_t second = mode == 13 ? 5 : 4;
    ASSERT_GT(lines.size(), second) << "mode " << mode;
    EXPECT_NE(lines[3].find(" --crf 16 "), std::string::npos) << "mode " << mode;
    EXPECT_EQ(lines[3].find("1000"), std::string::npos) << "mode " << mode;
    EXPECT_NE(lines[second].find(" -B 1000 "), std::string::npos) << "mode " << mode;
    EXPECT_EQ(window.text(cid::value), "1000");
    EXPECT_EQ(window.state(cid::mode), mode);
  }
}

// ---------------------------------------------------------------------------
// "Audio Only": one audio line, no pass, no mux, whatever the mode and the
// audio switch.

TEST_F(ComposeJobTest, AudioOnlyQueuesTheAudioLineAlone) {
  window.setText(cid::muxer, "Audio Only");
  for (int mode : {0, 5, 6, 7, 10, 11, 13}) {
    for (int aud : {0, 1}) {
      job_test::ApplyExampleSettings(window);
      window.setState(cid::aud, aud);
      window.setState(cid::mode, mode);
      const std::string label = "@echo Encode Mode:" + window.text(cid::mode);
      EXPECT_EQ(compose(mode), (Lines{kInputLine, kOutputLine, label, kNero}))
          << "mode " << mode << " aud " << aud;
      EXPECT_EQ(window.state(cid::mode), mode);
      EXPECT_EQ(window.state(cid::aud), aud);
      EXPECT_EQ(window.text(cid::input), "");
    }
  }
}

TEST_F(ComposeJobTest, AudioOnlyWithCtAacNamesTheAacFile) {
  window.setText(cid::muxer, "Audio Only");
  window.setText(cid::ae, "CT AAC");
  window.setText(cid::output, R"(D:\enc\clip.mkv)");
  const Lines lines = compose(6);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(
      lines[3],
      R"~(@bepipe.exe --script "import(^D:\enc\clip.avs^)" | enc_aacplus.exe - "D:\enc\clip.audio.aac" --cbr 64000)~");
}

// ---------------------------------------------------------------------------
// Nothing is queued without an input or an output.

TEST_F(ComposeJobTest, EmptyInputOrOutputQueuesNothingAndChangesNothing) {
  const struct {
    const char* what;
    std::string_view input;
    std::string_view output;
  } cases[] = {
      {"no output", R"(D:\enc\clip.avs)", ""},
      {"no input", "", R"(D:\enc\clip.mp4)"},
      {"neither", "", ""},
  };
  for (const auto& c : cases) {
    for (int mode : {5, 10, 13}) {
      job_test::ApplyExampleSettings(window);
      window.setText(cid::input, c.input);
      window.setText(cid::output, c.output);
      window.setState(cid::mode, mode);
      window.clearItems(cid::jobList);
      EXPECT_EQ(add(), (Lines{"@echo.", "@echo+"})) << c.what << ", mode " << mode;
      EXPECT_EQ(window.text(cid::input), c.input) << c.what;
      EXPECT_EQ(window.text(cid::output), c.output) << c.what;
      EXPECT_EQ(window.text(cid::statsfile), job_test::kStatsPath) << c.what;
      EXPECT_EQ(window.text(cid::logfile), job_test::kLogPath) << c.what;
      EXPECT_EQ(window.text(cid::value), "1000") << c.what;
      EXPECT_EQ(window.state(cid::mode), mode) << c.what;
    }
  }
}

TEST_F(ComposeJobTest, JobsFollowOneAnother) {
  const Lines first = compose(3);
  ASSERT_EQ(first.size(), 4u);
  job_test::ApplyExampleSettings(window);
  window.setState(cid::mode, 4);
  ComposeJob(window, media);
  const Lines both = JobLines(window);
  ASSERT_EQ(both.size(), 8u);
  EXPECT_EQ(Lines(both.begin(), both.begin() + 4), first);
  EXPECT_EQ(both[6], "@echo Encode Mode:Mutipass - First Pass(fast)");
  EXPECT_EQ(both[7], job_test::line::kMode4);
}

}  // namespace
