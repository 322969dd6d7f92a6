#pragma once

#include <optional>
#include <string_view>

#include "jobs/batch_line.h"
#include "ui/control_id.h"

// Nothing when a path typed into the file field `field` names, wherever the
// batch runs, the file it says, and reaches every program as a file;
// otherwise why not. A path fails when it
// - begins with "-": programs read it as one of their options;
// - ends in a blank or a dot: Windows drops them from a file's name, so the
//   path names the file without them, as another line of the job may too;
// - names a drive without "\" after it ("C:x.mkv"): it lies in the current
//   folder of that drive, which the batch does not choose.
// A path relative to the program folder ("clip.avs", ".\-o clip.avs") is a
// file there.
std::optional<Refusal> CheckTypedPath(ControlId field, std::string_view text);
