#include "jobs/pass_command.h"

#include <span>
#include <vector>

#include "args/analysis_options.h"
#include "args/common_options.h"
#include "args/rate_control_options.h"
#include "core/encode_mode.h"
#include "jobs/audio_commands.h"
#include "jobs/batch_text.h"
#include "ui/control_id.h"

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

std::span<const Piece> ModePieces(int mode) {
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
  if (mode < 0 || mode >= static_cast<int>(std::size(kModes))) return {};
  return kModes[mode];
}

std::string PieceText(Piece piece, const Window& w, MediaProbe& media) {
  switch (piece) {
    case P::FirstPass:
      return " -p 1";
    case P::LaterPass:
      return w.state(cid::upstat) == 1 ? " -p 3" : " -p 2";
    case P::Stats:
      return " --stats " + QuotedPath(w.text(cid::statsfile));
    case P::Quantizer:
      return " -q " + w.text(cid::value);
    case P::RateFactor:
      return " --crf " + w.text(cid::value);
    case P::NoPartitions:
      return " -A none";
    case P::OneReference:
      return " -r 1";
    case P::Bitrate:
      return BitrateOption(w, media, w.text(cid::input), w.state(cid::sizemode) == 1);
    case P::QuantizerLimits:
      return QuantizerLimitOptions(w);
    case P::FrameQpRatios:
      return FrameQpRatioOptions(w);
    case P::Partitions:
      return PartitionOptions(w);
    case P::FirstPassPartitions:
      return FirstPassPartitionOptions(w);
    case P::Subme:
      return SubmeOptions(w);
    case P::SubmeCap6:
      return SubmeCap6Options(w);
    case P::SubmeCap3:
      return SubmeCap3Options(w);
    case P::MotionSearch:
      return MotionSearchOptions(w);
    case P::FastMotionSearch:
      return FastMotionSearchOptions(w);
    case P::Vbv:
      return VbvOptions(w, false);
    case P::VbvWithoutRatetol:
      return VbvOptions(w, true);
    case P::References:
      return ReferenceOptions(w);
    case P::ChromaMe:
      return ChromaMeOption(w);
    case P::Entropy:
      return EntropyOptions(w);
    case P::CabacOnly:
      return CabacOnlyOption(w);
  }
  return {};
}

}  // namespace

std::string PassCommandBuilder(const Window& window, MediaProbe& media) {
  const int mode = window.state(cid::mode);
  std::string line = "@x264.exe --progress" + CommonOptions(window);
  for (Piece piece : ModePieces(mode)) line += PieceText(piece, window, media);
  line += encode_mode::DiscardsOutput(mode) ? " -o nul "
                                            : " -o " + QuotedPath(window.text(cid::output)) + " ";
  line += QuotedPath(window.text(cid::input));
  if (window.state(cid::crelog) == 1)
    line += " 2>&1|teelog.exe " + QuotedPath(window.text(cid::logfile));
  if (mode == encode_mode::kConditionalDouble) line.insert(0, "@if errorlevel 1 ");
  return line;
}

void AddPassToJobList(Window& window, MediaProbe& media) {
  window.addItem(cid::jobList, PassCommandBuilder(window, media));
  const int mode = window.state(cid::mode);
  if (window.state(cid::aud) == 1 && !encode_mode::DiscardsOutput(mode))
    AddAudioCommands(window, window.state(cid::ae));
}
