#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "jobs/batch_line.h"
#include "jobs/batch_steps.h"

// The batch file "Make BAT" saves: the preamble that makes the program's
// folder the current directory and sets up the search path, then every job
// list line. Every line ends with CR LF.
//
// The command interpreter reads a batch file in the console's code page. A
// file that code page cannot spell is written as `unicode`: in UTF-8, the
// console switched to UTF-8 by a first "chcp 65001" and back to the code
// page it had by a last line.
//
// A "!" means a variable where delayed expansion is on for the user; a file
// that holds one begins with "@setlocal DisableDelayedExpansion".
std::string MakeBatScript(std::span<const std::string> jobLines, std::string_view programFolder,
                          bool unicode = false);

// The batch file "Start" runs, and what it needs in its environment: the
// preamble, the job list lines as the workers run them (batch_steps.h), and
// a last line that deletes the file itself and has no line end.
//
// Every longest run of characters that the console's code page cannot spell
// (`spelled` says which it can) stands in the file as a variable of the
// environment the batch is started with ("%QUORVEL_1%"), one per distinct
// run, whose value is the run. The command interpreter puts it into the
// line; as it holds no "%" or any other character the interpreter reads,
// the line means the same to every interpreter, Wine's too, which reads a
// value it put in once more.
//
// A job line longer than the command interpreter reads, as the file holds
// it or as it reads once the variables are put in, is refused: the
// refusal names the line and its job.
struct StartBatch {
  std::string script;
  std::vector<std::pair<std::string, std::string>> variables;
  std::optional<Refusal> refusal;
};
StartBatch StartScript(std::span<const std::string> jobLines, std::string_view programFolder,
                       const WorkerPlan& plan,
                       const std::function<bool(std::string_view character)>& spelled);
