#pragma once

#include <optional>

#include "args/argument.h"
#include "args/encoder_dialect.h"
#include "platform/media_probe.h"
#include "settings/settings_value.h"

// Option groups of rate control and quantization, key frames, the level and
// the miscellaneous switches. Each is a pure function of the settings (and,
// for the bitrate, of the facts of the input clip).

// "-B" and the bitrate: `value` as typed, or, in size mode, derived from the
// target size in MB and the clip's frame count and duration. Nothing when
// the clip could not be opened or gives no usable rate or duration.
ArgList BitrateOption(const Settings& s, const std::optional<ClipInfo>& clip);
ArgList QuantizerLimitOptions(const Settings& s);
ArgList FrameQpRatioOptions(const Settings& s);
ArgList ChromaQpOffsetOption(const Settings& s);
ArgList VbvOptions(const Settings& s, bool omitRatetol);
ArgList KeyframeOptions(const Settings& s);
ArgList AqOptions(const Settings& s);
ArgList DeadzoneOptions(const Settings& s);
ArgList LevelOption(const Settings& s);
ArgList PsyRdOption(const Settings& s);
ArgList NoiseReductionOption(const Settings& s);
ArgList QuantMatrixOptions(const Settings& s);
ArgList SarOption(const Settings& s);
ArgList ThreadOptions(const Settings& s);
// The classic dialect switches unticked metrics off; a current x264 computes
// none unless asked, so ticked ones are switched on.
ArgList MetricOptions(const Settings& s, const EncoderDialect& dialect);
inline ArgList MetricOptions(const Settings& s) { return MetricOptions(s, {}); }
ArgList DeblockOptions(const Settings& s);
