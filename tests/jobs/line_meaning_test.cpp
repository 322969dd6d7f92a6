// What a batch line means is what each program on it receives. Random
// settings, with every text and path field drawn from what breaks command
// lines, either make a job whose every line gives each program exactly the
// arguments composition meant for it (judged by an independent reading of
// the interpreter's and the C runtime's rules), or are refused with a message
// that names a field.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "jobs/compose_job.h"
#include "jobs/job_line.h"
#include "jobs/job_script.h"
#include "jobs/job_spans.h"
#include "support/command_line_splitter.h"
#include "support/first_start.h"
#include "support/memory_platform.h"
#include "support/started_batch.h"

namespace {

// Pieces that mean something to the interpreter, to the C runtime, to
// AviSynth or to a code page, and that a file name may hold.
const std::vector<std::string> kTricky = {
    "%",
    "%%",
    "%OS%",
    "%QUORVEL_1%",
    "!",
    "!OS!",
    "^",
    "&",
    "(",
    ")",
    "\\",
    "\\\\",
    "/",
    " ",
    "  ",
    "=",
    ",",
    ";",
    "-",
    "\xC3\xA9",
    "\xD0\x96-",
    " --frames 1 ",
    "\xE6\x97\xA5\xE6\x9C\xAC",
};
// Characters that a code page's best fit turns into a quote, a backslash or
// a blank.
const std::vector<std::string> kLookalikes = {"\xEF\xBC\x82", "\xEF\xBC\xBC", "\xE3\x80\x80",
                                              "\xCA\xBA"};
// Pieces no file name holds.
const std::vector<std::string> kForbidden = {"\"",
                                             "2>&1",
                                             "|",
                                             "<",
                                             ">",
                                             "*",
                                             "?",
                                             "\t",
                                             "\n",
                                             "\r\n",
                                             "\" --frames 1 \"",
                                             "\\\" -o x.mp4 \\\""};
const std::vector<std::string> kPlain = {"clip", "My Videos", "a", "out", "v.1", "x264", "1"};
const std::vector<std::string> kNumbers = {
    "0", "1", "26", "-3", "0.5", "1000", "", "1.2.3", "1 & calc", "%1", "2147483648", "7^", "!x!"};

class Adversary {
 public:
  explicit Adversary(unsigned seed) : random_(seed) {}

  bool chance(int percent) { return pick(100) < static_cast<size_t>(percent); }
  size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
  const std::string& any(const std::vector<std::string>& from) { return from[pick(from.size())]; }

  std::string text(size_t pieces) {
    std::string out;
    for (size_t i = 0; i < pieces; ++i)
      out += chance(50)   ? any(kPlain)
             : chance(92) ? any(kTricky)
             : chance(50) ? any(kLookalikes)
                          : any(kForbidden);
    return out;
  }

  std::string path() {
    if (chance(3)) return "";
    std::string out = chance(80) ? "D:\\" : chance(50) ? "\\\\host\\share\\" : "";
    out += text(1 + pick(4));
    if (chance(50)) out += "\\" + text(1 + pick(3));
    if (chance(5)) out += std::string(1000 + pick(3000), chance(50) ? 'a' : '%');
    if (chance(70)) out += chance(80) ? ".avs" : ".mkv";
    if (chance(4)) out += chance(50) ? "\\" : "/";
    return out;
  }

  std::string number() { return chance(75) ? any(kNumbers) : text(1 + pick(2)); }

