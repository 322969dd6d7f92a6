#include "args/common_options.h"

#include "args/analysis_options.h"
#include "args/rate_control_options.h"

OptionFragment CommonOptions(const Window& window) {
  return MetricOptions(window) + QuantMatrixOptions(window) + MacroblockSwitches(window) +
         KeyframeOptions(window) + SarOption(window) + ThreadOptions(window) +
         NoiseReductionOption(window) + DeblockOptions(window) + BFrameOptions(window) +
         DeadzoneOptions(window) + AqOptions(window) + ChromaQpOffsetOption(window) +
         LevelOption(window) + PsyRdOption(window);
}
