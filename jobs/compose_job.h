#pragma once

#include "platform/media_probe.h"
#include "ui/window.h"

// Appends the body of one job to the job list from the settings of the
// moment: the information lines, the pass lines of the encode mode (the
// automated and conditional modes as their stages), the size check, the
// audio and mux lines; then empties the input, output, stats and log fields.
// Appends nothing when the input or the output is empty.
void ComposeJob(Window& window, MediaProbe& media);
