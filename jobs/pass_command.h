#pragma once

#include <string>

#include "platform/media_probe.h"
#include "ui/window.h"

// The command line of one x264 run for the encode mode selected now: the
// program call, the common options, the pieces of the mode, the output, the
// input and the optional log pipe. Reads the controls at the moment of the
// call; the probe serves the bitrate derived from a target size.
std::string PassCommandBuilder(const Window& window, MediaProbe& media);

// Appends that line to the job list and, when audio is on and the mode
// writes the output, the audio and mux lines.
void AddPassToJobList(Window& window, MediaProbe& media);
