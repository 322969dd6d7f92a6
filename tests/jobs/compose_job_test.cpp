#include "jobs/compose_job.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "job_test_window.h"
#include "ui/control_id.h"

namespace {

using Lines = JobLines;

class ComposeJobTest : public ::testing::Test, protected job_test::ExampleWindow {
 protected:
  ComposeJobTest() { job_test::ApplyExampleAudio(window); }

  // The lines of a job in `mode` that is not refused.
  Lines compose(int mode) {
    const ComposedJob job = ComposeJob(settings(mode), media);
    EXPECT_FALSE(job.refusal) << "mode " << mode << " refused " << job.refusal->field;
    return job.lines;
  }
};

// The lines around the passes under the example settings with audio on.
const std::string kInputLine = R"(@echo Input:"D:\enc\clip.avs")";
const std::string kOutputLine = R"(@echo Output:"D:\enc\clip.mp4")";
const std::string kNero =
    R"~(@bepipe.exe --script "import(^D:\enc\clip.avs^)" | neroaacenc.exe -if - -of "D:\enc\clip.audio.mp4" -ignorelength -cbr 64000)~";
const std::string kMp4BoxAdd = R"(@mp4box.exe -add "D:\enc\clip.audio.mp4" "D:\enc\clip.mp4")";
const std::string kMp4BoxClean =
    R"(@if errorlevel 0 if not errorlevel 1 del "D:\enc\clip.audio.mp4")";
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
  for (const ModeJob& c : cases) EXPECT_EQ(compose(c.mode), c.lines) << "mode " << c.mode;
}

TEST_F(ComposeJobTest, WithAudioOffNoModeQueuesAudio) {
  window.setState(cid::aud, 0);
  const struct {
    int mode;
    size_t passes;
  } cases[] = {{0, 1}, {1, 1}, {2, 1}, {3, 1},  {4, 1},  {5, 1},  {6, 2},
               {7, 2}, {8, 1}, {9, 1}, {10, 2}, {11, 2}, {12, 1}, {13, 3}};
  for (const auto& c : cases) {
    const Lines lines = compose(c.mode);
    EXPECT_EQ(lines.size(), 3 + c.passes) << "mode " << c.mode;
    for (const std::string& line : lines)
      EXPECT_EQ(line.find("bepipe"), std::string::npos) << "mode " << c.mode;
  }
}

// ---------------------------------------------------------------------------
// A whole job, line for line.

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
      R"(@echo Input:"D:\v\clip.avs")",
      R"(@echo Output:"D:\v\clip.mp4")",
      "@echo Encode Mode:Conditional Double Passes(1P-CRF)",
      R"(@x264.exe --progress --cqm flat --scenecut 40 -I 250 -i 25 --sar 1:1 --threads auto --nr 0 -f 0:0 -b 2 --direct "spatial" --b-adapt 1 --b-bias 0 -w --deadzone-inter 21 --deadzone-intra 11 --aq-mode 1 --aq-strength 1.0 --chroma-qp-offset 0 --psy-rd 1.0:0.0 --stats "D:\v\clip.stats" -p 1 --crf 16 --8x8dct -A p8x8,b8x8,i8x8,i4x4 --ipratio 1.400000 --pbratio 1.300000 -m 5 --me hex --merange 16 -r 1 --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000 --ratetol 1.000000 --vbv-init 0.9 -o "D:\v\clip.mp4" "D:\v\clip.avs" 2>&1|teelog.exe "D:\v\clip.log")",
      R"(@gaugit.exe 90 110 "D:\v\clip.mp4")",
      R"(@if errorlevel 1 @x264.exe --progress --cqm flat --scenecut 40 -I 250 -i 25 --sar 1:1 --threads auto --nr 0 -f 0:0 -b 2 --direct "spatial" --b-adapt 1 --b-bias 0 -w --deadzone-inter 21 --deadzone-intra 11 --aq-mode 1 --aq-strength 1.0 --chroma-qp-offset 0 --psy-rd 1.0:0.0 -p 2 --stats "D:\v\clip.stats" -B 1000 --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000 --ipratio 1.400000 --pbratio 1.300000 --8x8dct -A p8x8,b8x8,i8x8,i4x4 -m 5 --me hex --merange 16 -r 1 --ratetol 1.000000 --vbv-init 0.9 -o "D:\v\clip.mp4" "D:\v\clip.avs" 2>&1|teelog.exe "D:\v\clip.log")",
      R"~(@bepipe.exe --script "import(^D:\v\clip.avs^)" | neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 64000)~",
      R"(@mp4box.exe -add "D:\v\clip.audio.mp4" "D:\v\clip.mp4")",
      R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4")",
  };
  const ComposedJob job = ComposeJob(ReadSettings(window), media);
  EXPECT_EQ(job.lines, expected);
  EXPECT_FALSE(job.refusal);
}

