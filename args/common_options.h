#pragma once

#include "args/argument.h"
#include "args/encoder_dialect.h"
#include "settings/settings_value.h"

// The groups every x264 command carries right after the program call, in
// their fixed order.
ArgList CommonOptions(const Settings& s, const EncoderDialect& dialect = {});
