#include "settings/fixed_lists.h"

#include <algorithm>

namespace {

constexpr std::string_view kDirectMode[] = {"Temporal", "Spatial", "Auto", "None"};

constexpr std::string_view kDirectPredictionSize[] = {"8x8", "4x4", "Smallest"};

// The spelling "Mutipass" is what the user has always seen; keep it.
constexpr std::string_view kEncodeMode[] = {
    "Single Pass - Bitrate",
    "Single Pass - Quantizer",
    "Single Pass - CRF",
    "Mutipass - First Pass",
    "Mutipass - First Pass(fast)",
    "Mutipass - Nth pass",
    "Automated Double Passes",
    "Automated Double Passes(fast)",
    "Mutipass - First Pass(CRF)",
    "Mutipass - First Pass(CRF-fast)",
    "Automated Double Passes(1P-CRF)",
    "Automated Double Passes(1P-CRF-fast)",
    "Mutipass - First Pass(CRF with output)",
    "Conditional Double Passes(1P-CRF)",
};

constexpr std::string_view kPartitionDecision[] = {
    "1(Fastest)",
    "2",
    "3",
    "4",
    "5(Highest)",
    "6(RDO)",
    "7(6b)(RDO on B-frames)",
    "8(7b)(RDO on B-frames)",
    "9",
};

// Stored in the settings file as twice the index.
constexpr std::string_view kAudioEncoder[] = {"CT AAC", "Nero", "Nero(ABR)", "Nero(Q)", "FAAC"};

constexpr std::string_view kMuxer[] = {"MP4Box", "MP4Creator", "MKVMerge", "No mux", "Audio Only"};

constexpr std::string_view kMotionSearch[] = {
    "Diamond Search",    "Hexagonal Search",    "Uneven Muti-Hexagon",
    "Exhaustive Search", "Hadamard Exhaustive",
};

// An editable list: its text may also be a quoted matrix file path.
constexpr std::string_view kQuantMatrix[] = {kFlatMatrix, kJvtMatrix, kCustomMatrix};

constexpr std::string_view kTrellis[] = {"0", "1", "2"};

constexpr std::string_view kAqMode[] = {"Disable", "Variance AQ"};

constexpr std::string_view kLevel[] = {
    "Disable",   "Level 1",   "Level 1.1", "Level 1.2", "Level 1.3", "Level 2",
    "Level 2.1", "Level 2.2", "Level 3",   "Level 3.1", "Level 3.2", "Level 4",
    "Level 4.1", "Level 4.2", "Level 5",   "Level 5.1",
};

static_assert(std::size(kEncodeMode) == static_cast<size_t>(EncodeMode::ConditionalDouble) + 1);
static_assert(std::size(kAudioEncoder) == static_cast<size_t>(AudioEncoder::Faac) + 1);
static_assert(std::size(kMuxer) == static_cast<size_t>(Muxer::AudioOnly) + 1);

constexpr FixedList kFixedLists[] = {
    {cid::dm, kDirectMode},   {cid::directpm, kDirectPredictionSize},
    {cid::mode, kEncodeMode}, {cid::m, kPartitionDecision},
    {cid::ae, kAudioEncoder}, {cid::muxer, kMuxer},
    {cid::ms, kMotionSearch}, {cid::cqm, kQuantMatrix},
    {cid::tre, kTrellis},     {cid::aq, kAqMode},
    {cid::level, kLevel},
};

}  // namespace

std::span<const FixedList> FixedLists() { return kFixedLists; }

const FixedList* FindFixedList(ControlId id) {
  const auto* found = std::find_if(std::begin(kFixedLists), std::end(kFixedLists),
                                   [id](const FixedList& list) { return list.id == id; });
  return found == std::end(kFixedLists) ? nullptr : found;
}

std::string_view EntryOf(ControlId list, int index) {
  const FixedList* found = FindFixedList(list);
  if (!found || index < 0 || static_cast<size_t>(index) >= found->entries.size()) return {};
  return found->entries[static_cast<size_t>(index)];
}

std::span<const std::string_view> EncodeModeNames() { return kEncodeMode; }

std::string_view EncodeModeName(EncodeMode mode) {
  return EntryOf(cid::mode, static_cast<int>(mode));
}
