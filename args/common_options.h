#pragma once

#include "args/option_fragment.h"
#include "ui/window.h"

// The groups every x264 command carries right after the program call, in
// their fixed order.
OptionFragment CommonOptions(const Window& window);
