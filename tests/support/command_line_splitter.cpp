#include "support/command_line_splitter.h"

#include <optional>

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reading a value once more, Wine's interpreter may never end.
constexpr size_t kMostExpansions = 10000;

// Percent expansion as in a batch file.
std::string ExpandPercent(std::string_view original, const Interpreter& interpreter,
                          std::vector<std::string>& problems) {
  std::string line(original);
  std::string out;
  size_t expansions = 0;
  for (size_t at = 0; at < line.size();) {
    if (line[at] != '%') {
      out += line[at++];
      continue;
    }
    if (at + 1 < line.size() && line[at + 1] == '%') {
      out += '%';
      at += 2;
      continue;
    }
    if (at + 1 < line.size() &&
        ((line[at + 1] >= '0' && line[at + 1] <= '9') || line[at + 1] == '*')) {
      problems.push_back("a batch parameter %" + std::string(1, line[at + 1]));
      at += 2;
      continue;
    }
    const size_t close = line.find('%', at + 1);
    if (close == std::string_view::npos) {
      problems.push_back("a lone %");
      ++at;
      continue;
    }
    const std::string name = Upper(line.substr(at + 1, close - at - 1));
    auto found = interpreter.variables.find(name);
    if (found == interpreter.variables.end()) {
      problems.push_back("the variable %" + name + "%");
    } else if (interpreter.readsValuesAgain) {
      if (++expansions > kMostExpansions) {
        problems.push_back("a variable that expands without end");
        return out;
      }
      line.replace(at, close + 1 - at, found->second);
      continue;
    } else {
      out += found->second;
    }
    at = close + 1;
  }
  return out;
}

// One command of a pipe as the interpreter hands it on: carets taken away,
// quotes kept, redirections removed.
struct Segment {
  std::string text;
};

// Splits at "|" outside quotes and removes carets and redirections there.
std::vector<Segment> ReadSpecials(std::string_view line, bool echo,
                                  std::vector<std::string>& problems) {
  std::vector<Segment> segments(1);
  bool quoted = false;
  for (size_t at = 0; at < line.size(); ++at) {
    const char c = line[at];
    std::string& text = segments.back().text;
    if (c == '"') {
      quoted = !quoted;
      text += c;
      continue;
    }
    if (quoted) {
      text += c;
      continue;
    }
    switch (c) {
      case '^':
        if (at + 1 == line.size())
          problems.push_back("a caret at the end of the line");
        else
          text += line[++at];
        break;
      case '|':
        segments.emplace_back();
        break;
      case '&':
        problems.push_back("an & outside quotes");
        break;
      case '<':
        problems.push_back("a < outside quotes");
        break;
      case '>':
        // "2>&1" after a blank sends the error output along the pipe.
        if (line.substr(at - (at > 0 ? 1 : 0), 4) == "2>&1" && at >= 2 && IsBlank(line[at - 2])) {
          text.pop_back();
          at += 2;
        } else {
          problems.push_back("a > outside quotes");
        }
        break;
      case '(':
      case ')':
        if (!echo) problems.push_back(std::string("a ") + c + " outside quotes");
        text += c;
        break;
      default:
        text += c;
    }
  }
  if (quoted) problems.push_back("a quote left open");
  return segments;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The first word of a command and the rest after it.
std::pair<std::string, std::string_view> FirstWord(std::string_view text) {
  text = Trimmed(text);
  size_t end = 0;
  bool quoted = false;
  while (end < text.size() && (quoted || !IsBlank(text[end]))) {
    if (text[end] == '"') quoted = !quoted;
    ++end;
  }
  std::string word(text.substr(0, end));
  return {word, text.substr(end)};
}

std::string Unquoted(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '"') out += c;
  return out;
}

