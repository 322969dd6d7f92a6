#include "jobs/called_programs.h"

#include <cctype>
#include <string_view>
#include <tuple>

#include "core/ascii.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimmedStart(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// The first word of a command (a quoted part keeps its blanks), and the
// rest after it.
std::pair<std::string, std::string_view> FirstWord(std::string_view text) {
  text = TrimmedStart(text);
  size_t end = 0;
  bool quoted = false;
  std::string word;
  for (; end < text.size() && (quoted || !IsBlank(text[end])); ++end) {
    if (text[end] == '"')
      quoted = !quoted;
    else
      word += text[end];
  }
  return {word, text.substr(end)};
}

// Commands of the interpreter itself, which no file stands for.
bool IsInterpreterCommand(const std::string& word) {
  static constexpr std::string_view kOwn[] = {
      "assoc",  "break", "call", "cd",    "chcp",     "chdir",  "cls",    "color", "copy",
      "date",   "del",   "dir",  "echo",  "endlocal", "erase",  "exit",   "for",   "ftype",
      "goto",   "if",    "md",   "mkdir", "mklink",   "move",   "path",   "pause", "popd",
      "prompt", "pushd", "rd",   "rem",   "ren",      "rename", "rmdir",  "set",   "setlocal",
      "shift",  "start", "time", "title", "type",     "ver",    "verify", "vol"};
  const std::string lower = AsciiLower(word);
  for (std::string_view own : kOwn)
    if (lower == own) return true;
  // "echo." and "echo+" are echo too.
  return lower.starts_with("echo") && lower.size() > 4 &&
         !std::isalnum(static_cast<unsigned char>(lower[4]));
}

// The command after the line's "@" and its "if" tests.
std::string_view Command(std::string_view line) {
  for (;;) {
    line = TrimmedStart(line);
    if (!line.empty() && line.front() == '@') line.remove_prefix(1);
    auto [word, rest] = FirstWord(line);
    if (AsciiLower(word) != "if") return line;
    auto [test, afterTest] = FirstWord(rest);
    if (AsciiLower(test) == "not") std::tie(test, afterTest) = FirstWord(afterTest);
    line = FirstWord(afterTest).second;  // the errorlevel or the file tested
  }
}

}  // namespace

std::vector<std::string> CalledPrograms(std::span<const std::string> lines) {
  std::vector<std::string> programs;
  std::vector<std::string> seen;  // lower case
  for (const std::string& line : lines) {
    // A label runs nothing.
    if (TrimmedStart(line).starts_with(':')) continue;
    const std::string_view command = Command(line);
    // Each command of a pipe starts after a bar outside quotes.
    bool quoted = false;
    size_t start = 0;
    for (size_t at = 0; at <= command.size(); ++at) {
      if (at < command.size() && command[at] == '"') quoted = !quoted;
      if (at < command.size() && (quoted || command[at] != '|')) continue;
      const std::string program = FirstWord(command.substr(start, at - start)).first;
      start = at + 1;
      if (program.empty() || IsInterpreterCommand(program)) continue;
      const std::string lower = AsciiLower(program);
      bool known = false;
      for (const std::string& other : seen) known = known || other == lower;
      if (known) continue;
      seen.push_back(lower);
      programs.push_back(program);
    }
  }
  return programs;
}
