#include "jobs/pass_command.h"

#include <algorithm>
#include <span>
#include <vector>

#include "args/analysis_options.h"
#include "args/common_options.h"
#include "args/rate_control_options.h"
#include "jobs/audio_commands.h"
#include "jobs/batch_line.h"
#include "jobs/job_line.h"

namespace {

// The pieces a mode adds after the common options.
enum class Piece {
  FirstPass,
  LaterPass,
  Stats,
  Quantizer,
  RateFactor,
  NoPartitions,
  OneReference,
  Bitrate,
  QuantizerLimits,
  FrameQpRatios,
  Partitions,
  FirstPassPartitions,
  Subme,
  SubmeCap6,
  SubmeCap3,
  MotionSearch,
  FastMotionSearch,
  Vbv,
  VbvWithoutRatetol,
  References,
  ChromaMe,
  Entropy,
  CabacOnly,
};

using P = Piece;
using Pieces = std::vector<Piece>;

// Pieces of the single-run modes, in order. The automated modes are never
// selected while a line is built: their stages are.
const Pieces kNthPassPieces = {P::LaterPass,     P::Stats,      P::Bitrate,    P::QuantizerLimits,
                               P::FrameQpRatios, P::ChromaMe,   P::Partitions, P::Subme,
                               P::MotionSearch,  P::References, P::Vbv,        P::Entropy};

std::span<const Piece> ModePieces(EncodeMode mode) {
  static const Pieces kModes[] = {
      // 0 Single Pass - Bitrate
      {P::FrameQpRatios, P::Partitions, P::Bitrate, P::QuantizerLimits, P::Subme, P::Vbv,
       P::References, P::MotionSearch, P::Entropy},
      // 1 Single Pass - Quantizer
      {P::Quantizer, P::QuantizerLimits, P::Partitions, P::ChromaMe, P::FrameQpRatios, P::Subme,
       P::MotionSearch, P::References, P::Entropy},
      // 2 Single Pass - CRF
      {P::RateFactor, P::Partitions, P::Subme, P::MotionSearch, P::ChromaMe, P::QuantizerLimits,
       P::FrameQpRatios, P::VbvWithoutRatetol, P::References, P::Entropy},
      // 3 Mutipass - First Pass
      {P::FirstPass, P::Stats, P::Bitrate, P::QuantizerLimits, P::FrameQpRatios,
       P::FirstPassPartitions, P::SubmeCap6, P::FastMotionSearch, P::Vbv, P::References,
       P::CabacOnly},
      // 4 Mutipass - First Pass(fast)
      {P::FirstPass, P::Stats, P::Bitrate, P::QuantizerLimits, P::FrameQpRatios, P::NoPartitions,
       P::SubmeCap3, P::FastMotionSearch, P::Vbv, P::OneReference, P::CabacOnly},
      // 5 Mutipass - Nth pass
      kNthPassPieces,
      // 6, 7: stages of other modes
      {},
      {},
      // 8 Mutipass - First Pass(CRF)
      {P::Stats, P::FirstPass, P::RateFactor, P::Partitions, P::FrameQpRatios, P::SubmeCap6,
       P::FastMotionSearch, P::References, P::QuantizerLimits, P::Vbv, P::CabacOnly},
      // 9 Mutipass - First Pass(CRF-fast)
      {P::Stats, P::FirstPass, P::RateFactor, P::NoPartitions, P::FrameQpRatios, P::SubmeCap3,
       P::FastMotionSearch, P::OneReference, P::QuantizerLimits, P::Vbv, P::CabacOnly},
      // 10, 11: stages of other modes
      {},
      {},
      // 12 Mutipass - First Pass(CRF with output)
      {P::Stats, P::FirstPass, P::RateFactor, P::Partitions, P::ChromaMe, P::FrameQpRatios,
       P::Subme, P::MotionSearch, P::References, P::QuantizerLimits, P::Vbv, P::Entropy},
      // 13 Conditional Double Passes(1P-CRF): the second run is an Nth pass
      kNthPassPieces,
  };
  const auto index = static_cast<size_t>(mode);
  if (index >= std::size(kModes)) return {};
  return kModes[index];
}

ArgList PieceArguments(Piece piece, const Settings& s, MediaProbe& media) {
  switch (piece) {
    case P::FirstPass:
      return {arg::Literal("-p"), arg::Literal("1")};
    case P::LaterPass:
      return {arg::Literal("-p"), arg::Literal(s.upstat ? "3" : "2")};
    case P::Stats:
      // An empty field leaves x264 its own statistics file in the current
      // directory, the program folder, which every pass of a job shares.
      if (s.statsfile.empty()) return {};
      return {arg::Literal("--stats"), arg::Path(s.statsfile, cid::statsfile)};
    case P::Quantizer:
      return {arg::Literal("-q"), arg::Integer(s.value, cid::value)};
    case P::RateFactor:
      return {arg::Literal("--crf"), arg::Decimal(s.value, cid::value)};
    case P::NoPartitions:
      return {arg::Literal("-A"), arg::Literal("none")};
    case P::OneReference:
      return {arg::Literal("-r"), arg::Literal("1")};
    case P::Bitrate:
      return BitrateOption(s, s.sizemode ? media.probe(s.input) : std::nullopt);
    case P::QuantizerLimits:
      return QuantizerLimitOptions(s);
    case P::FrameQpRatios:
      return FrameQpRatioOptions(s);
    case P::Partitions:
      return PartitionOptions(s);
    case P::FirstPassPartitions:
      return FirstPassPartitionOptions(s);
    case P::Subme:
      return SubmeOptions(s);
    case P::SubmeCap6:
      return SubmeCap6Options(s);
    case P::SubmeCap3:
      return SubmeCap3Options(s);
    case P::MotionSearch:
      return MotionSearchOptions(s);
    case P::FastMotionSearch:
      return FastMotionSearchOptions(s);
    case P::Vbv:
      return VbvOptions(s, false);
    case P::VbvWithoutRatetol:
      return VbvOptions(s, true);
    case P::References:
      return ReferenceOptions(s);
    case P::ChromaMe:
      return ChromaMeOption(s);
    case P::Entropy:
      return EntropyOptions(s);
    case P::CabacOnly:
      return CabacOnlyOption(s);
  }
  return {};
}

}  // namespace

