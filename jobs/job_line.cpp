#include "jobs/job_line.h"

#include <algorithm>
#include <cctype>

#include "core/ascii.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsOperator(char c) { return c == '|' || c == '&' || c == '<' || c == '>'; }

// A word of a line as the interpreter hands it over, and where it stands.
struct Token {
  std::string text;
  size_t begin = 0;
  size_t end = 0;
};

// Reads a line from left to right by the interpreter's rules: blanks
// separate words outside double quotes; the quotes are left out; "%%" is
// one "%"; outside quotes, "^" takes the next character as it is, and
// "| & < >" are operators.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  size_t at() const { return at_; }
  bool done() { return skipBlanks() >= line_.size(); }
  char next() { return done() ? '\0' : line_[at_]; }

  size_t skipBlanks() {
    while (at_ < line_.size() && IsBlank(line_[at_])) ++at_;
    return at_;
  }
  void skip(size_t count) { at_ = std::min(line_.size(), at_ + count); }
  bool startsWith(std::string_view text) const { return line_.substr(at_).starts_with(text); }

  Token word() {
    Token token;
    token.begin = skipBlanks();
    bool quoted = false;
    while (at_ < line_.size()) {
      const char c = line_[at_];
      if (!quoted && (IsBlank(c) || IsOperator(c))) break;
      ++at_;
      if (c == '"') {
        quoted = !quoted;
      } else if (c == '%' && at_ < line_.size() && line_[at_] == '%') {
        token.text += '%';
        ++at_;
      } else if (c == '^' && !quoted && at_ < line_.size()) {
        token.text += line_[at_++];
      } else {
        token.text += c;
      }
    }
    token.end = at_;
    return token;
  }

 private:
  std::string_view line_;
  size_t at_ = 0;
};

bool IsInterpreterCommand(std::string_view word) {
  static constexpr std::string_view kOwn[] = {
      "assoc",  "break", "call", "cd",    "chcp",     "chdir",  "cls",    "color", "copy",
      "date",   "del",   "dir",  "echo",  "endlocal", "erase",  "exit",   "for",   "ftype",
      "goto",   "if",    "md",   "mkdir", "mklink",   "move",   "path",   "pause", "popd",
      "prompt", "pushd", "rd",   "rem",   "ren",      "rename", "rmdir",  "set",   "setlocal",
      "shift",  "start", "time", "title", "type",     "ver",    "verify", "vol"};
  const std::string lower = AsciiLower(word);
  if (std::find(std::begin(kOwn), std::end(kOwn), lower) != std::end(kOwn)) return true;
  // "echo." and "echo+" are echo too.
  return lower.starts_with("echo") && lower.size() > 4 &&
         !std::isalnum(static_cast<unsigned char>(lower[4]));
}

bool IsWord(const Token& token, std::string_view word) { return AsciiLower(token.text) == word; }

// Reads the "@" and the "if" tests before the first command; the reader
// then stands at that command.
void ReadTests(LineReader& reader) {
  for (;;) {
    if (reader.next() == '@') reader.skip(1);
    LineReader look = reader;
    if (!IsWord(look.word(), "if")) return;
    Token test = look.word();
    if (IsWord(test, "not")) test = look.word();
    if (IsWord(test, "errorlevel") || IsWord(test, "exist") || IsWord(test, "defined")) {
      look.word();
    } else if (test.text.find("==") == std::string::npos) {
      // "if A == B": the comparison stands in three words.
      look.word();
      look.word();
    }
    reader = look;
  }
}

struct Reading {
  std::vector<std::vector<Token>> commands;   // the words of each command, the program first
  std::vector<std::string> operators;         // between the commands
  bool redirected = false;                    // a redirection other than the log pipe
  size_t logPipeAt = std::string_view::npos;  // where "2>&1|" begins
};

bool IsHandle(const std::vector<Token>& words, size_t at) {
  return !words.empty() && words.back().end == at && words.back().text.size() == 1 &&
         std::isdigit(static_cast<unsigned char>(words.back().text[0]));
}

