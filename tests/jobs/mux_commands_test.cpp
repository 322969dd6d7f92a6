#include "jobs/mux_commands.h"

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

class MuxCommands : public ::testing::Test {
 protected:
  MuxCommands() { FillFixedLists(window); }

  Lines mux(std::string_view muxer, std::string_view output, std::string_view quotedAudio) {
    window.clearItems(cid::jobList);
    window.setText(cid::muxer, muxer);
    window.setText(cid::output, output);
    AddMuxCommands(window, quotedAudio);
    return JobLines(window);
  }

  MemoryWindow window;
};

struct MuxCase {
  std::string_view muxer;
  std::string_view output;
  std::string_view audio;  // in quotes, as the audio step hands it over
  Lines lines;
};

TEST_F(MuxCommands, LinesOfEachMuxer) {
  const MuxCase cases[] = {
      {"MP4Box",
       R"(D:\v\clip.mp4)",
       R"("D:\v\clip.audio.mp4")",
       {R"(@mp4box.exe -add "D:\v\clip.audio.mp4" "D:\v\clip.mp4")",
        R"(@if not errorlevel 1 del "D:\v\clip.audio.mp4")"}},
      {"MP4Creator",
       R"(D:\v\clip.mp4)",
       R"("D:\v\clip.audio.mp4")",
       {R"(@mp4creator.exe -create="D:\v\clip.audio.mp4" "D:\v\clip.mp4")",
        R"(@if not errorlevel 1 del "D:\v\clip.audio.mp4")"}},
      {"MKVMerge",
       R"(D:\v\clip.mp4)",
       R"("D:\v\clip.audio.mp4")",
       {R"(@mkvmerge -o "D:\v\clip.mkv" "D:\v\clip.mp4" "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.mkv" del "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.mkv" del "D:\v\clip.mp4")"}},
      {"No mux", R"(D:\v\clip.mp4)", R"("D:\v\clip.audio.mp4")", {}},
      {"Audio Only", R"(D:\v\clip.mp4)", R"("D:\v\clip.audio.mp4")", {}},
      // The audio file is used as handed over, an .aac one as well.
      {"MP4Box",
       R"(D:\v\clip.mkv)",
       R"("D:\v\clip.audio.aac")",
       {R"(@mp4box.exe -add "D:\v\clip.audio.aac" "D:\v\clip.mkv")",
        R"(@if not errorlevel 1 del "D:\v\clip.audio.aac")"}},
      {"MP4Creator",
       R"(D:\v\clip)",
       R"("D:\v\clip.audio.mp4")",
       {R"(@mp4creator.exe -create="D:\v\clip.audio.mp4" "D:\v\clip")",
        R"(@if not errorlevel 1 del "D:\v\clip.audio.mp4")"}},
  };
  for (const MuxCase& c : cases)
    EXPECT_EQ(mux(c.muxer, c.output, c.audio), c.lines) << c.muxer << " " << c.output;
}

TEST_F(MuxCommands, MkvMergeNamesTheJoinedFileAfterTheOutput) {
  const MuxCase cases[] = {
      {"MKVMerge",
       R"(D:\v\clip)",
       R"("D:\v\clip.audio.mp4")",
       {R"(@mkvmerge -o "D:\v\clip.mkv" "D:\v\clip" "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.mkv" del "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.mkv" del "D:\v\clip")"}},
      // A dot in a folder is no extension, neither is "mkv" there.
      {"MKVMerge",
       R"(D:\v.mkv\clip)",
       R"("D:\v.mkv\clip.audio.mp4")",
       {R"(@mkvmerge -o "D:\v.mkv\clip.mkv" "D:\v.mkv\clip" "D:\v.mkv\clip.audio.mp4")",
        R"(@if exist "D:\v.mkv\clip.mkv" del "D:\v.mkv\clip.audio.mp4")",
        R"(@if exist "D:\v.mkv\clip.mkv" del "D:\v.mkv\clip")"}},
      {"MKVMerge",
       R"(D:\v\clip.mkv.mp4)",
       R"("D:\v\clip.mkv.audio.mp4")",
       {R"(@mkvmerge -o "D:\v\clip.mkv.mkv" "D:\v\clip.mkv.mp4" "D:\v\clip.mkv.audio.mp4")",
        R"(@if exist "D:\v\clip.mkv.mkv" del "D:\v\clip.mkv.audio.mp4")",
        R"(@if exist "D:\v\clip.mkv.mkv" del "D:\v\clip.mkv.mp4")"}},
      {"MKVMerge",
       R"(D:\v\clip.mkvx)",
       R"("D:\v\clip.audio.mp4")",
       {R"(@mkvmerge -o "D:\v\clip.mkv" "D:\v\clip.mkvx" "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.mkv" del "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.mkv" del "D:\v\clip.mkvx")"}},
      {"MKVMerge",
       R"(D:\v\mkv)",
       R"("D:\v\mkv.audio.mp4")",
       {R"(@mkvmerge -o "D:\v\mkv.mkv" "D:\v\mkv" "D:\v\mkv.audio.mp4")",
        R"(@if exist "D:\v\mkv.mkv" del "D:\v\mkv.audio.mp4")",
        R"(@if exist "D:\v\mkv.mkv" del "D:\v\mkv")"}},
  };
  for (const MuxCase& c : cases) EXPECT_EQ(mux(c.muxer, c.output, c.audio), c.lines) << c.output;
}

