#pragma once

#include <string_view>

// The folders the program keeps inside its own folder, by what they hold.
namespace program_folders {

inline constexpr std::string_view kWrappers = "avs";     // wrapper scripts of non-AviSynth inputs
inline constexpr std::string_view kStats = "stats";      // first-pass statistics
inline constexpr std::string_view kPresets = "configs";  // named presets
inline constexpr std::string_view kLogs = "log";         // the encoders' logs
inline constexpr std::string_view kAvsinc = "avsinc";    // scripts the wrappers import
inline constexpr std::string_view kTools = "tools";      // helper programs the batch finds

// Those that start-up creates.
inline constexpr std::string_view kCreated[] = {kWrappers, kStats, kPresets, kLogs, kAvsinc};

}  // namespace program_folders
