#pragma once

#include <string_view>

#include "args/option_fragment.h"
#include "platform/media_probe.h"
#include "ui/window.h"

// Option groups of rate control and quantization, key frames, the level and
// the miscellaneous switches. Each reads the controls at the moment of the
// call and has no other effect.

// " -B " and the bitrate: `value` as typed, or, in size mode, derived from
// the target size in MB and the clip's frame count and duration. Empty when
// the clip cannot be opened or gives no usable rate or duration.
OptionFragment BitrateOption(const Window& window, MediaProbe& media, std::string_view inputPath,
                             bool sizeMode);
OptionFragment QuantizerLimitOptions(const Window& window);
OptionFragment FrameQpRatioOptions(const Window& window);
OptionFragment ChromaQpOffsetOption(const Window& window);
OptionFragment VbvOptions(const Window& window, bool omitRatetol);
OptionFragment KeyframeOptions(const Window& window);
OptionFragment AqOptions(const Window& window);
OptionFragment DeadzoneOptions(const Window& window);
OptionFragment LevelOption(const Window& window);
OptionFragment PsyRdOption(const Window& window);
OptionFragment NoiseReductionOption(const Window& window);
OptionFragment QuantMatrixOptions(const Window& window);
OptionFragment SarOption(const Window& window);
OptionFragment ThreadOptions(const Window& window);
OptionFragment MetricOptions(const Window& window);
OptionFragment DeblockOptions(const Window& window);
