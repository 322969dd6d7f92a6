#pragma once

// The encode mode: the index of the entry selected in the mode list.
namespace encode_mode {

inline constexpr int kSinglePassBitrate = 0;
inline constexpr int kSinglePassQuantizer = 1;
inline constexpr int kSinglePassCrf = 2;
inline constexpr int kFirstPass = 3;
inline constexpr int kFirstPassFast = 4;
inline constexpr int kNthPass = 5;
inline constexpr int kAutomatedDouble = 6;
inline constexpr int kAutomatedDoubleFast = 7;
inline constexpr int kFirstPassCrf = 8;
inline constexpr int kFirstPassCrfFast = 9;
inline constexpr int kAutomatedDoubleCrf = 10;
inline constexpr int kAutomatedDoubleCrfFast = 11;
inline constexpr int kFirstPassCrfWithOutput = 12;
inline constexpr int kConditionalDouble = 13;

// `value` is a quantizer or a rate factor (otherwise a bitrate or a size).
constexpr bool IsQuantizerClass(int mode) {
  return mode == 1 || mode == 2 || mode == 8 || mode == 9 || mode == 12;
}
// Uses a statistics file.
constexpr bool IsMultiPass(int mode) { return mode > 2; }
// Its first pass takes the rate factor of `auto1pcrf`.
constexpr bool HasFirstPassCrf(int mode) { return mode == 10 || mode == 11 || mode == 13; }
// A first pass that throws its video away.
constexpr bool DiscardsOutput(int mode) { return mode == 3 || mode == 4 || mode == 8 || mode == 9; }

}  // namespace encode_mode
