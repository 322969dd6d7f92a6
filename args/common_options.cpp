#include "args/common_options.h"

#include "args/analysis_options.h"
#include "args/rate_control_options.h"

ArgList CommonOptions(const Settings& s) {
  ArgList args;
  for (ArgList (*group)(const Settings&) :
       {MetricOptions, QuantMatrixOptions, MacroblockSwitches, KeyframeOptions, SarOption,
        ThreadOptions, NoiseReductionOption, DeblockOptions, BFrameOptions, DeadzoneOptions,
        AqOptions, ChromaQpOffsetOption, LevelOption, PsyRdOption})
    Append(args, group(s));
  return args;
}