 private:
  std::mt19937 random_;
};

Settings RandomSettings(Adversary& a, const Settings& start) {
  Settings s = start;
  s.mode = static_cast<EncodeMode>(a.pick(14));
  s.aud = a.chance(50);
  s.ae = static_cast<AudioEncoder>(static_cast<int>(a.pick(6)) - 1);
  s.muxer = static_cast<Muxer>(a.pick(5));
  s.crelog = a.chance(70);
  s.sizemode = a.chance(20);
  s.upstat = a.chance(50);
  s.input = a.path();
  s.output = a.path();
  s.statsfile = a.path();
  s.logfile = a.path();
  switch (a.pick(4)) {
    case 0:
      s.cqm = "jvt";
      break;
    case 1:
      s.cqm = '"' + a.path() + '"';
      break;
    case 2:
      s.cqm = a.path();
      break;
    default:
      break;
  }
  for (std::string* field :
       {&s.value, &s.auto1pcrf, &s.minsize, &s.maxsize, &s.aub, &s.ref, &s.bias, &s.nr, &s.vbs,
        &s.vmb, &s.vib, &s.bv, &s.aq1, &s.psyrd_rdo, &s.chromaqpoffset, &s.sct})
    if (a.chance(4)) *field = a.number();
  return s;
}

std::vector<ReceivedCall> Meant(const BatchCommand& command) {
  std::vector<ReceivedCall> calls;
  for (const ProgramCall& call : ProgramCalls(command))
    calls.push_back({call.program, call.arguments});
  return calls;
}

std::vector<std::string> ScriptLines(const std::string& script) {
  std::vector<std::string> lines;
  for (size_t at = 0; at <= script.size();) {
    size_t end = script.find("\r\n", at);
    if (end == std::string::npos) end = script.size();
    lines.push_back(script.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// An encode that teelog.exe runs ("teelog.exe --run LOG x264.exe ARGS"),
// read as the encoder and the log pipe that it stands for: teelog hands the
// encoder the rest of its command line.
std::vector<ReceivedCall> RunByTeelog(std::vector<ReceivedCall> calls) {
  if (calls.size() != 1 || calls[0].program != "teelog.exe" || calls[0].arguments.size() < 3 ||
      calls[0].arguments[0] != "--run")
    return calls;
  const std::vector<std::string>& arguments = calls[0].arguments;
  std::vector<ReceivedCall> meant = {
      {arguments[2], std::vector<std::string>(arguments.begin() + 3, arguments.end())}};
  if (!arguments[1].empty()) meant.push_back({"teelog.exe", {arguments[1]}});
  return meant;
}

// The one reading of a job line finds what composition wrote: its kind,
// its programs with the arguments each receives, the file fields it shows.
void ExpectReadAsComposed(const Settings& s, const BatchCommand& command, const std::string& line) {
  const JobLine read = ReadJobLine(line);
  std::vector<std::string> programs;
  for (const Arg& argument : command.args)
    if (argument.kind == ArgKind::Program && argument.text != "echo" && argument.text != "del" &&
        argument.text != "ren")
      programs.push_back(argument.text);
  ASSERT_EQ(read.programs(), programs) << line;
  const std::vector<ProgramCall> calls = ProgramCalls(command);
  if (calls.front().program == "echo") {
    ASSERT_EQ(read.kind, LineKind::Info) << line;
    if (read.info != Info::Mode) {
      EXPECT_EQ(read.value, read.info == Info::Input ? s.input : s.output);
    }
    return;
  }
  std::vector<std::string> received;
  for (const LineCommand& each : read.commands)
    if (each.program == calls.back().program) received = each.arguments;
  ASSERT_EQ(received, calls.back().arguments) << line;
  ASSERT_EQ(read.kind, programs.empty() ? LineKind::CleanUp : LineKind::Step) << line;
  if (read.step == Step::Pass) {
    ASSERT_EQ(read.log, s.crelog ? s.logfile : "") << line;
    ASSERT_EQ(read.head + read.encoderCommand + (read.log.empty() ? "" : " ") +
                  std::string(read.log.empty() ? "" : kLogPipe) +
                  (read.log.empty() ? "" : std::string(programs::kTeelog) + " " + read.writtenLog),
              line);
  }
}

size_t Cases() {
  const char* wanted = std::getenv("QUORVEL_PROPERTY_CASES");
  return wanted ? std::strtoul(wanted, nullptr, 10) : 100000;
}

TEST(LineMeaning, EveryProgramReceivesExactlyItsArgumentsOrTheJobIsRefused) {
  const Settings start = FirstStartSettings();
  MemoryFileSystem files;
  const BestFitLookup bestFit = [&files](std::string_view text) { return files.bestFit(text); };
  Interpreter interpreter;
  interpreter.bestFit = {
      {"\xEF\xBC\x82", "\""}, {"\xEF\xBC\xBC", "\\"}, {"\xE3\x80\x80", " "}, {"\xCA\xBA", "\""}};
  FakeMedia media;
  Adversary adversary(20261207);
  size_t queued = 0;
  size_t lines = 0;
  const size_t cases = Cases();
  for (size_t n = 0; n < cases; ++n) {
    const Settings s = RandomSettings(adversary, start);
    EncoderDialect dialect;
    dialect.current = adversary.chance(50);
    dialect.namedPyramid = dialect.current;
    const ComposedJob job = ComposeJob(s, media, dialect, bestFit);
    if (job.refusal) {
      ASSERT_NE(job.refusal->field, cid::none) << "case " << n;
      ASSERT_FALSE(job.refusal->expected.empty()) << "case " << n;
      continue;
    }
    if (!job.lines.empty()) ++queued;
    if (!job.lines.empty()) {
      const std::vector<JobSpan> spans = JobSpans(FramedJob(job.lines));
      ASSERT_EQ(spans.size(), 1u);
      EXPECT_EQ(spans[0].input, s.input);
      EXPECT_EQ(spans[0].count, job.lines.size() + 2);
    }
    ASSERT_EQ(job.lines.size(), job.commands.size());
    // "Start" hands what the console cannot spell (here: anything beyond
    // ASCII) over in variables; the lines mean the same.
    const StartBatch batch = StartScript(FramedJob(job.lines), "C:\\prog\\",
                                         {FilesInTheBatch(), {{0, false}}, 1, {}},
                                         [](std::string_view) { return false; });
    std::vector<std::string> started = ScriptLines(batch.script);
    std::erase_if(started, IsStartedBatchsOwn);
    // The change of folder, and the framed job.
    ASSERT_EQ(started.size(), job.lines.size() + 3);
    // The same lines to Windows' interpreter and to Wine's, which reads a
    // variable's value once more.
    Interpreter windows = interpreter;
    for (const auto& [name, value] : batch.variables) windows.variables[name] = value;
    Interpreter wine = windows;
    wine.readsValuesAgain = true;
    for (size_t i = 0; i < job.lines.size(); ++i) {
      const LineReading reading = ReadBatchLine(job.lines[i], interpreter);
      ASSERT_EQ(reading.problems, std::vector<std::string>()) << job.lines[i];
      ASSERT_EQ(reading.calls, Meant(job.commands[i])) << job.lines[i];
      ASSERT_NO_FATAL_FAILURE(ExpectReadAsComposed(s, job.commands[i], job.lines[i]));
      for (const Interpreter* reader : {&windows, &wine}) {
        const LineReading fromStart = ReadBatchLine(started[2 + i], *reader);
        ASSERT_EQ(fromStart.problems, std::vector<std::string>()) << started[2 + i];
        ASSERT_EQ(RunByTeelog(fromStart.calls), reading.calls) << started[2 + i];
      }
      ++lines;
    }
  }
  // The draw must queue jobs as well as refuse them, or it proves nothing.
  EXPECT_GT(queued, cases / 5);
  std::printf("[ MEASURE  ] %zu random settings: %zu jobs queued (%zu lines), %zu refused\n", cases,
              queued, lines, cases - queued);
}

// The reading itself, on lines whose meaning is known.
TEST(LineMeaning, TheReadingFollowsTheRuntimesRules) {
  const struct {
    const char* line;
    std::vector<ReceivedCall> calls;
  } cases[] = {
      {R"(@x264.exe -o "D:\out\" --frames 1 "a b.avs")",
       {{"x264.exe", {"-o", R"(D:\out" --frames 1 a)", "b.avs"}}}},
      {R"(@x.exe "a\\" b c\\\"d" "e""f" 50%%)", {{"x.exe", {"a\\", "b", R"(c\"d ef 50%)"}}}},
      {R"(@x.exe "e""f" g\h)", {{"x.exe", {R"(e"f)", R"(g\h)"}}}},
      {R"(@if exist "D:\j k.mkv" del "D:\a.mp4")",
       {{"if exist", {R"(D:\j k.mkv)"}}, {"del", {R"(D:\a.mp4)"}}}},
      {R"(@if errorlevel 0 if not errorlevel 1 del "D:\a.mp4" "D:\a b.aac")",
       {{"del", {R"(D:\a.mp4)", R"(D:\a b.aac)"}}}},
      {R"(@if errorlevel 0 if not errorlevel 1 if not exist "D:\a b.mkv" ren "D:\a.x.mkv" "a b.mkv")",
       {{"if not exist", {R"(D:\a b.mkv)"}}, {"ren", {R"(D:\a.x.mkv)", "a b.mkv"}}}},
      {R"(@if errorlevel 1 @x.exe a 2>&1|teelog.exe "l")",
       {{"x.exe", {"a"}}, {"teelog.exe", {"l"}}}},
      {R"(@echo Input:"D:\a & b")", {{"echo", {R"(Input:"D:\a & b")"}}}},
  };
  for (const auto& c : cases) {
    const LineReading reading = ReadBatchLine(c.line);
    EXPECT_EQ(reading.problems, std::vector<std::string>()) << c.line;
    EXPECT_EQ(reading.calls, c.calls) << c.line;
  }
  EXPECT_FALSE(ReadBatchLine("@x.exe a & calc.exe").problems.empty());
  EXPECT_FALSE(ReadBatchLine("@x.exe %OS%").problems.empty());
}

}  // namespace