ArgList PassArguments(const Settings& s, MediaProbe& media, const EncoderDialect& dialect) {
  // A current x264 shows its progress unasked and refuses --progress.
  ArgList args;
  if (!dialect.current) args.push_back(arg::Literal("--progress"));
  Append(args, CommonOptions(s, dialect));
  const std::span<const Piece> pieces = ModePieces(s.mode);
  for (Piece piece : pieces) Append(args, PieceArguments(piece, s, media));
  const bool firstPass = std::find(pieces.begin(), pieces.end(), P::FirstPass) != pieces.end();
  Append(args, DefaultOverrides(s, dialect, args, firstPass));
  args.push_back(arg::Literal("-o"));
  if (DiscardsOutput(s.mode))
    args.push_back(arg::Literal("nul"));
  else
    args.push_back(arg::Path(s.output, cid::output));
  args.push_back(arg::Path(s.input, cid::input));
  // "Logfile(empty=none)": an empty field keeps no log.
  if (s.crelog && !s.logfile.empty()) {
    args.push_back(arg::Pipe(kLogPipe));
    args.push_back(arg::Program(programs::kTeelog, ""));
    args.push_back(arg::Path(s.logfile, cid::logfile));
  }
  return args;
}

BatchCommand PassCommand(const Settings& s, MediaProbe& media, const EncoderDialect& dialect) {
  const bool conditional = s.mode == EncodeMode::ConditionalDouble;
  BatchCommand command{std::string(conditional ? kAfterSizeCheck : "@"),
                       {arg::Program(programs::kX264, "")}};
  Append(command.args, PassArguments(s, media, dialect));
  return command;
}

std::string PassCommandBuilder(const Settings& s, MediaProbe& media,
                               const EncoderDialect& dialect) {
  return WriteCommand(PassCommand(s, media, dialect));
}

void AppendPass(const Settings& s, MediaProbe& media, BatchCommands& commands,
                const EncoderDialect& dialect) {
  commands.push_back(PassCommand(s, media, dialect));
  if (s.aud && !DiscardsOutput(s.mode)) AddAudioCommands(s, commands);
}
