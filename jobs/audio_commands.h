#pragma once

#include <string>
#include <vector>

#include "jobs/batch_line.h"
#include "settings/settings_value.h"

// The audio file of a job: beside the output, "{stem}.audio.aac" for the
// encoder "CT AAC", "{stem}.audio.mp4" for the others.
std::string AudioFile(const Settings& s);

// Appends the line that decodes the input's audio through AviSynth and
// encodes it with the encoder of `ae`, then the mux lines. An encoder
// outside the list appends nothing.
void AddAudioCommands(const Settings& s, BatchCommands& commands);
