#include "jobs/batch_line.h"

#include <algorithm>
#include <cstdint>

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

// A path Windows could name: not empty, and none of the characters that no
// file name holds, of which the double quote would end the quoted argument
// and a line break would end the line.
bool IsPath(std::string_view text) {
  if (text.empty() || text.size() > kLongestPath) return false;
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

}  // namespace

std::optional<Refusal> CheckArgument(const Arg& argument) {
  const std::string& text = argument.text;
  auto refuse = [&](std::string_view expected) -> std::optional<Refusal> {
    return Refusal{argument.field, text, expected};
  };
  switch (argument.kind) {
    case ArgKind::Literal:
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
      if (!IsPath(text)) return refuse("a file path (without \", <, >, |, *, ? or line breaks)");
      return std::nullopt;
    case ArgKind::MatrixFile: {
      const std::string_view path = IsQuoted(text)
                                        ? std::string_view(text).substr(1, text.size() - 2)
                                        : std::string_view(text);
      if (!IsPath(path)) return refuse("flat, jvt or a matrix file");
      return std::nullopt;
    }
    case ArgKind::ImportedScript:
      if (!IsPath(text) || text.find('^') != std::string::npos)
        return refuse("a file path without ^ for the audio line (AviSynth reads ^ as a quote)");
      return std::nullopt;
  }
  return refuse("a well-formed value");
}

std::string WriteArguments(const ArgList& arguments) {
  std::string line;
  for (const Arg& argument : arguments) {
    if (std::optional<Refusal> refusal = CheckArgument(argument)) throw RefusedArgument(*refusal);
    line += argument.before;
    line += Written(argument);
  }
  return line;
}

std::string BatchLine(std::string_view head, const ArgList& arguments) {
  std::string line(head);
  line += WriteArguments(arguments);
  if (line.size() > kLongestBatchLine) {
    const Arg* longest = nullptr;
    for (const Arg& argument : arguments)
      if (argument.kind != ArgKind::Literal &&
          (!longest || argument.text.size() > longest->text.size()))
        longest = &argument;
    throw RefusedArgument(Refusal{longest ? longest->field : cid::none,
                                  longest ? longest->text : std::string(),
                                  "shorter: the command line would be too long"});
  }
  return line;
}

std::string QuotedPath(std::string_view path) { return '"' + DoublePercent(path) + '"'; }