// The interpreter's own commands split their arguments at blanks, commas,
// semicolons and equals signs outside quotes.
std::vector<std::string> BuiltinArguments(std::string_view text) {
  std::vector<std::string> arguments;
  std::string current;
  bool quoted = false;
  bool any = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
      continue;
    }
    if (!quoted && (IsBlank(c) || c == ',' || c == ';' || c == '=')) {
      if (any) arguments.push_back(current);
      current.clear();
      any = false;
      continue;
    }
    current += c;
    any = true;
  }
  if (any) arguments.push_back(current);
  return arguments;
}

std::string BestFitted(std::string_view text, const std::map<std::string, std::string>& table) {
  if (table.empty()) return std::string(text);
  std::string out;
  for (size_t at = 0; at < text.size();) {
    bool replaced = false;
    for (const auto& [from, to] : table)
      if (text.substr(at, from.size()) == from) {
        out += to;
        at += from.size();
        replaced = true;
        break;
      }
    if (!replaced) out += text[at++];
  }
  return out;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  size_t at = 0;
  // The program: up to a blank, or the quoted part, without escapes.
  std::string program;
  bool quoted = false;
  for (; at < line.size() && (quoted || !IsBlank(line[at])); ++at) {
    if (line[at] == '"')
      quoted = !quoted;
    else
      program += line[at];
  }
  arguments.push_back(program);
  for (;;) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at == line.size()) break;
    std::string argument;
    quoted = false;
    while (at < line.size()) {
      size_t backslashes = 0;
      while (at < line.size() && line[at] == '\\') {
        ++backslashes;
        ++at;
      }
      if (at < line.size() && line[at] == '"') {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += '"';
          ++at;
        } else if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
          argument += '"';
          at += 2;
        } else {
          quoted = !quoted;
          ++at;
        }
        continue;
      }
      argument.append(backslashes, '\\');
      if (at == line.size() || (!quoted && IsBlank(line[at]))) break;
      argument += line[at++];
    }
    arguments.push_back(argument);
  }
  return arguments;
}

LineReading ReadBatchLine(std::string_view line, const Interpreter& interpreter) {
  LineReading reading;
  std::string text = ExpandPercent(line, interpreter, reading.problems);
  std::string_view rest = Trimmed(text);
  if (!rest.empty() && rest.front() == '@') rest.remove_prefix(1);

  // "if [not] errorlevel N command", "if [not] exist F command", the command
  // another "if" as often as it likes.
  auto [word, after] = FirstWord(rest);
  while (Upper(word) == "IF") {
    auto [test, afterTest] = FirstWord(after);
    const bool negated = Upper(test) == "NOT";
    if (negated) std::tie(test, afterTest) = FirstWord(afterTest);
    auto [operand, command] = FirstWord(afterTest);
    if (Upper(test) == "EXIST") {
      reading.calls.push_back({negated ? "if not exist" : "if exist", {Unquoted(operand)}});
    } else if (Upper(test) != "ERRORLEVEL") {
      reading.problems.push_back("an unknown test " + test);
    }
    rest = Trimmed(command);
    if (!rest.empty() && rest.front() == '@') rest.remove_prefix(1);
    std::tie(word, after) = FirstWord(rest);
  }

  const bool echo = Upper(word) == "ECHO";
  for (const Segment& segment : ReadSpecials(rest, echo, reading.problems)) {
    const std::string_view command = Trimmed(segment.text);
    auto [program, arguments] = FirstWord(command);
    const std::string name = Upper(program);
    if (name == "ECHO") {
      std::string shown(arguments.empty() ? arguments : arguments.substr(1));
      reading.calls.push_back({"echo", {shown}});
    } else if (name == "DEL" || name == "REN") {
      reading.calls.push_back({Unquoted(program), BuiltinArguments(arguments)});
    } else {
      std::vector<std::string> split = SplitCommandLine(BestFitted(command, interpreter.bestFit));
      ReceivedCall call{split.front(), {}};
      call.arguments.assign(split.begin() + 1, split.end());
      reading.calls.push_back(std::move(call));
    }
  }
  return reading;
}
