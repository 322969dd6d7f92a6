#pragma once

// The command line of "teelog.exe --run LOGFILE PROGRAM ARGUMENTS...", read
// as the C runtime reads it, so that teelog knows where PROGRAM begins and can
// hand the rest of the line on untouched: PROGRAM then receives the very
// arguments it would have received had the batch started it directly.
//
// - The program token ends at the closing quote when it begins with one,
//   otherwise at the first blank or tab.
// - Every further token ends at a blank or tab outside quotes. Inside it, 2n
//   backslashes before a quote stand for n backslashes and the quote opens or
//   closes a quoted part; 2n+1 stand for n backslashes and a literal quote;
//   "" inside a quoted part is a literal quote; other backslashes are
//   literal. So "" alone is an empty token.
//
// PROGRAM itself is named as the command interpreter names a command: up to
// the first blank or tab outside quotes, the quotes left out.
//
// Pure and without the C++ library's strings, for teelog and the native
// tests alike: the characters of a token go one by one to a callback.

#include <cstddef>
#include <string_view>

namespace run_line {

template <class Char>
constexpr bool IsBlank(Char c) {
  return c == ' ' || c == '\t';
}

template <class Char>
constexpr std::size_t SkipBlanks(std::basic_string_view<Char> line, std::size_t at) {
  while (at < line.size() && IsBlank(line[at])) ++at;
  return at;
}

template <class Char>
constexpr std::size_t ProgramTokenEnd(std::basic_string_view<Char> line) {
  if (!line.empty() && line[0] == '"') {
    std::size_t at = 1;
    while (at < line.size() && line[at] != '"') ++at;
    return at < line.size() ? at + 1 : at;
  }
  std::size_t at = 0;
  while (at < line.size() && !IsBlank(line[at])) ++at;
  return at;
}

// Reads the token after the program that begins at `at`, giving each of its
// characters to `put`; returns where it ends.
template <class Char, class Put>
constexpr std::size_t ReadToken(std::basic_string_view<Char> line, std::size_t at, Put put) {
  bool quoted = false;
  while (at < line.size() && (quoted || !IsBlank(line[at]))) {
    std::size_t backslashes = 0;
    for (; at < line.size() && line[at] == '\\'; ++at) ++backslashes;
    const bool quote = at < line.size() && line[at] == '"';
    for (std::size_t i = quote ? backslashes / 2 : backslashes; i > 0; --i) put(Char('\\'));
    if (!quote) {
      if (backslashes == 0) put(line[at++]);
    } else if (backslashes % 2 == 1 || (quoted && at + 1 < line.size() && line[at + 1] == '"')) {
      put(Char('"'));
      at += backslashes % 2 == 1 ? 1 : 2;
    } else {
      quoted = !quoted;
      ++at;
    }
  }
  return at;
}

// Where the second token, the third and the rest of the line begin; each
// lies past the blanks before it, and is the line's length when the line
// ends before it.
struct Parts {
  std::size_t second = 0;
  std::size_t third = 0;
  std::size_t rest = 0;
};

template <class Char>
constexpr Parts FindParts(std::basic_string_view<Char> line) {
  constexpr auto drop = [](Char) {};
  Parts parts;
  parts.second = SkipBlanks(line, ProgramTokenEnd(line));
  parts.third = SkipBlanks(line, ReadToken(line, parts.second, drop));
  parts.rest = SkipBlanks(line, ReadToken(line, parts.third, drop));
  return parts;
}

// Gives the characters of the command name at the start of `command` to
// `put`.
template <class Char, class Put>
constexpr void ReadCommandName(std::basic_string_view<Char> command, Put put) {
  bool quoted = false;
  for (std::size_t at = 0; at < command.size() && (quoted || !IsBlank(command[at])); ++at) {
    if (command[at] == '"')
      quoted = !quoted;
    else
      put(command[at]);
  }
}

}  // namespace run_line
