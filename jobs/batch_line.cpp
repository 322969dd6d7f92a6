#include "jobs/batch_line.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "core/utf8.h"

namespace {

constexpr size_t kLongestPath = 2048;
constexpr size_t kLongestNumber = 32;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

// An optional sign, then digits; the value within 32 bits, as x264 reads
// its whole numbers.
bool IsWholeNumber(std::string_view text) {
  if (text.size() > kLongestNumber) return false;
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) return false;
  while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
  if (text.size() > 10) return false;
  std::int64_t value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value <= (negative ? 2147483648LL : 2147483647LL);
}

// An optional sign, digits with at most one point, and at least one digit.
bool IsDecimal(std::string_view text) {
  if (text.size() > kLongestNumber) return false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  bool digit = false;
  bool point = false;
  for (char c : text) {
    if (IsDigit(c)) {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '.' || c == ',' ||
         c == '-' || c == '_';
}

bool IsWord(std::string_view text) {
  return !text.empty() && text.size() <= 64 &&
         std::all_of(text.begin(), text.end(), IsWordCharacter);
}

// A path Windows could name as a file: not empty, none of the characters
// that no file name holds (the double quote would end the quoted argument,
// a line break the line), and not ending in a folder separator. Such a
// path names a folder, and its last backslash would also turn the closing
// quote into a quote inside the argument for every program that splits its
// command line by the C runtime's rules.
bool IsPath(std::string_view text) {
  if (text.empty() || text.size() > kLongestPath) return false;
  if (text.back() == '\\' || text.back() == '/') return false;
  return std::none_of(text.begin(), text.end(), [](char c) {
    return IsControl(c) || c == '"' || c == '<' || c == '>' || c == '|' || c == '*' || c == '?';
  });
}

// A matrix file named without quotes is written as it is only when nothing
// in it means anything to the command interpreter.
bool IsBareFileName(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return IsWordCharacter(c) || c == '\\' || c == '/' || c == ':' ||
           static_cast<unsigned char>(c) >= 0x80;
  });
}

