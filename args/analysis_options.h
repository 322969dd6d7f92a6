#pragma once

#include "args/option_fragment.h"
#include "ui/window.h"

// Option groups of the analysis settings: partitions and the 8x8 transform,
// B-frames, motion search, subpixel refinement, references, chroma motion
// estimation, entropy coding and the macroblock switches. Each reads the
// controls at the moment of the call and has no other effect.

OptionFragment PartitionOptions(const Window& window);
OptionFragment FirstPassPartitionOptions(const Window& window);
OptionFragment BFrameOptions(const Window& window);
OptionFragment MotionSearchOptions(const Window& window);
OptionFragment FastMotionSearchOptions(const Window& window);
OptionFragment SubmeOptions(const Window& window);
OptionFragment SubmeCap6Options(const Window& window);
OptionFragment SubmeCap3Options(const Window& window);
OptionFragment ReferenceOptions(const Window& window);
OptionFragment ChromaMeOption(const Window& window);
OptionFragment EntropyOptions(const Window& window);
OptionFragment CabacOnlyOption(const Window& window);
OptionFragment MacroblockSwitches(const Window& window);
