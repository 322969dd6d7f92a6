#include "jobs/compose_job.h"

#include <string>

#include "jobs/audio_commands.h"
#include "jobs/batch_line.h"

namespace {

// A copy of the settings for one stage of a job.
Settings Stage(const Settings& s, EncodeMode mode) {
  Settings stage = s;
  stage.mode = mode;
  return stage;
}

// The first stage of the automated CRF modes runs at the rate factor of
// `auto1pcrf`. It is checked under its own name, so that a refusal names the
// field the user typed it into.
Settings FirstPassAtAutoCrf(const Settings& s, EncodeMode mode) {
  if (std::optional<Refusal> refusal = CheckArgument(arg::Decimal(s.auto1pcrf, cid::auto1pcrf)))
    throw RefusedArgument(*refusal);
  Settings stage = Stage(s, mode);
  stage.value = s.auto1pcrf;
  return stage;
}

void AddBody(const Settings& s, MediaProbe& media, const EncoderDialect& dialect, JobLines& lines) {
  auto pass = [&](const Settings& stage) { AddPassToJobList(stage, media, lines, dialect); };
  lines.push_back(BatchLine("@echo", {{ArgKind::Path, s.input, cid::input, " Input:"}}));
  lines.push_back(BatchLine("@echo", {{ArgKind::Path, s.output, cid::output, " Output:"}}));
  lines.push_back("@echo Encode Mode:" + std::string(EncodeModeName(s.mode)));

  using enum EncodeMode;
  if (s.muxer == Muxer::AudioOnly) {
    AddAudioCommands(s, lines);
    return;
  }
  switch (s.mode) {
    case AutomatedDouble:
      pass(Stage(s, FirstPass));
      pass(Stage(s, NthPass));
      break;
    case AutomatedDoubleFast:
      pass(Stage(s, FirstPassFast));
      pass(Stage(s, NthPass));
      break;
    case AutomatedDoubleCrf:
      pass(FirstPassAtAutoCrf(s, FirstPassCrf));
      pass(Stage(s, NthPass));
      break;
    case AutomatedDoubleCrfFast:
      pass(FirstPassAtAutoCrf(s, FirstPassCrfFast));
      pass(Stage(s, NthPass));
      break;
    case ConditionalDouble: {
      // The first pass writes the output at the first-pass rate factor,
      // without audio; the size check decides whether the second runs.
      Settings first = FirstPassAtAutoCrf(s, FirstPassCrfWithOutput);
      first.aud = false;
      pass(first);
      lines.push_back(BatchLine("@gaugit.exe", {arg::Decimal(s.minsize, cid::minsize),
                                                arg::Decimal(s.maxsize, cid::maxsize),
                                                arg::Path(s.output, cid::output)}));
      pass(s);
      break;
    }
    default:
      pass(s);
      break;
  }
}

// No clip can be opened.
class NoMedia final : public MediaProbe {
 public:
  std::optional<ClipInfo> probe(std::string_view) override { return std::nullopt; }
};

}  // namespace

ComposedJob ComposeJob(const Settings& s, MediaProbe& media, const EncoderDialect& dialect) {
  ComposedJob job;
  if (s.input.empty() || s.output.empty()) return job;
  try {
    AddBody(s, media, dialect, job.lines);
  } catch (const RefusedArgument& refused) {
    job.lines.clear();
    job.refusal = refused.refusal();
  }
  return job;
}

std::optional<Refusal> CheckSettings(const Settings& s) {
  Settings standIn = s;
  standIn.input = "C:\\input.avs";
  standIn.output = "C:\\output.mp4";
  standIn.statsfile = "C:\\input.avs.stat";
  standIn.logfile = "C:\\input.avs.txt";
  NoMedia media;
  return ComposeJob(standIn, media).refusal;
}
