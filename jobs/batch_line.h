#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "args/argument.h"

// Why an argument cannot stand in a batch line: the control its text came
// from, the text, and what the text would have to be.
struct Refusal {
  ControlId field;
  std::string text;
  std::string_view expected;  // "a whole number", "a file path ...", ...
};

// Thrown by the writer for the first argument of a line that is not well
// formed; carries the refusal.
class RefusedArgument : public std::exception {
 public:
  explicit RefusedArgument(Refusal refusal) : refusal_(std::move(refusal)) {}
  const Refusal& refusal() const { return refusal_; }
  const char* what() const noexcept override { return "an argument is not well formed"; }

 private:
  Refusal refusal_;
};

// The longest line the command interpreter reads.
inline constexpr size_t kLongestBatchLine = 8191;

// Nothing when the argument is well formed for its kind; otherwise why not.
std::optional<Refusal> CheckArgument(const Arg& argument);

// The one writer of batch lines. Each argument follows its separator:
// literals as they are; numbers and words as typed, once they are well
// formed; paths in double quotes with every "%" doubled (the command
// interpreter reads "%" as the start of a variable, in quotes too). Throws
// RefusedArgument for the first argument that is not well formed.
std::string WriteArguments(const ArgList& arguments);

// `head` (the program call, "@if errorlevel 1 @x264.exe", ...) followed by
// the arguments. A line longer than the command interpreter reads is
// refused for its longest path.
std::string BatchLine(std::string_view head, const ArgList& arguments);

// A path in double quotes with "%" doubled, for a path the program made
// itself (its own folder, a name derived from a checked one).
std::string QuotedPath(std::string_view path);