// An output that is a Matroska file already is not its own target: the
// joined file gets a name of its own and takes the output's name last.
TEST_F(MuxCommands, MkvMergeOntoAMatroskaOutputRenamesTheJoinedFile) {
  const MuxCase cases[] = {
      {"MKVMerge",
       R"(D:\v\clip.mkv)",
       R"("D:\v\clip.audio.mp4")",
       {R"(@mkvmerge -o "D:\v\clip.muxed.mkv" "D:\v\clip.mkv" "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.muxed.mkv" del "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.muxed.mkv" del "D:\v\clip.mkv")",
        R"(@if exist "D:\v\clip.muxed.mkv" ren "D:\v\clip.muxed.mkv" "clip.mkv")"}},
      {"MKVMerge",
       R"(D:\v\clip.MKV)",
       R"("D:\v\clip.audio.mp4")",
       {R"(@mkvmerge -o "D:\v\clip.muxed.mkv" "D:\v\clip.MKV" "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.muxed.mkv" del "D:\v\clip.audio.mp4")",
        R"(@if exist "D:\v\clip.muxed.mkv" del "D:\v\clip.MKV")",
        R"(@if exist "D:\v\clip.muxed.mkv" ren "D:\v\clip.muxed.mkv" "clip.MKV")"}},
      {"MKVMerge",
       R"(E:\out dir\My Clip.Mkv)",
       R"("E:\out dir\My Clip.audio.aac")",
       {R"(@mkvmerge -o "E:\out dir\My Clip.muxed.mkv" "E:\out dir\My Clip.Mkv" "E:\out dir\My Clip.audio.aac")",
        R"(@if exist "E:\out dir\My Clip.muxed.mkv" del "E:\out dir\My Clip.audio.aac")",
        R"(@if exist "E:\out dir\My Clip.muxed.mkv" del "E:\out dir\My Clip.Mkv")",
        R"(@if exist "E:\out dir\My Clip.muxed.mkv" ren "E:\out dir\My Clip.muxed.mkv" "My Clip.Mkv")"}},
      {"MKVMerge",
       R"(D:/v/clip.mkv)",
       R"("D:/v/clip.audio.mp4")",
       {R"(@mkvmerge -o "D:/v/clip.muxed.mkv" "D:/v/clip.mkv" "D:/v/clip.audio.mp4")",
        R"(@if exist "D:/v/clip.muxed.mkv" del "D:/v/clip.audio.mp4")",
        R"(@if exist "D:/v/clip.muxed.mkv" del "D:/v/clip.mkv")",
        R"(@if exist "D:/v/clip.muxed.mkv" ren "D:/v/clip.muxed.mkv" "clip.mkv")"}},
      // Other muxers keep a Matroska output as it is.
      {"MP4Box",
       R"(D:\v\clip.MKV)",
       R"("D:\v\clip.audio.mp4")",
       {R"(@mp4box.exe -add "D:\v\clip.audio.mp4" "D:\v\clip.MKV")",
        R"(@if not errorlevel 1 del "D:\v\clip.audio.mp4")"}},
      {"No mux", R"(D:\v\clip.mkv)", R"("D:\v\clip.audio.mp4")", {}},
  };
  for (const MuxCase& c : cases)
    EXPECT_EQ(mux(c.muxer, c.output, c.audio), c.lines) << c.muxer << " " << c.output;
}

TEST_F(MuxCommands, NoMuxerSelectedAddsNothing) {
  window.setState(cid::muxer, -1);
  window.setText(cid::output, R"(D:\v\clip.mp4)");
  AddMuxCommands(window, R"("D:\v\clip.audio.mp4")");
  EXPECT_EQ(window.itemCount(cid::jobList), 0);
}

}  // namespace
