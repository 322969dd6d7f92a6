#include "jobs/mux_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_value.h"

namespace {

using Lines = std::vector<std::string>;
using enum Muxer;

struct MuxCase {
  Muxer muxer;
  std::string_view output;
  std::string_view audio;  // as the audio step hands it over
  Lines lines;
};

Lines Mux(const MuxCase& c) {
  Settings s;
  s.muxer = c.muxer;
  s.output = c.output;
  BatchCommands commands;
  AddMuxCommands(s, c.audio, commands);
  Lines lines;
  for (const BatchCommand& command : commands) lines.push_back(WriteCommand(command));
  return lines;
}

TEST(MuxCommands, LinesOfEachMuxer) {
  const MuxCase cases[] = {
      {Mp4Box,
       R"(D:\v\clip.mp4)",
       R"(D:\v\clip.audio.mp4)",
       {R"(@mp4box.exe -add "D:\v\clip.audio.mp4" "D:\v\clip.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4")"}},
      {Mp4Creator,
       R"(D:\v\clip.mp4)",
       R"(D:\v\clip.audio.mp4)",
       {R"(@mp4creator.exe -create="D:\v\clip.audio.mp4" "D:\v\clip.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4")"}},
      {MkvMerge,
       R"(D:\v\clip.mp4)",
       R"(D:\v\clip.audio.mp4)",
       {R"(@mkvmerge -o "D:\v\clip.mkv" "D:\v\clip.mp4" "D:\v\clip.audio.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4" "D:\v\clip.mp4")"}},
      {NoMux, R"(D:\v\clip.mp4)", R"(D:\v\clip.audio.mp4)", {}},
      {AudioOnly, R"(D:\v\clip.mp4)", R"(D:\v\clip.audio.mp4)", {}},
      {static_cast<Muxer>(-1), R"(D:\v\clip.mp4)", R"(D:\v\clip.audio.mp4)", {}},  // none selected
      // The audio file is used as handed over, an .aac one as well.
      {Mp4Box,
       R"(D:\v\clip.mkv)",
       R"(D:\v\clip.audio.aac)",
       {R"(@mp4box.exe -add "D:\v\clip.audio.aac" "D:\v\clip.mkv")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.aac")"}},
      {Mp4Creator,
       R"(D:\v\clip)",
       R"(D:\v\clip.audio.mp4)",
       {R"(@mp4creator.exe -create="D:\v\clip.audio.mp4" "D:\v\clip")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4")"}},
  };
  for (const MuxCase& c : cases)
    EXPECT_EQ(Mux(c), c.lines) << static_cast<int>(c.muxer) << " " << c.output;
}

TEST(MuxCommands, MkvMergeNamesTheJoinedFileAfterTheOutput) {
  const MuxCase cases[] = {
      {MkvMerge,
       R"(D:\v\clip)",
       R"(D:\v\clip.audio.mp4)",
       {R"(@mkvmerge -o "D:\v\clip.mkv" "D:\v\clip" "D:\v\clip.audio.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4" "D:\v\clip")"}},
      // A dot in a folder is no extension, neither is "mkv" there.
      {MkvMerge,
       R"(D:\v.mkv\clip)",
       R"(D:\v.mkv\clip.audio.mp4)",
       {R"(@mkvmerge -o "D:\v.mkv\clip.mkv" "D:\v.mkv\clip" "D:\v.mkv\clip.audio.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v.mkv\clip.audio.mp4" "D:\v.mkv\clip")"}},
      {MkvMerge,
       R"(D:\v\clip.mkv.mp4)",
       R"(D:\v\clip.mkv.audio.mp4)",
       {R"(@mkvmerge -o "D:\v\clip.mkv.mkv" "D:\v\clip.mkv.mp4" "D:\v\clip.mkv.audio.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.mkv.audio.mp4" "D:\v\clip.mkv.mp4")"}},
      {MkvMerge,
       R"(D:\v\clip.mkvx)",
       R"(D:\v\clip.audio.mp4)",
       {R"(@mkvmerge -o "D:\v\clip.mkv" "D:\v\clip.mkvx" "D:\v\clip.audio.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4" "D:\v\clip.mkvx")"}},
      {MkvMerge,
       R"(D:\v\mkv)",
       R"(D:\v\mkv.audio.mp4)",
       {R"(@mkvmerge -o "D:\v\mkv.mkv" "D:\v\mkv" "D:\v\mkv.audio.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\mkv.audio.mp4" "D:\v\mkv")"}},
  };
  for (const MuxCase& c : cases) EXPECT_EQ(Mux(c), c.lines) << c.output;
}

// An output that is a Matroska file already is not its own target: the
// joined file gets a name of its own and takes the output's name last.
TEST(MuxCommands, MkvMergeOntoAMatroskaOutputRenamesTheJoinedFile) {
  const MuxCase cases[] = {
      {MkvMerge,
       R"(D:\v\clip.mkv)",
       R"(D:\v\clip.audio.mp4)",
       {R"(@mkvmerge -o "D:\v\clip.muxed.mkv" "D:\v\clip.mkv" "D:\v\clip.audio.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4" "D:\v\clip.mkv")",
        R"(@if errorlevel 0 if not errorlevel 1 if not exist "D:\v\clip.mkv" ren "D:\v\clip.muxed.mkv" "clip.mkv")"}},
      {MkvMerge,
       R"(D:\v\clip.MKV)",
       R"(D:\v\clip.audio.mp4)",
       {R"(@mkvmerge -o "D:\v\clip.muxed.mkv" "D:\v\clip.MKV" "D:\v\clip.audio.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4" "D:\v\clip.MKV")",
        R"(@if errorlevel 0 if not errorlevel 1 if not exist "D:\v\clip.MKV" ren "D:\v\clip.muxed.mkv" "clip.MKV")"}},
      {MkvMerge,
       R"(E:\out dir\My Clip.Mkv)",
       R"(E:\out dir\My Clip.audio.aac)",
       {R"(@mkvmerge -o "E:\out dir\My Clip.muxed.mkv" "E:\out dir\My Clip.Mkv" "E:\out dir\My Clip.audio.aac")",
        R"(@if errorlevel 0 if not errorlevel 1 del "E:\out dir\My Clip.audio.aac" "E:\out dir\My Clip.Mkv")",
        R"(@if errorlevel 0 if not errorlevel 1 if not exist "E:\out dir\My Clip.Mkv" ren "E:\out dir\My Clip.muxed.mkv" "My Clip.Mkv")"}},
      {MkvMerge,
       R"(D:/v/clip.mkv)",
       R"(D:/v/clip.audio.mp4)",
       {R"(@mkvmerge -o "D:/v/clip.muxed.mkv" "D:/v/clip.mkv" "D:/v/clip.audio.mp4")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:/v/clip.audio.mp4" "D:/v/clip.mkv")",
        R"(@if errorlevel 0 if not errorlevel 1 if not exist "D:/v/clip.mkv" ren "D:/v/clip.muxed.mkv" "clip.mkv")"}},
      // Other muxers keep a Matroska output as it is.
      {Mp4Box,
       R"(D:\v\clip.MKV)",
       R"(D:\v\clip.audio.mp4)",
       {R"(@mp4box.exe -add "D:\v\clip.audio.mp4" "D:\v\clip.MKV")",
        R"(@if errorlevel 0 if not errorlevel 1 del "D:\v\clip.audio.mp4")"}},
      {NoMux, R"(D:\v\clip.mkv)", R"(D:\v\clip.audio.mp4)", {}},
  };
  for (const MuxCase& c : cases)
    EXPECT_EQ(Mux(c), c.lines) << static_cast<int>(c.muxer) << " " << c.output;
}

}  // namespace
