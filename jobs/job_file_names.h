#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "ui/window.h"

// The three lines of the AviSynth script that wraps a source that is not a
// script itself, each ended by CR LF: the source path, the source path
// without extension, and the import of the chosen preset of "avsinc".
std::string WrapperScript(std::string_view input, std::string_view preset);

// From the current `input`, fills `statsfile` and `logfile` (in the program's
// "stats" and "log" folders) and `output` (in `folder`, which ends with a
// backslash). An input that is not an AviSynth script is wrapped: the
// wrapper goes to the program's "avs" folder and becomes the input. An empty
// input changes nothing.
void DeriveJobFileNames(Window& window, FileSystem& files, std::string_view folder);
