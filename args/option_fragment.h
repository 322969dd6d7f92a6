#pragma once

#include <string>

// A run of x264 switches, each beginning with one blank (" --no-cabac"), or
// empty. Fragments are joined by plain concatenation.
using OptionFragment = std::string;