Reading ReadCommands(std::string_view line, LineReader& reader) {
  Reading reading;
  reading.commands.emplace_back();
  while (!reader.done()) {
    const char c = reader.next();
    std::vector<Token>& words = reading.commands.back();
    if (c == '|' || c == '&') {
      const bool doubled = reader.startsWith(std::string(2, c));
      reading.operators.emplace_back(doubled ? 2 : 1, c);
      reader.skip(doubled ? 2 : 1);
      reading.commands.emplace_back();
      continue;
    }
    if (c == '<' || c == '>') {
      // A handle number right before the operator belongs to it: "2>&1".
      const bool handle = IsHandle(words, reader.at());
      const size_t operatorAt = handle ? words.back().begin : reader.at();
      if (handle) words.pop_back();
      reader.skip(reader.startsWith(">>") ? 2 : 1);
      if (reader.startsWith("&") && reader.at() + 1 < line.size() &&
          std::isdigit(static_cast<unsigned char>(line[reader.at() + 1]))) {
        reader.skip(2);
        // The log pipe of a pass: "2>&1|" straight into the next command.
        if (reading.commands.size() == 1 && reader.startsWith("|") && !reader.startsWith("||") &&
            line.substr(operatorAt, reader.at() + 1 - operatorAt) == kLogPipe) {
          reading.logPipeAt = operatorAt;
          continue;
        }
      } else {
        reader.word();  // the file
      }
      reading.redirected = true;
      continue;
    }
    Token token = reader.word();
    if (token.begin == token.end) break;  // nothing the reader can take
    words.push_back(std::move(token));
  }
  std::erase_if(reading.commands, [](const std::vector<Token>& words) { return words.empty(); });
  return reading;
}

// The text an echo command shows: what follows "echo" and the one
// character after it, with "%%" read as "%".
std::string EchoedText(std::string_view line, const Token& echo) {
  std::string text;
  for (size_t at = std::min(line.size(), echo.end + 1); at < line.size(); ++at) {
    text += line[at];
    if (line[at] == '%' && at + 1 < line.size() && line[at + 1] == '%') ++at;
  }
  return text;
}

void ReadInfo(std::string_view line, const Reading& reading, JobLine& read) {
  const Token& echo = reading.commands[0][0];
  if (!IsWord(echo, "echo")) return;
  const std::string shown = EchoedText(line, echo);
  for (size_t i = 0; i < std::size(kInfoLabels); ++i) {
    if (!shown.starts_with(kInfoLabels[i])) continue;
    read.kind = LineKind::Info;
    read.info = static_cast<Info>(i);
    std::string value = shown.substr(kInfoLabels[i].size());
    // A path stands in its quotes.
    if (read.info != Info::Mode && value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    read.value = std::move(value);
    return;
  }
}

std::string_view TrimmedEnd(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

void ReadPass(std::string_view line, const Reading& reading, JobLine& read) {
  if (reading.redirected) return;
  const size_t begin = reading.commands[0][0].begin;
  if (reading.logPipeAt == std::string_view::npos) {
    if (reading.operators.empty()) read.encoderCommand = TrimmedEnd(line.substr(begin));
    return;
  }
  // "x264.exe ARGS 2>&1|teelog.exe "LOG"": teelog.exe with the one log, in
  // one pair of quotes, so that it can be handed on as it stands.
  if (reading.commands.size() != 2 || reading.operators.size() != 1) return;
  const std::vector<Token>& teelog = reading.commands[1];
  if (FindJobProgram(teelog[0].text) != FindJobProgram(programs::kTeelog) || teelog.size() != 2)
    return;
  const std::string_view written = line.substr(teelog[1].begin, teelog[1].end - teelog[1].begin);
  if (written.size() < 2 || written.front() != '"' || written.find('"', 1) != written.size() - 1)
    return;
  read.encoderCommand = TrimmedEnd(line.substr(begin, reading.logPipeAt - begin));
  read.writtenLog = written;
  read.log = teelog[1].text;
}

}  // namespace

const JobProgram* FindJobProgram(std::string_view called) {
  std::string lower = AsciiLower(called);
  const size_t folder = lower.find_last_of("\\/:");
  if (folder != std::string::npos) return nullptr;
  for (const JobProgram& row : kJobPrograms) {
    std::string_view name = row.name;
    if (lower == name) return &row;
    const std::string_view bare = name.ends_with(".exe") ? name.substr(0, name.size() - 4) : name;
    if (lower == bare || lower == std::string(bare) + ".exe") return &row;
  }
  return nullptr;
}

JobLine ReadJobLine(std::string_view line) {
  JobLine read;
  if (line.starts_with(kDisabledPrefix)) {
    read.kind = LineKind::Disabled;
    return read;
  }
  if (IsJobStart(line) || IsJobEnd(line)) {
    read.kind = IsJobStart(line) ? LineKind::JobStart : LineKind::JobEnd;
    return read;
  }
  LineReader reader(line);
  reader.skipBlanks();
  if (reader.next() == ':') return read;  // a label runs nothing
  ReadTests(reader);
  read.head = line.substr(0, reader.skipBlanks());
  const Reading reading = ReadCommands(line, reader);
  for (const std::vector<Token>& words : reading.commands) {
    if (words[0].text.empty()) continue;  // "" names no program
    LineCommand& command = read.commands.emplace_back();
    command.program = words[0].text;
    for (size_t i = 1; i < words.size(); ++i) command.arguments.push_back(words[i].text);
  }
  if (read.commands.empty()) return read;
  ReadInfo(line, reading, read);
  if (read.kind == LineKind::Info) return read;
  const std::string first = AsciiLower(read.commands[0].program);
  if (const JobProgram* program = FindJobProgram(first); program && program->step) {
    read.kind = LineKind::Step;
    read.step = program->step;
    read.program = program;
    if (read.step == Step::Pass) ReadPass(line, reading, read);
  } else if (first == programs::kShutdown || first == "shutdown") {
    read.kind = LineKind::Shutdown;
  } else if (first == "del" || first == "erase" || first == "ren" || first == "rename") {
    read.kind = LineKind::CleanUp;
  }
  return read;
}

std::vector<std::string> JobLine::programs() const {
  std::vector<std::string> called;
  for (const LineCommand& command : commands)
    if (!IsInterpreterCommand(command.program)) called.push_back(command.program);
  return called;
}

bool JobLine::setsUpTheInterpreter() const {
  static constexpr std::string_view kSetUp[] = {"cd",   "chcp",   "chdir", "endlocal", "path",
                                                "popd", "prompt", "pushd", "set",      "setlocal"};
  if (kind != LineKind::Own || commands.empty()) return false;
  return std::all_of(commands.begin(), commands.end(), [](const LineCommand& command) {
    const std::string lower = AsciiLower(command.program);
    return std::find(std::begin(kSetUp), std::end(kSetUp), lower) != std::end(kSetUp);
  });
}

std::string ArgumentAfter(const LineCommand& command, std::string_view option) {
  const std::vector<std::string>& args = command.arguments;
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == option) return args[i + 1];
  return {};
}

