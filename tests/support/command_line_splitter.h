#pragma once

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// An independent reading of batch lines, written from the rules of the
// command interpreter and of the C runtime, to judge what the program writes:
//
// - the interpreter expands "%name%" ("%%" is one "%"; Wine's reads what it
//   put in for a variable once more, from its start); then, outside double
//   quotes, "^" takes the next character as it is and "| & < > ( )" are its
//   own; "@" at the start of a command hides it; "if [not] errorlevel N" and
//   "if [not] exist F" test before the command that follows, which may be
//   another test; echo, del and ren are its own commands;
// - every other program splits its command line as the C runtime does:
//   blanks separate arguments outside quotes; 2n backslashes before a quote
//   give n backslashes and the quote opens or closes a quoted part, 2n+1
//   give n backslashes and a literal quote; "" inside a quoted part is a
//   literal quote; other backslashes are literal.

struct ReceivedCall {
  std::string program;
  std::vector<std::string> arguments;
  bool operator==(const ReceivedCall&) const = default;
};

inline void PrintTo(const ReceivedCall& call, std::ostream* out) {
  *out << call.program;
  for (const std::string& argument : call.arguments) *out << " [" << argument << "]";
}

struct LineReading {
  std::vector<ReceivedCall> calls;
  // What the interpreter would do beyond the programs and tests above
  // (another command, a redirection, a variable nobody set), in words.
  std::vector<std::string> problems;
};

struct Interpreter {
  std::map<std::string, std::string> variables;  // by upper-case name
  // Characters that programs reading their command line in the ANSI code
  // page see as another one (UTF-8 to UTF-8).
  std::map<std::string, std::string> bestFit;
  // Wine's interpreter: the value of a variable is read again for "%".
  bool readsValuesAgain = false;
};

// What each program on a line of a batch file receives.
LineReading ReadBatchLine(std::string_view line, const Interpreter& interpreter = {});

// The arguments the C runtime makes of a command line, the program first.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);
