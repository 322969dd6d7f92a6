#pragma once

#include <string>
#include <vector>

#include "args/argument.h"
#include "args/encoder_dialect.h"
#include "jobs/batch_line.h"
#include "platform/media_probe.h"
#include "settings/settings_value.h"

// The lines of a job, in order.
using JobLines = std::vector<std::string>;

// The arguments of one x264 run for the encode mode of `s`, after the
// program call, in the switches of `dialect`: the common options, the pieces
// of the mode, for a current x264 the overrides of its defaults, the output,
// the input and the optional log pipe. The probe serves the bitrate derived
// from a target size.
ArgList PassArguments(const Settings& s, MediaProbe& media, const EncoderDialect& dialect = {});

// The line of that run: x264.exe with those arguments, behind the size
// check's condition in the conditional mode.
BatchCommand PassCommand(const Settings& s, MediaProbe& media, const EncoderDialect& dialect = {});

// That line as written, for settings that pass CheckCommand.
std::string PassCommandBuilder(const Settings& s, MediaProbe& media,
                               const EncoderDialect& dialect = {});

// Appends that line to `commands` and, when audio is on and the mode writes
// the output, the audio and mux lines.
void AppendPass(const Settings& s, MediaProbe& media, BatchCommands& commands,
                const EncoderDialect& dialect = {});
