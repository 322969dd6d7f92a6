#include "jobs/audio_commands.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/batch_line.h"
#include "settings/settings_value.h"
#include "ui/control_id.h"

namespace {

using Lines = std::vector<std::string>;
using enum AudioEncoder;

class AudioCommands : public ::testing::Test {
 protected:
  AudioCommands() {
    s.input = R"(D:\v\clip.avs)";
    s.output = R"(D:\v\clip.mp4)";
    s.aub = "64";
    s.muxer = Muxer::NoMux;
  }

  BatchCommands commands(AudioEncoder encoder) {
    s.ae = encoder;
    BatchCommands commands;
    AddAudioCommands(s, commands);
    return commands;
  }

  Lines audio(AudioEncoder encoder) {
    Lines lines;
    for (const BatchCommand& command : commands(encoder)) lines.push_back(WriteCommand(command));
    return lines;
  }

  // The field the audio line is refused for; cid::none when it is written.
  ControlId refusedField(AudioEncoder encoder) {
    const std::optional<Refusal> refusal = CheckCommands(commands(encoder));
    return refusal ? refusal->field : cid::none;
  }

  Settings s;
};

constexpr std::string_view kDecoder = R"~(@bepipe.exe --script "import(^D:\v\clip.avs^)" | )~";

constexpr const char* kRefused = nullptr;

TEST_F(AudioCommands, EachEncoderWithItsRate) {
  const struct {
    AudioEncoder encoder;
    std::string_view aub;
    const char* encode;  // the line after the decoder part; kRefused: refused for `aub`
  } cases[] = {
      {CtAac, "64", R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 64000)"},
      {Nero, "64", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 64000)"},
      {NeroAbr, "64", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -br 64000)"},
      {NeroQuality, "64", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -q 64)"},
      {Faac, "64", R"(faac.exe -b 64 - -o "D:\v\clip.audio.mp4")"},
      // The bitrates are whole kbit/s; the quality is a number, FAAC's rate a whole one.
      {CtAac, "0.35", R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 0)"},
      {Nero, "0.35", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 0)"},
      {NeroAbr, "0.35", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -br 0)"},
      {NeroQuality, "0.35",
       R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -q 0.35)"},
      {Faac, "0.35", kRefused},
      {Nero, "96.5", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 96000)"},
      {NeroQuality, "96.5",
       R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -q 96.5)"},
      {NeroAbr, "abc", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -br 0)"},
      {NeroQuality, "abc", kRefused},
      {Faac, "abc", kRefused},
      {CtAac, " 128", R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 128000)"},
      {Nero, "-8", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr -8000)"},
      {Nero, "$40", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 64000)"},
      {CtAac, "", R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 0)"},
  };
  for (const auto& c : cases) {
    s.aub = c.aub;
    if (c.encode == kRefused) {
      EXPECT_EQ(refusedField(c.encoder), cid::aub) << static_cast<int>(c.encoder) << " " << c.aub;
    } else {
      EXPECT_EQ(audio(c.encoder), Lines{std::string(kDecoder) + c.encode})
          << "encoder " << static_cast<int>(c.encoder) << " aub " << c.aub;
    }
  }
}

TEST_F(AudioCommands, TheMuxStepGetsTheAudioFile) {
  s.muxer = Muxer::Mp4Box;
  const struct {
    AudioEncoder encoder;
    std::string_view file;
  } cases[] = {
      {CtAac, R"("D:\v\clip.audio.aac")"},   {Nero, R"("D:\v\clip.audio.mp4")"},
      {NeroAbr, R"("D:\v\clip.audio.mp4")"}, {NeroQuality, R"("D:\v\clip.audio.mp4")"},
      {Faac, R"("D:\v\clip.audio.mp4")"},
  };
  for (const auto& c : cases) {
    const Lines lines = audio(c.encoder);
    ASSERT_EQ(lines.size(), 3u) << "encoder " << static_cast<int>(c.encoder);
    EXPECT_EQ(lines[1], "@mp4box.exe -add " + std::string(c.file) + R"( "D:\v\clip.mp4")");
    EXPECT_EQ(lines[2], "@if errorlevel 0 if not errorlevel 1 del " + std::string(c.file));
  }
}

TEST_F(AudioCommands, NoEncoderNoLines) {
  s.muxer = Muxer::MkvMerge;
  for (int encoder : {-1, 5, 100})
    EXPECT_EQ(audio(static_cast<AudioEncoder>(encoder)), Lines{}) << "encoder " << encoder;
}

TEST_F(AudioCommands, AudioFileSitsBesideTheOutput) {
  const struct {
    std::string_view output;
    AudioEncoder encoder;
    std::string_view file;
  } cases[] = {
      {R"(D:\v\clip.mp4)", CtAac, R"(D:\v\clip.audio.aac)"},
      {R"(D:\v\clip.mp4)", Nero, R"(D:\v\clip.audio.mp4)"},
      {R"(D:\v\clip.mp4)", Faac, R"(D:\v\clip.audio.mp4)"},
      {R"(D:\v\clip.mkv)", CtAac, R"(D:\v\clip.audio.aac)"},
      {R"(D:\v\clip)", Nero, R"(D:\v\clip.audio.mp4)"},
      {R"(D:\v\clip)", CtAac, R"(D:\v\clip.audio.aac)"},
      {R"(D:\v.1\clip)", NeroAbr, R"(D:\v.1\clip.audio.mp4)"},
      {R"(D:/v.1/clip)", NeroAbr, R"(D:/v.1/clip.audio.mp4)"},
      {R"(D:\v\clip.part1.mp4)", NeroQuality, R"(D:\v\clip.part1.audio.mp4)"},
      {R"(D:\v\clip.)", Nero, R"(D:\v\clip.audio.mp4)"},
  };
  for (const auto& c : cases) {
    s.output = c.output;
    s.ae = c.encoder;
    EXPECT_EQ(AudioFile(s), c.file) << c.output << ", encoder " << static_cast<int>(c.encoder);
  }
}

TEST_F(AudioCommands, CtAacWithAMatroskaOutput) {
  s.output = R"(D:\v\clip.mkv)";
  s.muxer = Muxer::MkvMerge;
  const Lines expected = {
      std::string(kDecoder) + R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 64000)",
      R"(@mkvmerge -o "D:\v\clip.muxed.mkv" "D:\v\clip.mkv" "D:\v\clip.audio.aac")",
      R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.aac" "D:\v\clip.mkv")",
      R"(@if errorlevel 0 if not errorlevel 1 if not exist "D:\v\clip.mkv" ren "D:\v\clip.muxed.mkv" "clip.mkv")",
  };
  EXPECT_EQ(audio(CtAac), expected);
}

// The input is imported as it stands; AviSynth reads "^" as a quote, so an
// input holding one is refused.
TEST_F(AudioCommands, TheInputIsImportedAsItStands) {
  s.input = R"(C:\prog\avs\my clip.mkv.avs)";
  const Lines lines = audio(Nero);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(
      lines[0].rfind(R"~(@bepipe.exe --script "import(^C:\prog\avs\my clip.mkv.avs^)" | )~", 0),
      0u);
  s.input = R"(C:\prog\avs\a^b.avs)";
  EXPECT_EQ(refusedField(Nero), cid::input);
}

}  // namespace
