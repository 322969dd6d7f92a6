#include "jobs/compose_job.h"

#include <cstdlib>
#include <span>
#include <string>

#include "jobs/audio_commands.h"
#include "jobs/batch_line.h"
#include "jobs/job_line.h"
#include "jobs/typed_path.h"

namespace {

// A copy of the settings for one stage of a job.
Settings Stage(const Settings& s, EncodeMode mode) {
  Settings stage = s;
  stage.mode = mode;
  return stage;
}

// The first stage of the automated CRF modes runs at the rate factor of
// `auto1pcrf`.
Settings FirstPassAtAutoCrf(const Settings& s, EncodeMode mode) {
  Settings stage = Stage(s, mode);
  stage.value = s.auto1pcrf;
  return stage;
}

// The size check's bounds, once each is a number: gaugit.exe ends with an
// error, and so the second pass always runs, for a bound with a sign or a
// minimum above the maximum.
std::optional<Refusal> CheckSizeBounds(const Settings& s) {
  for (const auto& [field, text] :
       {std::pair{cid::minsize, &s.minsize}, {cid::maxsize, &s.maxsize}})
    if (text->front() == '-' || text->front() == '+')
      return Refusal{field, *text, "a size of 0 MB or more, without a sign"};
  const double minimum = std::strtod(s.minsize.c_str(), nullptr);
  const double maximum = std::strtod(s.maxsize.c_str(), nullptr);
  if (minimum > maximum)
    return Refusal{cid::minsize, s.minsize, "no more than the maximum size, " + s.maxsize + " MB"};
  return std::nullopt;
}

// An information line: "@echo", its label and what it shows.
BatchCommand Echo(Info info, Arg shown) {
  shown.before = "";
  return {"@",
          {arg::Program("echo", ""), arg::Literal(kInfoLabels[static_cast<size_t>(info)]),
           std::move(shown)}};
}

void AddBody(const Settings& s, MediaProbe& media, const EncoderDialect& dialect,
             BatchCommands& commands) {
  auto pass = [&](const Settings& stage) { AppendPass(stage, media, commands, dialect); };
  commands.push_back(Echo(Info::Input, arg::Path(s.input, cid::input)));
  commands.push_back(Echo(Info::Output, arg::Path(s.output, cid::output)));
  commands.push_back(Echo(Info::Mode, arg::Literal(EncodeModeName(s.mode))));

  using enum EncodeMode;
  if (s.muxer == Muxer::AudioOnly) {
    AddAudioCommands(s, commands);
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
      commands.push_back(
          {"@",
           {arg::Program(programs::kGaugit, ""), arg::Decimal(s.minsize, cid::minsize),
            arg::Decimal(s.maxsize, cid::maxsize), arg::Path(s.output, cid::output)}});
      pass(s);
      break;
    }
    default:
      pass(s);
      break;
  }
}

// The text of a file field, or nothing for another field.
const std::string* FileField(const Settings& s, ControlId field) {
  if (field == cid::input) return &s.input;
  if (field == cid::output) return &s.output;
  if (field == cid::statsfile) return &s.statsfile;
  if (field == cid::logfile) return &s.logfile;
  return nullptr;
}

// The first file field that the lines name (through its path or one made
// from it) whose typed path cannot stand for its file.
std::optional<Refusal> CheckFileFields(const Settings& s, std::span<const BatchCommand> commands) {
  for (const BatchCommand& command : commands)
    for (const Arg& argument : command.args)
      if (argument.kind == ArgKind::Path || argument.kind == ArgKind::ImportedScript)
        if (const std::string* text = FileField(s, argument.field))
          if (std::optional<Refusal> refusal = CheckTypedPath(argument.field, *text))
            return refusal;
  return std::nullopt;
}

// No clip can be opened.
class NoMedia final : public MediaProbe {
 public:
  std::optional<ClipInfo> probe(std::string_view) override { return std::nullopt; }
};

}  // namespace

ComposedJob ComposeJob(const Settings& s, MediaProbe& media, const EncoderDialect& dialect,
                       const BestFitLookup& bestFit) {
  ComposedJob job;
  if (s.input.empty() || s.output.empty()) return job;
  // The first stage's rate factor is checked under its own name, so that a
  // refusal names the field the user typed it into.
  if (HasFirstPassCrf(s.mode) && s.muxer != Muxer::AudioOnly)
    job.refusal = CheckArgument(arg::Decimal(s.auto1pcrf, cid::auto1pcrf));
  if (!job.refusal) {
    AddBody(s, media, dialect, job.commands);
    job.refusal = CheckCommands(job.commands);
  }
  if (!job.refusal) job.refusal = CheckFileFields(s, job.commands);
  if (!job.refusal && s.mode == EncodeMode::ConditionalDouble && s.muxer != Muxer::AudioOnly)
    job.refusal = CheckSizeBounds(s);
  if (!job.refusal) job.refusal = CheckBestFit(job.commands, bestFit);
  if (job.refusal) {
    job.commands.clear();
    return job;
  }
  job.lines.reserve(job.commands.size());
  for (const BatchCommand& command : job.commands) job.lines.push_back(WriteCommand(command));
  return job;
}

std::optional<Refusal> CheckSettings(const Settings& s, const BestFitLookup& bestFit) {
  Settings standIn = s;
  standIn.input = "C:\\input.avs";
  standIn.output = "C:\\output.mp4";
  standIn.statsfile = "C:\\input.avs.stat";
  standIn.logfile = "C:\\input.avs.txt";
  NoMedia media;
  return ComposeJob(standIn, media, {}, bestFit).refusal;
}
