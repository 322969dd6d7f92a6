#pragma once

#include <string_view>

#include "ui/window.h"

// Appends to the job list the lines that join the audio file with the video
// the passes wrote, by the muxer chosen in `muxer`, and the lines that remove
// the sources afterwards. `quotedAudio` is the audio file in double quotes.
// "No mux" and "Audio Only" append nothing.
void AddMuxCommands(Window& window, std::string_view quotedAudio);
