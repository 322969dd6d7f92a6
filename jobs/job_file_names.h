#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "jobs/batch_line.h"

// The three lines of the AviSynth script that wraps a source that is not a
// script itself, each ended by CR LF: the source path, the source path
// without extension, and the import of the chosen preset of "avsinc".
std::string WrapperScript(std::string_view input, std::string_view preset);

// The file names a job takes from its input.
struct JobFileNames {
  std::string statsfile;  // in the program's "stats" folder
  std::string logfile;    // in the program's "log" folder
  std::string output;     // in the output folder, with the extension "mp4"
  std::string input;      // the input itself, or the wrapper that reads it
  // For an input that is not an AviSynth script: the wrapper script to write
  // at `input`.
  std::optional<std::string> wrapper;
};

// The names for `input` (not empty), with the output in `folder`, which ends
// with a backslash; `preset` is the AviSynth preset a wrapper imports.
JobFileNames DeriveJobFileNames(std::string_view input, std::string_view preset,
                                std::string_view programFolder, std::string_view folder);

// Whether the names can stand in the lines of a job: the refusal of the
// first that cannot, as a path or for `bestFit`.
std::optional<Refusal> CheckJobFileNames(const JobFileNames& names, const BestFitLookup& bestFit);
