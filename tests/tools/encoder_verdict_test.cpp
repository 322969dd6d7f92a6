// teelog's verdict on an encode and the progress it shows, from what x264
// printed, read in pieces cut anywhere.
#include "tools/encoder_verdict.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "recorded_messages.h"

namespace {

struct Seen {
  bool succeeded = false;
  std::string status;
  unsigned long updates = 0;
  std::string error;
};

// Feeds `text` as a first piece of `cut` bytes and then pieces of `piece`
// bytes each.
Seen Judge(std::string_view text, std::size_t cut, std::size_t piece) {
  encoder_verdict::EncoderVerdict verdict;
  verdict.take(text.data(), cut);
  for (std::size_t at = cut; at < text.size(); at += piece)
    verdict.take(text.data() + at, std::min(piece, text.size() - at));
  verdict.end();
  return {verdict.succeeded(), std::string(verdict.status()), verdict.statusCount(),
          std::string(verdict.lastError())};
}

// The same verdict, status and number of progress updates however the text
// is cut: into two pieces at every place, and into single bytes.
void ExpectWhereverCut(std::string_view text, bool succeeded, std::string_view status,
                       unsigned long updates, std::string_view error = {}) {
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    const Seen seen = Judge(text, cut, text.size());
    ASSERT_EQ(seen.succeeded, succeeded) << "cut at " << cut;
    ASSERT_EQ(seen.status, status) << "cut at " << cut;
    ASSERT_EQ(seen.updates, updates) << "cut at " << cut;
    ASSERT_EQ(seen.error, error) << "cut at " << cut;
  }
  const Seen bytes = Judge(text, 0, 1);
  EXPECT_EQ(bytes.succeeded, succeeded) << "byte by byte";
  EXPECT_EQ(bytes.status, status) << "byte by byte";
}

struct Case {
  std::string_view text;  // a recording's name in the first table
  bool succeeded;
  std::string_view lastStatus;
  unsigned long updates = 0;
  std::string_view lastError = {};
};

TEST(EncoderVerdict, OnlyAFinishedEncodeSucceedsAndItsLastProgressLineIsKept) {
  const Case cases[] = {
      {"x264/finished.txt", true, "[93.3%] 56/60 frames, 30.51 fps, 2453.14 kb/s, eta 0:00:00", 7},
      {"x264/ctrl-c.txt", false, "[60.0%] 36/60 frames, 29.43 fps, 2493.24 kb/s, eta 0:00:00", 5},
      {"x264/killed.txt", false, "[33.3%] 20/60 frames, 19.59 fps, 2591.90 kb/s, eta 0:00:02", 4},
      {"x264/error-continued.txt", false, "46 frames: 175.21 fps, 5840.90 kb/s", 2,
       "x264 [error]: disabling adaptive B-frames"},
      {"x264/error-then-aborted.txt", false, "1 frames: 92.13 fps, 1137.00 kb/s", 1,
       "x264 [error]: x264_encoder_encode failed"},
      {"x264/write-failed.txt", false, ""},
      {"x264/missing-input.txt", false, "", 0,
       "x264 [error]: could not open input file `missing.y4m'"},
      // The input readers' errors before one opens the input fail nothing.
      {"x264/probe-fallback.txt", true, "[20.0%] 1/5 frames, 361.14 fps, 250.80 kb/s, eta 0:00:00",
       1, "avs [error]: failed to load avisynth"},
      // mkvmerge's "Progress: 100%" is no encoder progress.
      {"mkvmerge/missing-input.txt", false, ""},
      {"mkvmerge/warning.txt", false, ""},
  };
  ASSERT_EQ(std::size(cases), std::size(kRecordedMessages)) << "a recording without its case";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_FALSE(Recorded(c.text).empty());
    ExpectWhereverCut(Recorded(c.text), c.succeeded, c.lastStatus, c.updates, c.lastError);
  }
}

TEST(EncoderVerdict, ReadsTheShapesNoRecordingHolds) {
  const std::string longLine(500, 'x');
  const std::string errorFarIn =
      "x264 [info]: begun\n" + longLine + " x264 [error]: late\nencoded 2 frames, 1.0 fps\n";
  const std::string longProgress = "[50.0%] 1/2 frames, " + longLine + "\rencoded 2 frames\n";
  const Case cases[] = {
      // The progress lines of x264 builds of 2007.
      {"encoded frames: 34/276 (12.3%), 45.67 fps, eta 0:00:05  \rencoded 276 frames, 45.67 fps, "
       "123.45 kb/s\n",
       true, "encoded frames: 34/276 (12.3%), 45.67 fps, eta 0:00:05"},
      {"encoded frames: 30, 45.67 fps   \r\nencoded 30 frames, 1.0 fps\n", true,
       "encoded frames: 30, 45.67 fps"},
      // Line ends of Windows, and a summary without its line end.
      {"x264 [info]: kb/s:1.00\r\n\r\nencoded 2 frames, 1.00 fps, 1.00 kb/s\r\n", true, ""},
      {"encoded 2 frames, 1.00 fps, 1.00 kb/s", true, ""},
      // No summary: an old progress line, one not at the start of a line.
      {"encoded frames: 10/20 (50.0%), 1.00 fps\r", false,
       "encoded frames: 10/20 (50.0%), 1.00 fps"},
      {"x264 [info]: encoded 2 frames\n", false, ""},
      // The words looked for after a false start, far into a long line, and
      // not across a line end; the encoder's own error once it has begun.
      {"x264 [info]: begun\nx264 x264 [error]: no\nencoded 2 frames\n", false, "", 0,
       "x264 x264 [error]: no"},
      {"aborted aborted at input frame 1\nencoded 2 frames\n", false, ""},
      {errorFarIn, false, "", 0, std::string_view(longLine).substr(0, 320)},
      {"x264 [info]: begun\nx264 [err\nor]: abort\red at\nencoded 2 frames\n", true, ""},
      {"x264 [error]: before it began\nencoded 2 frames\n", true, "", 0,
       "x264 [error]: before it began"},
      // A line too long to be progress.
      {longProgress, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60));
    ExpectWhereverCut(c.text, c.succeeded, c.lastStatus, c.lastStatus.empty() ? 0 : 1, c.lastError);
  }
}

}  // namespace
