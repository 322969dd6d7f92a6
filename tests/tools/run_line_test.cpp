// Where "teelog.exe --run LOGFILE PROGRAM ARGUMENTS..." hands over to the
// program: which log file it names, and what the program receives, judged by
// an independent reading of command lines.
#include "tools/run_line.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/command_line_splitter.h"

namespace {

TEST(RunLine, HandsTheLineFromTheProgramOnUnchanged) {
  const struct {
    std::string_view line;
    std::string_view log;
    std::string_view rest;  // empty: no program
    std::string_view name;
  } cases[] = {
      {R"(teelog.exe --run "D:\v\clip.log" x264.exe --crf 20 -o "D:\v\a.mp4" "D:\v\a.avs")",
       R"(D:\v\clip.log)", R"(x264.exe --crf 20 -o "D:\v\a.mp4" "D:\v\a.avs")", "x264.exe"},
      {R"("C:\Program Files\q\teelog.exe" --run "" x264 -o nul a.avs)", "", "x264 -o nul a.avs",
       "x264"},
      {"teelog.exe\t--run \t\"a b.log\"\t \"C:\\x 1\"\\x264.exe\t-o  \"b c\"  ", "a b.log",
       "\"C:\\x 1\"\\x264.exe\t-o  \"b c\"  ", R"(C:\x 1\x264.exe)"},
      // 2n backslashes before a quote are n and the quote opens or closes;
      // 2n+1 are n and a literal quote.
      {R"(teelog.exe --run "D:\v\\" x264.exe "D:\a \"b\"\\" c\\d)", R"(D:\v\)",
       R"(x264.exe "D:\a \"b\"\\" c\\d)", "x264.exe"},
      {R"(teelog.exe --run D:\\"my v"\q\\\".log x264.exe)", R"(D:\my v\q\".log)", "x264.exe",
       "x264.exe"},
      // "" inside a quoted part is a literal quote, the part going on.
      {R"(teelog.exe --run "a""b c.log" x264.exe "x""y z")", R"(a"b c.log)", R"(x264.exe "x""y z")",
       "x264.exe"},
      {R"(teelog.exe --run "clip.log")", "clip.log", "", ""},
      {"teelog.exe --run \"\" \t", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const run_line::Parts parts = run_line::FindParts(c.line);
    std::string log;
    run_line::ReadToken(c.line, parts.third, [&](char letter) { log += letter; });
    const std::string_view rest = c.line.substr(parts.rest);
    std::string name;
    run_line::ReadCommandName(rest, [&](char letter) { name += letter; });
    EXPECT_EQ(log, c.log);
    EXPECT_EQ(rest, c.rest);
    EXPECT_EQ(name, c.name);

    const std::vector<std::string> whole = SplitCommandLine(c.line);
    ASSERT_GE(whole.size(), 3u);
    EXPECT_EQ(whole[1], "--run");
    EXPECT_EQ(whole[2], log);
    if (!rest.empty()) {
      EXPECT_EQ(SplitCommandLine(rest), std::vector<std::string>(whole.begin() + 3, whole.end()));
    }
  }
}

}  // namespace
