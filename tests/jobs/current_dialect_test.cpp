// Pass lines for today's x264: the classic lines, in their order, with the
// switches today's x264 refuses replaced, and one block of switches that
// holds its changed defaults to what the controls say.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/text_number.h"
#include "job_test_window.h"
#include "jobs/compose_job.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < line.size()) {
    size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    words.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

size_t Count(const std::vector<std::string>& words, const std::string& word) {
  return static_cast<size_t>(std::count(words.begin(), words.end(), word));
}

// The line without the words today's x264 no longer takes or the classic
// dialect never writes, and with the bare B-pyramid switch.
std::string Shared(std::string line) {
  for (const char* word : {" --progress", " --no-psnr", " --no-ssim", " --psnr", " --ssim"})
    for (size_t at; (at = line.find(word)) != std::string::npos &&
                    (at + std::string(word).size() == line.size() ||
                     line[at + std::string(word).size()] == ' ');)
      line.erase(at, std::string(word).size());
  if (size_t at = line.find(" --b-pyramid normal"); at != std::string::npos) line.erase(at + 12, 7);
  return line;
}

TEST(CurrentDialect, KeepsTheClassicLineAndAddsOneBlockBeforeTheOutput) {
  const EncoderDialect today{true, true};
  const std::vector<std::pair<const char*, std::function<void(Settings&)>>> variants = {
      {"example", [](Settings&) {}},
      {"pyramid, no weighted prediction, no 8x8",
       [](Settings& s) { s.bref = true, s.bwb = false, s.a1 = false; }},
      {"mixed references, trellis, metrics",
       [](Settings& s) { s.mxref = true, s.ref = "3", s.tre = 2, s.psnr = false; }},
      {"no CABAC, no B-frames", [](Settings& s) { s.cab = false, s.mb = "0"; }},
      {"one B-frame", [](Settings& s) { s.mb = "1", s.bwb = false; }},
  };
  job_test::ExampleWindow example;
  for (const auto& [name, change] : variants) {
    for (int mode = 0; mode <= static_cast<int>(EncodeMode::ConditionalDouble); ++mode) {
      SCOPED_TRACE(name);
      SCOPED_TRACE(mode);
      Settings s = example.settings(mode);
      change(s);
      const ComposedJob classic = ComposeJob(s, example.media);
      const ComposedJob current = ComposeJob(s, example.media, today);
      ASSERT_EQ(current.lines.size(), classic.lines.size());
      for (size_t i = 0; i < current.lines.size(); ++i) {
        const std::string& line = current.lines[i];
        if (line.find("x264.exe") == std::string::npos) {
          EXPECT_EQ(line, classic.lines[i]);
          continue;
        }
        // The added block stands between the mode's last piece and " -o ".
        const std::string shared = Shared(line);
        const std::string expected = Shared(classic.lines[i]);
        const size_t output = expected.find(" -o ");
        const size_t block = shared.find(" --no-mbtree");
        ASSERT_NE(block, std::string::npos) << line;
        EXPECT_EQ(shared.substr(0, block), expected.substr(0, output)) << line;
        EXPECT_EQ(shared.substr(shared.find(" -o ", block)), expected.substr(output)) << line;

        const std::vector<std::string> words = Words(line);
        EXPECT_EQ(Count(words, "--progress"), 0u);
        EXPECT_EQ(Count(words, "--psnr"), s.psnr ? 1u : 0u);
        EXPECT_EQ(Count(words, "--8x8dct") + Count(words, "--no-8x8dct"), 1u);
        EXPECT_EQ(Count(words, "--mixed-refs") + Count(words, "--no-mixed-refs"), 1u);
        EXPECT_EQ(Count(words, "-t"), 1u);
        EXPECT_EQ(Count(words, "--slow-firstpass"), line.find(" -p 1 ") != std::string::npos);
        const bool bFrames = TextToInt(s.mb) > 0;
        EXPECT_EQ(Count(words, "--b-pyramid"), bFrames ? 1u : 0u);
        EXPECT_EQ(Count(words, "-w") + Count(words, "--no-weightb"), bFrames ? 1u : 0u);
      }
    }
  }
}

TEST(CurrentDialect, ABarePyramidBuildGetsTheBareSwitchAndNoneWhenUnticked) {
  job_test::ExampleWindow example;
  Settings s = example.settings(1);
  const EncoderDialect mid2009{true, false};
  s.bref = true;
  EXPECT_NE(ComposeJob(s, example.media, mid2009).lines[3].find(" --b-pyramid -w "),
            std::string::npos);
  s.bref = false;
  EXPECT_EQ(ComposeJob(s, example.media, mid2009).lines[3].find("--b-pyramid"), std::string::npos);
}

TEST(CurrentDialect, HelpsTellTheirDialect) {
  struct Case {
    const char* help;
    EncoderDialect dialect;
  };
  const Case cases[] = {
      {"x264 core:164\n      --b-pyramid <string>    Keep some B-frames\n"
       "      --no-progress           Don't show the progress indicator\n",
       {true, true}},
      {"  -b, --bframes <integer>\n      --b-pyramid             Keep some B-frames\n"
       "      --no-progress\n",
       {true, false}},
      {"      --progress              Show a progress indicator\n      --no-psnr\n", {}},
      {"Say --no-progress in the text, or --b-pyramid <string> too.\n", {}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(DialectOfHelp(c.help), c.dialect) << c.help;
}

}  // namespace
