#pragma once

#include <string>

#include "ui/window.h"

// The audio file of a job: beside the output, "{stem}.audio.aac" for the
// encoder "CT AAC" (index 0), "{stem}.audio.mp4" for the others.
std::string AudioFile(const Window& window, int encoder);

// Appends the line that decodes the input's audio through AviSynth and
// encodes it with the encoder of that index (the `ae` list), then the mux
// lines. An index outside 0 to 4 appends nothing.
void AddAudioCommands(Window& window, int encoder);