bool IsQuoted(std::string_view text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

std::string DoublePercent(std::string_view path) {
  std::string out;
  out.reserve(path.size() + 2);
  for (char c : path) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

std::string Written(const Arg& argument) {
  switch (argument.kind) {
    case ArgKind::QuotedWord:
      return '"' + argument.text + '"';
    case ArgKind::Path:
      return QuotedPath(argument.text);
    case ArgKind::MatrixFile:
      if (IsQuoted(argument.text))
        return QuotedPath(std::string_view(argument.text).substr(1, argument.text.size() - 2));
      return IsBareFileName(argument.text) ? argument.text : QuotedPath(argument.text);
    case ArgKind::ImportedScript:
      return "\"import(^" + DoublePercent(argument.text) + "^)\"";
    default:
      return argument.text;
  }
}

// The path inside a matrix file text, without its quotes.
std::string_view MatrixPath(std::string_view text) {
  return IsQuoted(text) ? text.substr(1, text.size() - 2) : text;
}

// The path an argument names, or nothing for the other kinds.
std::optional<std::string_view> NamedPath(const Arg& argument) {
  switch (argument.kind) {
    case ArgKind::Path:
    case ArgKind::ImportedScript:
      return std::string_view(argument.text);
    case ArgKind::MatrixFile:
      return MatrixPath(argument.text);
    default:
      return std::nullopt;
  }
}

// The argument as the program receives it.
std::string Received(const Arg& argument) {
  switch (argument.kind) {
    case ArgKind::MatrixFile:
      return std::string(MatrixPath(argument.text));
    case ArgKind::ImportedScript:
      return "import(^" + argument.text + "^)";
    default:
      return argument.text;
  }
}

constexpr std::string_view kPathRule =
    "a file path (without \", <, >, |, *, ? or line breaks, and not ending in \\ or /)";

}  // namespace

std::optional<Refusal> CheckArgument(const Arg& argument) {
  const std::string& text = argument.text;
  auto refuse = [&](std::string_view expected) -> std::optional<Refusal> {
    return Refusal{argument.field, text, std::string(expected)};
  };
  switch (argument.kind) {
    case ArgKind::Literal:
    case ArgKind::Program:
    case ArgKind::Pipe:
      return std::nullopt;
    case ArgKind::Integer:
      if (!IsWholeNumber(text)) return refuse("a whole number");
      return std::nullopt;
    case ArgKind::Decimal:
      if (!IsDecimal(text)) return refuse("a number (digits with at most one decimal point)");
      return std::nullopt;
    case ArgKind::Word:
    case ArgKind::QuotedWord:
      if (!IsWord(text)) return refuse("one of the entries of its list");
      return std::nullopt;
    case ArgKind::Path:
      if (!IsPath(text)) return refuse(kPathRule);
      return std::nullopt;
    case ArgKind::MatrixFile:
      if (!IsPath(MatrixPath(text))) return refuse("flat, jvt or a matrix file");
      return std::nullopt;
    case ArgKind::ImportedScript:
      if (!IsPath(text) || text.find('^') != std::string::npos)
        return refuse("a file path without ^ for the audio line (AviSynth reads ^ as a quote)");
      return std::nullopt;
  }
  return refuse("a well-formed value");
}

size_t InterpreterLength(std::string_view utf8) {
  size_t units = 0;
  for (size_t at = 0; at < utf8.size();) {
    const size_t length =
        std::max<size_t>(1, Utf8SequenceLength(static_cast<unsigned char>(utf8[at])));
    units += length == 4 ? 2 : 1;
    at += length;
  }
  return units;
}

std::optional<Refusal> CheckCommand(const BatchCommand& command) {
  for (const Arg& argument : command.args)
    if (std::optional<Refusal> refusal = CheckArgument(argument)) return refusal;
  if (InterpreterLength(WriteCommand(command)) <= kLongestBatchLine) return std::nullopt;
  const Arg* longest = nullptr;
  for (const Arg& argument : command.args)
    if (argument.field != cid::none && (!longest || argument.text.size() > longest->text.size()))
      longest = &argument;
  return Refusal{longest ? longest->field : cid::none, longest ? longest->text : std::string(),
                 "shorter: the command line would be too long"};
}

std::optional<Refusal> CheckCommands(std::span<const BatchCommand> commands) {
  for (const BatchCommand& command : commands)
    if (std::optional<Refusal> refusal = CheckCommand(command)) return refusal;
  return std::nullopt;
}

std::optional<Refusal> CheckBestFit(std::span<const BatchCommand> commands,
                                    const BestFitLookup& bestFit) {
  if (!bestFit) return std::nullopt;
  for (const BatchCommand& command : commands)
    for (const Arg& argument : command.args) {
      const std::optional<std::string_view> path = NamedPath(argument);
      if (!path) continue;
      if (std::optional<BestFit> found = bestFit(*path))
        return Refusal{argument.field, argument.text,
                       "a path without " + found->character +
                           ", which programs that read their command line in the system's code "
                           "page take for " +
                           found->seenAs};
    }
  return std::nullopt;
}

std::string WriteArguments(const ArgList& arguments) {
  std::string line;
  for (const Arg& argument : arguments) {
    assert(!CheckArgument(argument) && "only checked arguments are written");
    line += argument.before;
    line += Written(argument);
  }
  return line;
}

std::string WriteCommand(const BatchCommand& command) {
  return command.head + WriteArguments(command.args);
}

std::string QuotedPath(std::string_view path) { return '"' + DoublePercent(path) + '"'; }

std::vector<ProgramCall> ProgramCalls(const BatchCommand& command) {
  std::vector<ProgramCall> calls;
  // The file test is the head's last "if" ("if errorlevel 0 if not exist").
  std::string_view test = command.head;
  if (const size_t last = test.rfind("if "); last != std::string_view::npos)
    test.remove_prefix(last);
  while (!test.empty() && (test.front() == '@' || test.front() == ' ')) test.remove_prefix(1);
  while (!test.empty() && (test.back() == '@' || test.back() == ' ')) test.remove_suffix(1);
  bool open = false;  // whether an argument may be glued to the one before
  for (const Arg& argument : command.args) {
    if (argument.kind == ArgKind::Pipe) {
      open = false;
      continue;
    }
    if (argument.kind == ArgKind::Program) {
      calls.push_back({argument.text, {}});
      open = false;
      continue;
    }
    if (calls.empty()) calls.push_back({std::string(test), {}});
    std::vector<std::string>& received = calls.back().arguments;
    std::string_view before = argument.before;
    if (calls.back().program == "echo") {
      // echo shows the rest of its line as it stands, quotes and all, once
      // the command interpreter has read it.
      if (received.empty()) {
        before.remove_prefix(before.empty() ? 0 : 1);
        received.emplace_back();
      }
      received.back() += before;
      received.back() += argument.kind == ArgKind::Path ? '"' + argument.text + '"' : argument.text;
      continue;
    }
    // A separator without a blank glues the argument to the one before
    // ("1:1", "-create=" and the path).
    if (open && (before.empty() || before.front() != ' ')) {
      received.back() += std::string(before) + Received(argument);
      continue;
    }
    while (!before.empty() && before.front() == ' ') before.remove_prefix(1);
    received.push_back(std::string(before) + Received(argument));
    open = true;
  }
  return calls;
}
