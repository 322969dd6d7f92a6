#pragma once

#include "settings/settings_value.h"

// The settings a first start shows (the built-in defaults, in the empty
// program folder "C:\\prog\\"), read from the in-memory window.
Settings FirstStartSettings();
