#include "jobs/pass_command.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "job_test_window.h"
#include "jobs/batch_line.h"
#include "ui/control_id.h"

namespace {

using job_test::Join;

class PassCommand : public ::testing::Test, protected job_test::ExampleWindow {
 protected:
  std::string build(int mode) { return PassCommandBuilder(settings(mode), media); }
};

// ---------------------------------------------------------------------------
// Two whole lines, byte for byte.

constexpr std::string_view kWorkedMode5 =
    R"(@x264.exe --progress --cqm flat --scenecut 40 -I 250 -i 25 --sar 1:1 --threads auto --nr 0 -f 0:0 -b 2 --direct "spatial" --b-adapt 1 --b-bias 0 -w --deadzone-inter 21 --deadzone-intra 11 --aq-mode 1 --aq-strength 1.0 --chroma-qp-offset 0 --psy-rd 1.0:0.0 -p 2 --stats "D:\enc\clip.stats" -B 1000 --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000 --ipratio 1.400000 --pbratio 1.300000 --8x8dct -A p8x8,b8x8,i8x8,i4x4 -m 5 --me hex --merange 16 -r 1 --ratetol 1.000000 --vbv-init 0.9 -o "D:\enc\clip.mp4" "D:\enc\clip.avs" 2>&1|teelog.exe "D:\enc\clip.log")";

constexpr std::string_view kWorkedMode4 =
    R"(@x264.exe --progress --cqm flat --scenecut 40 -I 250 -i 25 --sar 1:1 --threads auto --nr 0 -f 0:0 -b 2 --direct "spatial" --b-adapt 1 --b-bias 0 -w --deadzone-inter 21 --deadzone-intra 11 --aq-mode 1 --aq-strength 1.0 --chroma-qp-offset 0 --psy-rd 1.0:0.0 -p 1 --stats "D:\enc\clip.stats" -B 1000 --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000 --ipratio 1.400000 --pbratio 1.300000 -A none -m 3 --me hex --merange 16 --ratetol 1.000000 --vbv-init 0.9 -r 1 -o nul "D:\enc\clip.avs" 2>&1|teelog.exe "D:\enc\clip.log")";

TEST_F(PassCommand, WorkedExampleLines) {
  EXPECT_EQ(build(5), kWorkedMode5);
  EXPECT_EQ(build(4), kWorkedMode4);
  EXPECT_EQ(build(13), "@if errorlevel 1 " + std::string(kWorkedMode5));
  EXPECT_TRUE(media.probed.empty()) << "no clip is opened outside size mode";
}

// ---------------------------------------------------------------------------
// Every single-run mode, under the example settings.

struct ModeLine {
  int mode;
  const std::string& line;
};

TEST_F(PassCommand, EveryModeUnderTheExampleSettings) {
  const ModeLine cases[] = {
      {0, job_test::line::kMode0},   {1, job_test::line::kMode1}, {2, job_test::line::kMode2},
      {3, job_test::line::kMode3},   {4, job_test::line::kMode4}, {5, job_test::line::kMode5},
      {8, job_test::line::kMode8},   {9, job_test::line::kMode9}, {12, job_test::line::kMode12},
      {13, job_test::line::kMode13},
  };
  for (const ModeLine& c : cases) EXPECT_EQ(build(c.mode), c.line) << "mode " << c.mode;
}

// ---------------------------------------------------------------------------
// Settings under which every reduced group differs from its full one, so
// that each mode shows which variant it calls: all partitions, subpixel
// level 9, exhaustive search, three references, no chroma motion
// estimation, trellis 2, VBV buffer and maximum rate, "Update Statsfile"
// ticked and no log file; a few common switches differ as well.

namespace contrast {
constexpr std::string_view kCall = "@x264.exe --progress";
constexpr std::string_view kCommon =
    R"( --no-psnr --no-ssim --cqm jvt --mixed-refs --scenecut 40 -I 250 -i 25 --sar 1:1)"
    R"( --threads 2 --nr 0 --no-deblock -b 0 --deadzone-inter 21 --deadzone-intra 11 --aq-mode 0)"
    R"( --chroma-qp-offset 0 --level 4.1 --psy-rd 1.0:0.0)";
constexpr std::string_view kFirstPass = " -p 1";
constexpr std::string_view kLaterPass = " -p 3";
constexpr std::string_view kStats = R"( --stats "D:\enc\clip.stats")";
constexpr std::string_view kBitrate = " -B 1000";
constexpr std::string_view kQuantizer = " -q 1000";
constexpr std::string_view kRateFactor = " --crf 1000";
constexpr std::string_view kQpLimits = " --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000";
constexpr std::string_view kRatios = " --ipratio 1.400000 --pbratio 1.300000";
constexpr std::string_view kPartitions = " --8x8dct -A p8x8,p4x4,b8x8,i8x8,i4x4";
constexpr std::string_view kFirstPassPartitions = " -A p8x8,i4x4";
constexpr std::string_view kNoPartitions = " -A none";
constexpr std::string_view kSubme = " -m 9";
constexpr std::string_view kSubmeCap6 = " -m 6";
constexpr std::string_view kSubmeCap3 = " -m 3";
constexpr std::string_view kSearch = " --me esa --merange 16";
constexpr std::string_view kFastSearch = " --me hex --merange 16";
constexpr std::string_view kVbv =
    " --ratetol 1.000000 --vbv-init 0.9 --vbv-bufsize 500 --vbv-maxrate 800";
constexpr std::string_view kVbvNoRatetol = " --vbv-init 0.9 --vbv-bufsize 500 --vbv-maxrate 800";
constexpr std::string_view kReferences = " -r 3";
constexpr std::string_view kOneReference = " -r 1";
constexpr std::string_view kNoChromaMe = " --no-chroma-me";
constexpr std::string_view kTrellis = " -t 2";
constexpr std::string_view kOutput = R"( -o "D:\enc\clip.mp4" )";
constexpr std::string_view kNul = " -o nul ";
constexpr std::string_view kInput = R"("D:\enc\clip.avs")";
constexpr std::string_view kCondition = "@if errorlevel 1 ";
}  // namespace contrast

void ApplyContrastSettings(Window& w) {
  for (ControlId box : {cid::a1, cid::a2, cid::a3, cid::a4, cid::a5, cid::a6}) w.setState(box, 1);
  w.setState(cid::m, 8);
  w.setText(cid::ms, "Exhaustive Search");
  w.setText(cid::ref, "3");
  w.setState(cid::mxref, 1);
  w.setState(cid::chromame, 0);
  w.setText(cid::tre, "2");
  w.setText(cid::vbs, "500");
  w.setText(cid::vmb, "800");
  w.setState(cid::upstat, 1);
  w.setState(cid::crelog, 0);
  w.setState(cid::psnr, 0);
  w.setState(cid::ssim, 0);
  w.setText(cid::cqm, "jvt");
  w.setText(cid::thr, "2");
  w.setState(cid::fil, 0);
  w.setText(cid::mb, "0");
  w.setText(cid::aq, "Disable");
  w.setText(cid::level, "Level 4.1");
}

TEST_F(PassCommand, EachModeCallsItsOwnVariantOfEveryGroup) {
  using namespace contrast;
  ApplyContrastSettings(window);
  const std::string mode5 =
      Join({kCall, kCommon, kLaterPass, kStats, kBitrate, kQpLimits, kRatios, kNoChromaMe,
            kPartitions, kSubme, kSearch, kReferences, kVbv, kTrellis, kOutput, kInput});
  const struct {
    int mode;
    std::string line;
  } cases[] = {
      {0, Join({kCall, kCommon, kRatios, kPartitions, kBitrate, kQpLimits, kSubme, kVbv,
                kReferences, kSearch, kTrellis, kOutput, kInput})},
      {1, Join({kCall, kCommon, kQuantizer, kQpLimits, kPartitions, kNoChromaMe, kRatios, kSubme,
                kSearch, kReferences, kTrellis, kOutput, kInput})},
      {2, Join({kCall, kCommon, kRateFactor, kPartitions, kSubme, kSearch, kNoChromaMe, kQpLimits,
                kRatios, kVbvNoRatetol, kReferences, kTrellis, kOutput, kInput})},
      {3, Join({kCall, kCommon, kFirstPass, kStats, kBitrate, kQpLimits, kRatios,
                kFirstPassPartitions, kSubmeCap6, kFastSearch, kVbv, kReferences, kNul, kInput})},
      {4, Join({kCall, kCommon, kFirstPass, kStats, kBitrate, kQpLimits, kRatios, kNoPartitions,
                kSubmeCap3, kFastSearch, kVbv, kOneReference, kNul, kInput})},
      {5, mode5},
      {8, Join({kCall, kCommon, kStats, kFirstPass, kRateFactor, kPartitions, kRatios, kSubmeCap6,
                kFastSearch, kReferences, kQpLimits, kVbv, kNul, kInput})},
      {9, Join({kCall, kCommon, kStats, kFirstPass, kRateFactor, kNoPartitions, kRatios, kSubmeCap3,
                kFastSearch, kOneReference, kQpLimits, kVbv, kNul, kInput})},
      {12, Join({kCall, kCommon, kStats, kFirstPass, kRateFactor, kPartitions, kNoChromaMe, kRatios,
                 kSubme, kSearch, kReferences, kQpLimits, kVbv, kTrellis, kOutput, kInput})},
      {13, Join({kCondition, mode5})},
  };
  for (const auto& c : cases) EXPECT_EQ(build(c.mode), c.line) << "mode " << c.mode;
}

TEST_F(PassCommand, CabacOffIsTheOnlyEntropySwitchOfEveryMode) {
  window.setState(cid::cab, 0);
  window.setText(cid::tre, "2");
  for (int mode : {0, 1, 2, 3, 4, 5, 8, 9, 12, 13}) {
    const std::string line = build(mode);
    const size_t at = line.find(" --no-cabac");
    ASSERT_NE(at, std::string::npos) << "mode " << mode;
    EXPECT_EQ(line.find(" --no-cabac", at + 1), std::string::npos) << "mode " << mode;
    EXPECT_EQ(line.find(" -t "), std::string::npos) << "mode " << mode;
  }
}

// ---------------------------------------------------------------------------
// Paths are taken as they are; a field that is not well formed for its
// argument refuses the line and is named.

constexpr const char* kRefused = nullptr;

TEST_F(PassCommand, FieldsAreWrittenOrRefused) {
  const struct {
    int mode;
    ControlId field;
    std::string_view text;
    const char* piece;  // found in the line; kRefused: the line is refused for `field`
  } cases[] = {
      {0, cid::input, R"(D:\my clips\a b.avs)",
       R"( -o "D:\enc\clip.mp4" "D:\my clips\a b.avs" 2>&1|teelog.exe "D:\enc\clip.log")"},
      {4, cid::input, "", kRefused},
      {12, cid::output, "", kRefused},
      {4, cid::output, "", R"( -o nul "D:\enc\clip.avs")"},
      // An empty log or stats field leaves out the log pipe, or x264 its own
      // statistics file.
      {5, cid::logfile, "", R"( -o "D:\enc\clip.mp4" "D:\enc\clip.avs")"},
      {5, cid::statsfile, "", R"( -p 2 -B 1000 --qpmin)"},
      {2, cid::value, "18.5", " --psy-rd 1.0:0.0 --crf 18.5 --8x8dct"},
      {1, cid::value, "abc", kRefused},
      {0, cid::value, "", kRefused},
      {5, cid::value, "1500.7", kRefused},
  };
  for (const auto& c : cases) {
    job_test::ApplyExampleSettings(window);
    window.setText(c.field, c.text);
    const BatchCommand command = ::PassCommand(settings(c.mode), media);
    const std::optional<Refusal> refusal = CheckCommand(command);
    const ControlId refused = refusal ? refusal->field : cid::none;
    if (c.piece == kRefused) {
      EXPECT_EQ(refused, c.field) << "mode " << c.mode << " text " << c.text;
    } else {
      ASSERT_EQ(refused, cid::none) << "mode " << c.mode << " text " << c.text;
      const std::string line = WriteCommand(command);
      EXPECT_NE(line.find(c.piece), std::string::npos) << "mode " << c.mode << ": " << line;
    }
  }
}

TEST_F(PassCommand, WithoutLogTheLineEndsWithTheInput) {
  window.setState(cid::crelog, 0);
  for (int mode : {0, 1, 2, 3, 4, 5, 8, 9, 12, 13}) {
    const std::string line = build(mode);
    const std::string_view tail = R"( "D:\enc\clip.avs")";
    ASSERT_GE(line.size(), tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail) << "mode " << mode;
    EXPECT_EQ(line.find("teelog"), std::string::npos) << "mode " << mode;
  }
}

TEST_F(PassCommand, SizeModeDerivesTheBitrateFromTheInputClip) {
  window.setState(cid::sizemode, 1);
  window.setText(cid::value, "100");
  window.setText(cid::aub, "64");
  media.clips[R"(D:\enc\clip.avs)"] = ClipInfo{750, 30000};
  Settings s = settings(5);
  s.aud = true;
  EXPECT_NE(PassCommandBuilder(s, media).find(R"(--stats "D:\enc\clip.stats" -B 27840 --qpmin)"),
            std::string::npos);
  s = settings(3);
  EXPECT_NE(PassCommandBuilder(s, media).find(R"(--stats "D:\enc\clip.stats" -B 27906 --qpmin)"),
            std::string::npos);
  // An input that cannot be opened: no bitrate switch, the line is built.
  s = settings(5);
  s.input = R"(D:\enc\missing.avs)";
  EXPECT_NE(PassCommandBuilder(s, media).find(R"(--stats "D:\enc\clip.stats" --qpmin)"),
            std::string::npos);
  EXPECT_EQ(media.probed.back(), R"(D:\enc\missing.avs)");
}

// ---------------------------------------------------------------------------
// AppendPass: the pass line, then audio where the mode writes video.

constexpr std::string_view kNeroLine =
    R"~(@bepipe.exe --script "import(^D:\enc\clip.avs^)" | neroaacenc.exe -if - -of "D:\enc\clip.audio.mp4" -ignorelength -cbr 64000)~";
constexpr std::string_view kMp4BoxAdd =
    R"(@mp4box.exe -add "D:\enc\clip.audio.mp4" "D:\enc\clip.mp4")";
constexpr std::string_view kMp4BoxClean =
    R"(@if errorlevel 0 if not errorlevel 1 del "D:\enc\clip.audio.mp4")";

TEST_F(PassCommand, AudioFollowsOnlyPassesThatWriteTheOutput) {
  const struct {
    int mode;
    const std::string& line;
    bool audio;
  } cases[] = {
      {0, job_test::line::kMode0, true},   {1, job_test::line::kMode1, true},
      {2, job_test::line::kMode2, true},   {3, job_test::line::kMode3, false},
      {4, job_test::line::kMode4, false},  {5, job_test::line::kMode5, true},
      {8, job_test::line::kMode8, false},  {9, job_test::line::kMode9, false},
      {12, job_test::line::kMode12, true}, {13, job_test::line::kMode13, true},
  };
  job_test::ApplyExampleAudio(window);
  for (const auto& c : cases) {
    for (bool aud : {false, true}) {
      Settings s = settings(c.mode);
      s.aud = aud;
      BatchCommands commands;
      AppendPass(s, media, commands);
      JobLines lines;
      for (const BatchCommand& command : commands) lines.push_back(WriteCommand(command));
      JobLines expected = {c.line};
      if (aud && c.audio)
        expected.insert(expected.end(), {std::string(kNeroLine), std::string(kMp4BoxAdd),
                                         std::string(kMp4BoxClean)});
      EXPECT_EQ(lines, expected) << "mode " << c.mode << " aud " << aud;
    }
  }
}

TEST_F(PassCommand, NoAudioEncoderAppendsThePassAloneAfterTheLinesThere) {
  job_test::ApplyExampleAudio(window);
  window.setState(cid::ae, -1);
  BatchCommands commands = {{"@echo.", {}}};
  AppendPass(settings(5), media, commands);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(WriteCommand(commands[0]), "@echo.");
  EXPECT_EQ(WriteCommand(commands[1]), job_test::line::kMode5);
}

}  // namespace
