#include "args/common_options.h"

#include "args/analysis_options.h"
#include "args/rate_control_options.h"

ArgList CommonOptions(const Settings& s, const EncoderDialect& dialect) {
  ArgList args = MetricOptions(s, dialect);
  for (ArgList (*group)(const Settings&) :
       {QuantMatrixOptions, MacroblockSwitches, KeyframeOptions, SarOption, ThreadOptions,
        NoiseReductionOption, DeblockOptions})
    Append(args, group(s));
  Append(args, BFrameOptions(s, dialect));
  for (ArgList (*group)(const Settings&) :
       {DeadzoneOptions, AqOptions, ChromaQpOffsetOption, LevelOption, PsyRdOption})
    Append(args, group(s));
  return args;
}