// The size check takes the limits as they are typed; a limit that is no
// number refuses the whole job, naming its field.
TEST_F(ComposeJobTest, SizeCheckLimitsAreWrittenOrRefused) {
  const struct {
    std::string_view minsize;
    std::string_view maxsize;
    ControlId refused;
    std::string_view check;
  } cases[] = {
      {"9.5", "110", cid::none, R"(@gaugit.exe 9.5 110 "D:\enc\clip.mp4")"},
      {" 9.5", "110", cid::minsize, ""},
      {"90", "", cid::maxsize, ""},
      {"90", "1 & calc", cid::maxsize, ""},
  };
  for (const auto& c : cases) {
    window.setText(cid::minsize, c.minsize);
    window.setText(cid::maxsize, c.maxsize);
    const ComposedJob job = ComposeJob(settings(13), media);
    if (c.refused == cid::none) {
      EXPECT_FALSE(job.refusal);
      ASSERT_EQ(job.lines.size(), 9u);
      EXPECT_EQ(job.lines[3], job_test::line::kMode12AtFirstPassCrf);
      EXPECT_EQ(job.lines[4], c.check);
      EXPECT_EQ(job.lines[5], job_test::line::kMode13);
    } else {
      EXPECT_TRUE(job.lines.empty()) << c.minsize << " " << c.maxsize;
      ASSERT_TRUE(job.refusal) << c.minsize << " " << c.maxsize;
      EXPECT_EQ(job.refusal->field, c.refused) << c.minsize << " " << c.maxsize;
    }
  }
}

TEST_F(ComposeJobTest, TwoPassModesUseTheFirstPassRateFactorThenTheUserValue) {
  for (int mode : {10, 11, 13}) {
    window.setText(cid::auto1pcrf, "16");
    const Lines lines = compose(mode);
    const size_t second = mode == 13 ? 5 : 4;
    ASSERT_GT(lines.size(), second) << "mode " << mode;
    EXPECT_NE(lines[3].find(" --crf 16 "), std::string::npos) << "mode " << mode;
    EXPECT_EQ(lines[3].find("1000"), std::string::npos) << "mode " << mode;
    EXPECT_NE(lines[second].find(" -B 1000 "), std::string::npos) << "mode " << mode;
    // A first-pass rate factor that is no number is refused under its own name.
    window.setText(cid::auto1pcrf, "16 & x");
    const ComposedJob refused = ComposeJob(settings(mode), media);
    EXPECT_TRUE(refused.lines.empty()) << "mode " << mode;
    ASSERT_TRUE(refused.refusal) << "mode " << mode;
    EXPECT_EQ(refused.refusal->field, cid::auto1pcrf) << "mode " << mode;
  }
}

// ---------------------------------------------------------------------------
// "Audio Only": one audio line, no pass, no mux, whatever the mode and the
// audio switch.

TEST_F(ComposeJobTest, AudioOnlyQueuesTheAudioLineAlone) {
  window.setText(cid::muxer, "Audio Only");
  for (int mode : {0, 5, 6, 7, 10, 11, 13}) {
    for (int aud : {0, 1}) {
      window.setState(cid::aud, aud);
      const std::string label =
          "@echo Encode Mode:" + std::string(EncodeModeName(static_cast<EncodeMode>(mode)));
      EXPECT_EQ(compose(mode), (Lines{kInputLine, kOutputLine, label, kNero}))
          << "mode " << mode << " aud " << aud;
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
// Nothing is composed without an input or an output.

TEST_F(ComposeJobTest, EmptyInputOrOutputComposesNothing) {
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
    window.setText(cid::input, c.input);
    window.setText(cid::output, c.output);
    for (int mode : {5, 10, 13}) {
      const ComposedJob job = ComposeJob(settings(mode), media);
      EXPECT_TRUE(job.lines.empty()) << c.what << ", mode " << mode;
      EXPECT_FALSE(job.refusal) << c.what << ", mode " << mode;
    }
  }
}

// The settings are checked before any file is chosen: stand-in names take
// the place of the empty file fields.
TEST_F(ComposeJobTest, CheckSettingsRefusesWhatNoJobCouldHold) {
  for (ControlId field : {cid::input, cid::output, cid::statsfile, cid::logfile})
    window.setText(field, "");
  for (int mode = 0; mode < 14; ++mode) EXPECT_FALSE(CheckSettings(settings(mode))) << mode;
  window.setText(cid::value, "1000 & x");
  const std::optional<Refusal> refusal = CheckSettings(settings(5));
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->field, cid::value);
  EXPECT_EQ(refusal->text, "1000 & x");
}

// A "%" in any file name is doubled in every line that names the file.
TEST_F(ComposeJobTest, EveryLineDoublesThePercentOfItsFiles) {
  window.setText(cid::input, R"(D:\50%\clip%1.avs)");
  window.setText(cid::output, R"(D:\50%\a%b.mkv)");
  window.setText(cid::statsfile, R"(C:\prog\stats\%x%.stat)");
  window.setText(cid::logfile, R"(C:\prog\log\%x%.txt)");
  window.setText(cid::muxer, "MKVMerge");
  const Lines lines = compose(13);
  ASSERT_EQ(lines.size(), 10u);
  for (const std::string& line : lines) {
    std::string rest = line;
    for (size_t at = rest.find("%%"); at != std::string::npos; at = rest.find("%%", at))
      rest.erase(at, 2);
    EXPECT_EQ(rest.find('%'), std::string::npos) << line;
    if (line.rfind("@echo Encode Mode:", 0) != 0) {
      EXPECT_NE(line.find("%%"), std::string::npos) << line;
    }
  }
}

}  // namespace
