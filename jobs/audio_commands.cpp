#include "jobs/audio_commands.h"

#include <cstdint>

#include "core/path_parts.h"
#include "core/text_number.h"
#include "jobs/batch_line.h"
#include "jobs/job_programs.h"
#include "jobs/mux_commands.h"

std::string AudioFile(const Settings& s) {
  return std::string(Stem(s.output)) + (s.ae == AudioEncoder::CtAac ? ".audio.aac" : ".audio.mp4");
}

void AddAudioCommands(const Settings& s, BatchCommands& commands) {
  // Wraps around like the reading itself for absurd texts, without overflow.
  const std::string bps =
      IntegerText(static_cast<std::int64_t>(static_cast<std::uint64_t>(TextToInt(s.aub)) * 1000u));
  const std::string audio = AudioFile(s);
  ArgList args = {arg::Program(programs::kBepipe, ""), arg::Literal("--script"),
                  arg::ImportedScript(s.input, cid::input), arg::Pipe("|")};
  const Arg file = arg::Path(audio, cid::output);
  switch (s.ae) {
    case AudioEncoder::CtAac:
      Append(args, {arg::Program(programs::kEncAacPlus), arg::Literal("-"), file,
                    arg::Literal("--cbr"), arg::Literal(bps)});
      break;
    case AudioEncoder::Nero:
    case AudioEncoder::NeroAbr:
      Append(args, {arg::Program(programs::kNeroAacEnc), arg::Literal("-if"), arg::Literal("-"),
                    arg::Literal("-of"), file, arg::Literal("-ignorelength"),
                    arg::Literal(s.ae == AudioEncoder::Nero ? "-cbr" : "-br"), arg::Literal(bps)});
      break;
    case AudioEncoder::NeroQuality:
      Append(args, {arg::Program(programs::kNeroAacEnc), arg::Literal("-if"), arg::Literal("-"),
                    arg::Literal("-of"), file, arg::Literal("-ignorelength"), arg::Literal("-q"),
                    arg::Decimal(s.aub, cid::aub)});
      break;
    case AudioEncoder::Faac:
      Append(args, {arg::Program(programs::kFaac), arg::Literal("-b"),
                    arg::Integer(s.aub, cid::aub), arg::Literal("-"), arg::Literal("-o"), file});
      break;
    default:
      return;
  }
  commands.push_back({"@", std::move(args)});
  AddMuxCommands(s, audio, commands);
}
