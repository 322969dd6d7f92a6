#pragma once

#include "args/argument.h"
#include "args/encoder_dialect.h"
#include "settings/settings_value.h"

// Option groups of the analysis settings: partitions and the 8x8 transform,
// B-frames, motion search, subpixel refinement, references, chroma motion
// estimation, entropy coding and the macroblock switches. Each is a pure
// function of the settings.

ArgList PartitionOptions(const Settings& s);
ArgList FirstPassPartitionOptions(const Settings& s);
ArgList BFrameOptions(const Settings& s, const EncoderDialect& dialect);
inline ArgList BFrameOptions(const Settings& s) { return BFrameOptions(s, {}); }
ArgList MotionSearchOptions(const Settings& s);
ArgList FastMotionSearchOptions(const Settings& s);
ArgList SubmeOptions(const Settings& s);
ArgList SubmeCap6Options(const Settings& s);
ArgList SubmeCap3Options(const Settings& s);
ArgList ReferenceOptions(const Settings& s);
ArgList ChromaMeOption(const Settings& s);
ArgList EntropyOptions(const Settings& s);
ArgList CabacOnlyOption(const Settings& s);
ArgList MacroblockSwitches(const Settings& s);
