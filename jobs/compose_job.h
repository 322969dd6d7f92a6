#pragma once

#include <optional>

#include "jobs/batch_line.h"
#include "jobs/pass_command.h"
#include "platform/media_probe.h"
#include "settings/settings_value.h"

// The body of one job, or why it cannot be made.
struct ComposedJob {
  JobLines lines;                  // empty when the input or the output is empty
  BatchCommands commands;          // the same lines as their parts
  std::optional<Refusal> refusal;  // set, with no lines, when a setting cannot stand in a line
};

// The body of one job from the settings: the information lines, the pass
// lines of the encode mode (the automated and conditional modes as their
// stages, each built from a modified copy of the settings), the size check,
// the audio and mux lines. Nothing when the input or the output is empty.
// The pass lines are written in the switches of `dialect`; a path that
// `bestFit` finds a character in is refused. The caller appends the lines,
// framed, and empties the file fields.
ComposedJob ComposeJob(const Settings& s, MediaProbe& media, const EncoderDialect& dialect = {},
                       const BestFitLookup& bestFit = {});

// Whether the settings themselves can make a job, before any input is
// chosen: the job is composed with stand-in file names (and no clip to
// probe). The refusal of the first setting that cannot stand in a line.
std::optional<Refusal> CheckSettings(const Settings& s, const BestFitLookup& bestFit = {});
