#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "args/argument.h"
#include "platform/file_system.h"

// Why an argument cannot stand in a batch line: the control its text came
// from, the text, and what the text would have to be.
struct Refusal {
  ControlId field;
  std::string text;
  std::string expected;  // "a whole number", "a file path ...", ...
  bool operator==(const Refusal&) const = default;
};

// The longest line the command interpreter reads, in the characters it
// counts: UTF-16 units, two for a character beyond the first plane.
inline constexpr size_t kLongestBatchLine = 8191;
size_t InterpreterLength(std::string_view utf8);

// One line of a batch file as its parts: what the command interpreter reads
// before the first program ("@", "@if errorlevel 1 @",
// "@if errorlevel 0 if not errorlevel 1 if not exist"), then the arguments in
// order, among them the programs the line runs (ArgKind::Program)
// and the pipes between them.
struct BatchCommand {
  std::string head;
  ArgList args;
};
using BatchCommands = std::vector<BatchCommand>;

// Nothing when the argument is well formed for its kind; otherwise why not.
std::optional<Refusal> CheckArgument(const Arg& argument);

// The first argument of the command that is not well formed, or, when the
// line would be longer than the command interpreter reads, its longest
// argument; nothing when the line can be written.
std::optional<Refusal> CheckCommand(const BatchCommand& command);
std::optional<Refusal> CheckCommands(std::span<const BatchCommand> commands);

// The character of a text that programs reading their command line in the
// system's code page take for another (FileSystem::bestFit).
using BestFitLookup = std::function<std::optional<BestFit>(std::string_view text)>;

// The first path of the commands that holds such a character.
std::optional<Refusal> CheckBestFit(std::span<const BatchCommand> commands,
                                    const BestFitLookup& bestFit);

// The one writer of batch lines, for arguments that passed the checks. Each
// argument follows its separator: literals and programs as they are;
// numbers and words as typed; paths in double quotes with every "%" doubled
// (the command interpreter reads "%" as the start of a variable, in quotes
// too).
std::string WriteArguments(const ArgList& arguments);
std::string WriteCommand(const BatchCommand& command);

// A path in double quotes with "%" doubled, for a path the program made
// itself (its own folder, a name derived from a checked one).
std::string QuotedPath(std::string_view path);

// What one program of a line receives: its name as the line calls it and
// its arguments, each as the program's C runtime hands it over. Arguments
// before the first program are the command interpreter's own (the file that
// "if [not] exist" tests); they are given under the name of the head's last
// test.
struct ProgramCall {
  std::string program;
  std::vector<std::string> arguments;
  bool operator==(const ProgramCall&) const = default;
};
std::vector<ProgramCall> ProgramCalls(const BatchCommand& command);
