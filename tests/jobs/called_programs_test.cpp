#include "jobs/called_programs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CalledPrograms, TheProgramsOfEachCommandOncePipesAndTestsIncluded) {
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
      "shutdown.exe -s -f -t 30",
      "@echo+",
  };
  EXPECT_EQ(CalledPrograms(lines),
            (std::vector<std::string>{"x264.exe", "teelog.exe", "gaugit.exe", "bepipe.exe",
                                      "neroaacenc.exe", "mkvmerge", R"(C:\my tools\mp4box.exe)",
                                      "shutdown.exe"}));
}

}  // namespace
