#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/control_id.h"

// What an argument of a batch line is. The kind decides how the argument is
// written and what its text must look like; the batch-line writer refuses a
// text that is not well formed for its kind.
enum class ArgKind {
  Literal,         // the program's own text (a switch, a program, "nul", a pipe): as it is
  Integer,         // a whole number: an optional sign and digits, within 32 bits
  Decimal,         // an optional sign, digits and at most one point
  Word,            // an entry of a list, or a name made from entries: letters, digits, . , - _
  QuotedWord,      // a word written in double quotes
  Path,            // a file path, written in double quotes with every "%" doubled
  MatrixFile,      // the `cqm` text: a path in double quotes, or a bare file name
  ImportedScript,  // a path written as the AviSynth call "import(^path^)"
  Program,         // a program the line runs; the arguments that follow are its own
  Pipe,            // "|" or "2>&1|": what the program before prints goes to the next
};

// One argument: its kind, its text, the control the text came from (named
// to the user when the text is refused) and what separates it from what
// stands before it in the line.
struct Arg {
  ArgKind kind;
  std::string text;
  ControlId field = cid::none;
  std::string_view before = " ";
};

// Arguments in the order they stand in a line.
using ArgList = std::vector<Arg>;

// Appends `more` to `to`.
inline void Append(ArgList& to, const ArgList& more) {
  to.insert(to.end(), more.begin(), more.end());
}

namespace arg {

inline Arg Literal(std::string_view text, std::string_view before = " ") {
  return {ArgKind::Literal, std::string(text), cid::none, before};
}
inline Arg Integer(std::string text, ControlId field, std::string_view before = " ") {
  return {ArgKind::Integer, std::move(text), field, before};
}
inline Arg Decimal(std::string text, ControlId field, std::string_view before = " ") {
  return {ArgKind::Decimal, std::move(text), field, before};
}
inline Arg Word(std::string text, ControlId field, std::string_view before = " ") {
  return {ArgKind::Word, std::move(text), field, before};
}
inline Arg QuotedWord(std::string text, ControlId field) {
  return {ArgKind::QuotedWord, std::move(text), field, " "};
}
inline Arg Path(std::string text, ControlId field, std::string_view before = " ") {
  return {ArgKind::Path, std::move(text), field, before};
}
inline Arg MatrixFile(std::string text, ControlId field) {
  return {ArgKind::MatrixFile, std::move(text), field, " "};
}
inline Arg ImportedScript(std::string text, ControlId field) {
  return {ArgKind::ImportedScript, std::move(text), field, " "};
}
inline Arg Program(std::string_view name, std::string_view before = " ") {
  return {ArgKind::Program, std::string(name), cid::none, before};
}
inline Arg Pipe(std::string_view text) {
  return {ArgKind::Pipe, std::string(text), cid::none, " "};
}

}  // namespace arg