std::string JobLine::writes() const {
  if (!program || commands.empty()) return {};
  const std::vector<std::string>& args = commands[0].arguments;
  auto after = [this](std::string_view option) { return ArgumentAfter(commands[0], option); };
  std::string written;
  switch (program->writes) {
    case Writes::Nothing:
      break;
    case Writes::AfterO:
      written = after("-o");
      break;
    case Writes::AfterOf:
      written = after("-of");
      break;
    case Writes::SecondArgument:
      if (args.size() >= 2) written = args[1];
      break;
    case Writes::LastArgument:
      if (!args.empty()) written = args.back();
      break;
  }
  // A pipe's second program writes the audio file: "bepipe.exe ... | faac.exe ... -o FILE".
  if (written.empty() && commands.size() > 1) {
    JobLine fed;
    fed.commands = {commands[1]};
    fed.program = FindJobProgram(commands[1].program);
    written = fed.writes();
  }
  return AsciiLower(written) == "nul" ? std::string() : written;
}

std::vector<std::string> CalledPrograms(std::span<const std::string> lines) {
  std::vector<std::string> called;
  std::vector<std::string> seen;  // lower case
  for (const std::string& line : lines) {
    for (std::string& program : ReadJobLine(line).programs()) {
      std::string lower = AsciiLower(program);
      if (std::find(seen.begin(), seen.end(), lower) != seen.end()) continue;
      seen.push_back(std::move(lower));
      called.push_back(std::move(program));
    }
  }
  return called;
}

std::string RunByTeelog(const JobLine& pass, std::string_view line) {
  if (pass.step != Step::Pass || pass.encoderCommand.empty()) return std::string(line);
  const std::string log = pass.writtenLog.empty() ? std::string("\"\"") : pass.writtenLog;
  return pass.head + std::string(programs::kTeelog) + " --run " + log + " " + pass.encoderCommand;
}
