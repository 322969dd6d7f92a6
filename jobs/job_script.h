#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The batch file "Make BAT" saves: the preamble that makes the program's
// folder the current directory and sets up the search path, then every job
// list line. Every line ends with CR LF.
//
// The command interpreter reads a batch file in the console's code page. A
// file that code page cannot spell is written as `unicode`: in UTF-8, the
// console switched to UTF-8 by a first "chcp 65001" and back to the code
// page it had by a last line.
std::string MakeBatScript(std::span<const std::string> jobLines, std::string_view programFolder,
                          bool unicode = false);

// The batch file "Start" runs, named `name`, and what it needs in its
// environment: the preamble, a pause while the front-end lowers its
// priority, every job list line, and a last line that deletes the file
// itself and has no line end.
//
// Every run of characters that `spelled` says the console's code page lacks
// stands in the file as a variable of the environment the batch is started
// with ("%QUORVEL_1%"), whose value is those characters: the command
// interpreter puts them into the command lines as they are.
struct StartBatch {
  std::string script;
  std::vector<std::pair<std::string, std::string>> variables;
};
StartBatch StartScript(std::span<const std::string> jobLines, std::string_view programFolder,
                       std::string_view name,
                       const std::function<bool(std::string_view character)>& spelled);

// The line "Shut" appends.
inline constexpr std::string_view kShutdownLine = "shutdown.exe -s -f -t 30";
