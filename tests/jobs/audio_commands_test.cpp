#include "jobs/audio_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/startup.h"
#include "job_test_window.h"
#include "ui/control_id.h"
#include "ui/memory_window.h"

namespace {

using job_test::JobLines;
using Lines = std::vector<std::string>;

class AudioCommands : public ::testing::Test {
 protected:
  AudioCommands() {
    FillFixedLists(window);
    window.setText(cid::input, R"(D:\v\clip.avs)");
    window.setText(cid::output, R"(D:\v\clip.mp4)");
    window.setText(cid::aub, "64");
    window.setText(cid::muxer, "No mux");
  }

  Lines audio(int encoder) {
    window.clearItems(cid::jobList);
    AddAudioCommands(window, encoder);
    return JobLines(window);
  }

  MemoryWindow window;
};

constexpr std::string_view kDecoder = R"~(@bepipe.exe --script "import(^D:\v\clip.avs^)" | )~";

struct EncoderCase {
  int encoder;
  std::string_view aub;
  std::string_view encode;  // the line after the decoder part
};

TEST_F(AudioCommands, EachEncoderWithItsRate) {
  const EncoderCase cases[] = {
      {0, "64", R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 64000)"},
      {1, "64", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 64000)"},
      {2, "64", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -br 64000)"},
      {3, "64", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -q 64)"},
      {4, "64", R"(faac.exe -b 64 - -o "D:\v\clip.audio.mp4")"},
      // The bitrates are whole kbit/s; quality and FAAC take the text.
      {0, "0.35", R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 0)"},
      {1, "0.35", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 0)"},
      {2, "0.35", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -br 0)"},
      {3, "0.35", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -q 0.35)"},
      {4, "0.35", R"(faac.exe -b 0.35 - -o "D:\v\clip.audio.mp4")"},
      {1, "96.5", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 96000)"},
      {3, "96.5", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -q 96.5)"},
      {2, "abc", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -br 0)"},
      {4, "abc", R"(faac.exe -b abc - -o "D:\v\clip.audio.mp4")"},
      {0, " 128", R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 128000)"},
      {1, "-8", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr -8000)"},
      {1, "$40", R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 64000)"},
      {0, "", R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 0)"},
  };
  for (const EncoderCase& c : cases) {
    window.setText(cid::aub, c.aub);
    EXPECT_EQ(audio(c.encoder), Lines{std::string(kDecoder) + std::string(c.encode)})
        << "encoder " << c.encoder << " aub " << c.aub;
  }
}

TEST_F(AudioCommands, TheMuxStepGetsTheAudioFile) {
  window.setText(cid::muxer, "MP4Box");
  const struct {
    int encoder;
    std::string_view file;
  } cases[] = {
      {0, R"("D:\v\clip.audio.aac")"}, {1, R"("D:\v\clip.audio.mp4")"},
      {2, R"("D:\v\clip.audio.mp4")"}, {3, R"("D:\v\clip.audio.mp4")"},
      {4, R"("D:\v\clip.audio.mp4")"},
  };
  for (const auto& c : cases) {
    const Lines lines = audio(c.encoder);
    ASSERT_EQ(lines.size(), 3u) << "encoder " << c.encoder;
    EXPECT_EQ(lines[1], "@mp4box.exe -add " + std::string(c.file) + R"( "D:\v\clip.mp4")");
    EXPECT_EQ(lines[2], "@if not errorlevel 1 del " + std::string(c.file));
  }
}

TEST_F(AudioCommands, NoEncoderNoLines) {
  window.setText(cid::muxer, "MKVMerge");
  for (int encoder : {-1, 5, 100}) EXPECT_EQ(audio(encoder), Lines{}) << "encoder " << encoder;
}

TEST_F(AudioCommands, AudioFileSitsBesideTheOutput) {
  const struct {
    std::string_view output;
    int encoder;
    std::string_view file;
  } cases[] = {
      {R"(D:\v\clip.mp4)", 0, R"(D:\v\clip.audio.aac)"},
      {R"(D:\v\clip.mp4)", 1, R"(D:\v\clip.audio.mp4)"},
      {R"(D:\v\clip.mp4)", 4, R"(D:\v\clip.audio.mp4)"},
      {R"(D:\v\clip.mkv)", 0, R"(D:\v\clip.audio.aac)"},
      {R"(D:\v\clip)", 1, R"(D:\v\clip.audio.mp4)"},
      {R"(D:\v\clip)", 0, R"(D:\v\clip.audio.aac)"},
      {R"(D:\v.1\clip)", 2, R"(D:\v.1\clip.audio.mp4)"},
      {R"(D:/v.1/clip)", 2, R"(D:/v.1/clip.audio.mp4)"},
      {R"(D:\v\clip.part1.mp4)", 3, R"(D:\v\clip.part1.audio.mp4)"},
      {R"(D:\v\clip.)", 1, R"(D:\v\clip.audio.mp4)"},
  };
  for (const auto& c : cases) {
    window.setText(cid::output, c.output);
    EXPECT_EQ(AudioFile(window, c.encoder), c.file) << c.output << ", encoder " << c.encoder;
  }
}

TEST_F(AudioCommands, OutputsWithoutADotInTheFileName) {
  window.setText(cid::output, R"(D:\v\clip)");
  EXPECT_EQ(audio(1),
            Lines{std::string(kDecoder) +
                  R"(neroaacenc.exe -if - -of "D:\v\clip.audio.mp4" -ignorelength -cbr 64000)"});
  window.setText(cid::output, R"(D:\v.x\clip)");
  EXPECT_EQ(audio(4),
            Lines{std::string(kDecoder) + R"(faac.exe -b 64 - -o "D:\v.x\clip.audio.mp4")"});
}

TEST_F(AudioCommands, CtAacWithAMatroskaOutput) {
  window.setText(cid::output, R"(D:\v\clip.mkv)");
  window.setText(cid::muxer, "MKVMerge");
  const Lines expected = {
      std::string(kDecoder) + R"(enc_aacplus.exe - "D:\v\clip.audio.aac" --cbr 64000)",
      R"(@mkvmerge -o "D:\v\clip.muxed.mkv" "D:\v\clip.mkv" "D:\v\clip.audio.aac")",
      R"(@if exist "D:\v\clip.muxed.mkv" del "D:\v\clip.audio.aac")",
      R"(@if exist "D:\v\clip.muxed.mkv" del "D:\v\clip.mkv")",
      R"(@if exist "D:\v\clip.muxed.mkv" ren "D:\v\clip.muxed.mkv" "clip.mkv")",
  };
  EXPECT_EQ(audio(0), expected);
}

TEST_F(AudioCommands, TheInputIsImportedAsItStands) {
  window.setText(cid::input, R"(C:\prog\avs\my clip.mkv.avs)");
  const Lines lines = audio(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(
      lines[0].rfind(R"~(@bepipe.exe --script "import(^C:\prog\avs\my clip.mkv.avs^)" | )~", 0),
      0u);
}

}  // namespace
