#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "jobs/batch_line.h"
#include "settings/settings_value.h"

// Appends the lines that join the audio file with the video the passes
// wrote, by the muxer of `muxer`, and the lines that remove the sources
// once the muxer succeeded. "No mux" and "Audio Only" append nothing.
void AddMuxCommands(const Settings& s, std::string_view audioFile, BatchCommands& commands);
