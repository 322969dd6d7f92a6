#pragma once

#include <span>
#include <string_view>

#include "ui/control_id.h"

// A list whose entries never change: filled once at start-up, its entry
// index being what the settings file stores. Which entry it shows comes with
// the settings.
struct FixedList {
  ControlId id;
  std::span<const std::string_view> entries;
};

// The fixed lists in the order start-up fills them: dm, directpm, mode, m,
// ae, muxer, ms, cqm, tre, aq, level.
std::span<const FixedList> FixedLists();

// The fixed list of a control, or nullptr when the control has none.
const FixedList* FindFixedList(ControlId id);

// The entry of a fixed list at `index`; "" for an index it has no entry at
// (no selection included).
std::string_view EntryOf(ControlId list, int index);

// The entries of the quant matrix list: the two matrices x264 knows by
// name, and the one that asks for a matrix file.
inline constexpr std::string_view kFlatMatrix = "flat";
inline constexpr std::string_view kJvtMatrix = "jvt";
inline constexpr std::string_view kCustomMatrix = "custom...";

// The encode modes by their index in the mode list.
enum class EncodeMode {
  SinglePassBitrate = 0,
  SinglePassQuantizer = 1,
  SinglePassCrf = 2,
  FirstPass = 3,
  FirstPassFast = 4,
  NthPass = 5,
  AutomatedDouble = 6,
  AutomatedDoubleFast = 7,
  FirstPassCrf = 8,
  FirstPassCrfFast = 9,
  AutomatedDoubleCrf = 10,
  AutomatedDoubleCrfFast = 11,
  FirstPassCrfWithOutput = 12,
  ConditionalDouble = 13,
};

// The audio encoders by their index in the `ae` list.
enum class AudioEncoder { CtAac = 0, Nero = 1, NeroAbr = 2, NeroQuality = 3, Faac = 4 };

// The muxers by their index in the `muxer` list.
enum class Muxer { Mp4Box = 0, Mp4Creator = 1, MkvMerge = 2, NoMux = 3, AudioOnly = 4 };

// The 14 encode modes as the mode list shows them, by index.
std::span<const std::string_view> EncodeModeNames();

// What the mode list shows for a mode ("" for none).
std::string_view EncodeModeName(EncodeMode mode);

// `value` is a quantizer or a rate factor (otherwise a bitrate or a size).
constexpr bool IsQuantizerClass(EncodeMode mode) {
  using enum EncodeMode;
  return mode == SinglePassQuantizer || mode == SinglePassCrf || mode == FirstPassCrf ||
         mode == FirstPassCrfFast || mode == FirstPassCrfWithOutput;
}
// Uses a statistics file.
constexpr bool IsMultiPass(EncodeMode mode) { return static_cast<int>(mode) > 2; }
// Its first pass takes the rate factor of `auto1pcrf`.
constexpr bool HasFirstPassCrf(EncodeMode mode) {
  using enum EncodeMode;
  return mode == AutomatedDoubleCrf || mode == AutomatedDoubleCrfFast || mode == ConditionalDouble;
}
// A first pass that throws its video away.
constexpr bool DiscardsOutput(EncodeMode mode) {
  using enum EncodeMode;
  return mode == FirstPass || mode == FirstPassFast || mode == FirstPassCrf ||
         mode == FirstPassCrfFast;
}
