#pragma once

#include <span>
#include <string>
#include <string_view>

// The batch file "Make BAT" saves: the preamble that makes the program's
// folder the current directory and sets up the search path, then every job
// list line. Every line ends with CR LF.
std::string MakeBatScript(std::span<const std::string> jobLines, std::string_view programFolder);

// The batch file "Start" runs, named `name`: the preamble, a pause while the
// front-end lowers its priority, every job list line, and a last line that
// deletes the file itself and has no line end.
std::string StartScript(std::span<const std::string> jobLines, std::string_view programFolder,
                        std::string_view name);

// The line "Shut" appends.
inline constexpr std::string_view kShutdownLine = "shutdown.exe -s -f -t 30";
