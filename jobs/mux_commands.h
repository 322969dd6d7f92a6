#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_value.h"

// Appends the lines that join the audio file with the video the passes
// wrote, by the muxer of `muxer`, and the lines that remove the sources
// afterwards. "No mux" and "Audio Only" append nothing. Throws
// RefusedArgument when the output cannot stand in a line.
void AddMuxCommands(const Settings& s, std::string_view audioFile, std::vector<std::string>& lines);
