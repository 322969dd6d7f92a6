// A whole job from the window to the finished batch: the real program queues
// an automated double-pass job with audio, "Make BAT" saves it, and the
// command interpreter runs the batch with standin.exe in place of x264.exe,
// bepipe.exe, neroaacenc.exe and mp4box.exe in the "tools" folder beside the
// program. The stand-in records every command line it is started with, so the
// test sees exactly what the batch ran, in which order, and what the batch's
// own tests (the log pipe, the clean-up after the muxer) did with the files.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/program.h"
#include "gui/gui_support.h"
#include "platform/win32/wide_text.h"
#include "recorded_messages.h"
#include "support/command_line_splitter.h"
#include "support/memory_platform.h"
#include "ui/control_id.h"

namespace {

constexpr DWORD kBatchTimeoutMs = 30000;

// What the x264 stand-in prints, all to standard error as x264 does: the
// recorded messages of a finished encode.
constexpr std::string_view kX264Printed = Recorded("x264/finished.txt");

// What the bepipe stand-in writes to standard output.
std::string BepipeSamples() {
  std::string samples(1000, '\0');
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<char>(i * 7 & 0xFF);
  return samples;
}

std::string Quoted(const std::string& path) {
  std::string quoted(1, '"');
  quoted += path;
  quoted += '"';
  return quoted;
}

// The environment of this process with some variables set (a value) or
// removed (nothing), as a block for CreateProcessW.
std::wstring EnvironmentWith(const std::map<std::wstring, std::optional<std::wstring>>& changes) {
  std::wstring block;
  const std::unique_ptr<wchar_t, decltype(&FreeEnvironmentStringsW)> strings(
      GetEnvironmentStringsW(), &FreeEnvironmentStringsW);
  for (const wchar_t* entry = strings.get(); *entry; entry += wcslen(entry) + 1) {
    const std::wstring text = entry;
    const std::wstring name = text.substr(0, text.find(L'=', 1));
    bool changed = false;
    for (const auto& change : changes)
      changed = changed || CompareStringOrdinal(name.c_str(), -1, change.first.c_str(), -1, TRUE) ==
                               CSTR_EQUAL;
    if (!changed) block += text + L'\0';
  }
  for (const auto& [name, value] : changes)
    if (value) block += name + L'=' + *value + L'\0';
  block += L'\0';
  return block;
}

// Runs a batch file with "cmd.exe /c" in `folder`, its console output going
// into `console`. The exit code, or nothing when it could not be started or
// did not end in time (it is then ended by force).
std::optional<DWORD> RunBatch(const std::wstring& batch, const std::wstring& folder,
                              const std::wstring& console,
                              const std::map<std::wstring, std::optional<std::wstring>>& changes,
                              const std::wstring& options = L"") {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(console.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE in = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE || in == INVALID_HANDLE_VALUE) return std::nullopt;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = out;
  std::wstring commandLine = L"cmd.exe " + options + L"/c " + batch;
  std::wstring environment = EnvironmentWith(changes);
  PROCESS_INFORMATION info{};
  const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                                      environment.data(), folder.c_str(), &startup, &info);
  CloseHandle(out);
  CloseHandle(in);
  if (!started) return std::nullopt;
  CloseHandle(info.hThread);
  std::optional<DWORD> code;
  if (WaitForSingleObject(info.hProcess, kBatchTimeoutMs) == WAIT_OBJECT_0) {
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    code = exitCode;
  } else {
    TerminateProcess(info.hProcess, 99);
  }
  CloseHandle(info.hProcess);
  return code;
}

// One call of a stand-in: its program name and its command line after the
// program token.
struct Call {
  std::string program;
  std::string tail;
  bool operator==(const Call&) const = default;
};

void PrintTo(const Call& call, std::ostream* out) {
  *out << call.program << " [" << call.tail << "]";
}

// The records that the stand-ins appended: "NAME<tab>TAIL<CR LF>" each.
std::vector<Call> ParseRecords(const std::string& log) {
  std::vector<Call> calls;
  size_t start = 0;
  while (start < log.size()) {
    size_t end = log.find("\r\n", start);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(start, end - start);
    const size_t tab = line.find('\t');
    calls.push_back(tab == std::string::npos ? Call{line, "(no tab)"}
                                             : Call{line.substr(0, tab), line.substr(tab + 1)});
    start = end + 2;
  }
  return calls;
}

bool IsStandIn(const std::string& program) {
  return program == "x264.exe" || program == "bepipe.exe" || program == "neroaacenc.exe" ||
         program == "mp4box.exe";
}

// The log pipe behind an x264 pass: standard error joins standard output
// ("2>&1"), and both go through the bar into teelog.exe.
constexpr std::string_view kLogPipe = "2>&1|teelog.exe ";

// The calls of stand-ins that the job lines ask for, in order, as the command
// interpreter makes them: a line loses its leading "@" and its log pipe, and
// is split at each bar "|" into the commands of a pipe. A command's program
// token is its first word, the blanks before it skipped; its tail is all the
// rest of its text, unchanged. The interpreter takes only the redirection and
// the bar out of a command, so the tail keeps the blank that stood in front of
// them, and the recorded tails must equal these exactly: no normalisation.
// Fills `logPaths` with what follows "teelog.exe " in each log pipe.
std::vector<Call> ExpectedCalls(const std::vector<std::string>& lines,
                                std::vector<std::string>* logPaths) {
  std::vector<Call> calls;
  for (std::string line : lines) {
    if (line.starts_with("@")) line.erase(0, 1);
    const size_t pipe = line.find(kLogPipe);
    if (pipe != std::string::npos) {
      logPaths->push_back(line.substr(pipe + kLogPipe.size()));
      line.erase(pipe);
    }
    for (size_t start = 0; start != std::string::npos;) {
      const size_t bar = line.find('|', start);
      std::string command = line.substr(start, bar == std::string::npos ? bar : bar - start);
      start = bar == std::string::npos ? bar : bar + 1;
      command.erase(0, command.find_first_not_of(' '));
      const size_t blank = command.find(' ');
      const std::string program = command.substr(0, blank);
      if (IsStandIn(program))
        calls.push_back({program, blank == std::string::npos ? "" : command.substr(blank)});
    }
  }
  return calls;
}

// The real program in this process with scripted requesters, the stand-ins
// in the "tools" folder beside it and a work folder with a sample input.
class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bin = TestProgramFolder();
    DeleteFileW((bin + L"quorvel.ini").c_str());
    tools = bin + L"tools\\";
    work = bin + L"end to end\\";
    RemoveFolder(work);
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(tools.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    for (const wchar_t* name : {L"x264.exe", L"bepipe.exe", L"neroaacenc.exe", L"mp4box.exe"})
      ASSERT_TRUE(CopyFileW((bin + L"standin.exe").c_str(), (tools + name).c_str(), FALSE))
          << "standin.exe copied as " << Narrow(name);
    ASSERT_TRUE(WriteBytes(work + L"clip.avs", "BlankClip()\r\n"));
    program =
        std::make_unique<Program>(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &dialogs});
  }

  void TearDown() override {
    program.reset();
    PumpMessages();
    RemoveFolder(tools);
    RemoveFolder(work);
    DeleteFileW((bin + L"envprep.bat").c_str());
  }

  Win32Window& window() { return program->window(); }
  HWND control(ControlId id) { return window().control(id); }

  // Presses "Add" and waits until the job is written in the switches of the
  // stand-in x264, which tells those of today's x264 (a refusal is said at
  // once).
  void add() {
    const int before = window().itemCount(cid::jobList);
    const size_t calls = dialogs.calls.size();
    Click(control(cid::add));
    WaitUntil([&] {
      PumpMessages();
      if (dialogs.calls.size() > calls) return true;
      if (window().itemCount(cid::jobList) <= before) return false;
      for (const std::string& line : jobLines())
        if (line.starts_with("@x264.exe --progress")) return false;
      return true;
    });
  }

  std::vector<std::string> jobLines() {
    std::vector<std::string> lines;
    for (int i = 0, n = window().itemCount(cid::jobList); i < n; ++i)
      lines.push_back(window().item(cid::jobList, i));
    return lines;
  }

  // Chooses an automated double-pass job with Nero audio and the muxer
  // `muxer` (an entry of its list).
  void chooseJobSettings(int muxer, std::string_view muxerName) {
    ChooseListEntry(control(cid::mode), 6);
    ASSERT_EQ(window().item(cid::mode, window().state(cid::mode)), "Automated Double Passes");
    ChooseListEntry(control(cid::ae), 1);
    ASSERT_EQ(window().item(cid::ae, window().state(cid::ae)), "Nero");
    ChooseListEntry(control(cid::muxer), muxer);
    ASSERT_EQ(window().item(cid::muxer, window().state(cid::muxer)), muxerName);
    ASSERT_EQ(window().state(cid::aud), 0) << "audio is off after a first start";
    Click(control(cid::aud));
    ASSERT_EQ(window().state(cid::aud), 1);
    ASSERT_EQ(window().state(cid::crelog), 1) << "the log pipe is on after a first start";
  }

  // Queues the job of the chosen settings as the only one through the
  // window and saves it with "Make BAT" as `batch` in the work folder.
  void queueAndSave(const std::wstring& batch) {
    Click(control(cid::clear));
    window().setText(cid::input, Narrow(work + L"clip.avs"));
    window().setText(cid::output, Narrow(output()));
    window().setText(cid::statsfile, Narrow(work + L"clip.stats"));
    window().setText(cid::logfile, Narrow(log()));
    add();
    lines = jobLines();
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines.front(), "@echo.");
    ASSERT_EQ(lines.back(), "@echo+");
    const size_t calls = dialogs.calls.size();
    dialogs.saveAnswers.push_back(Narrow(work + batch));
    Click(control(cid::makeBat));
    ASSERT_EQ(dialogs.calls.size(), calls + 1);
    ASSERT_EQ(dialogs.calls.back().kind, "save");
    ASSERT_TRUE(Exists(work + batch));
  }

  // The job with MP4Box, saved as jobs.bat.
  void queueAndSaveJob() {
    ASSERT_NO_FATAL_FAILURE(chooseJobSettings(0, "MP4Box"));
    ASSERT_NO_FATAL_FAILURE(queueAndSave(L"jobs.bat"));
  }

  // Runs jobs.bat as the user would, from the work folder, and returns what
  // the stand-ins recorded.
  std::vector<Call> runJobs(const std::optional<std::wstring>& failing) {
    const std::optional<DWORD> code =
        RunBatch(L"jobs.bat", work, work + L"console.txt",
                 {{L"STANDIN_LOG", standinLog()}, {L"STANDIN_FAIL", failing}});
    EXPECT_TRUE(code.has_value()) << "the batch did not run to its end";
    console = ReadBytes(work + L"console.txt").value_or("");
    const std::optional<std::string> records = ReadBytes(standinLog());
    EXPECT_TRUE(records.has_value()) << "no stand-in ran; console:\n" << console;
    return ParseRecords(records.value_or(""));
  }

  std::wstring output() const { return work + outputName; }
  std::wstring audio() const { return work + L"clip.audio.mp4"; }
  std::wstring log() const { return work + L"clip.log"; }
  std::wstring standinLog() const { return work + L"standin-log.txt"; }

  // The checks that hold whether the muxer succeeds or not.
  void expectTheJobRan(const std::vector<Call>& recorded) {
    std::vector<std::string> logPaths;
    const std::vector<Call> expected = ExpectedCalls(lines, &logPaths);
    ASSERT_EQ(expected.size(), 5u) << "two x264 passes, bepipe, neroaacenc and mp4box";
    EXPECT_EQ(expected[0].program, "x264.exe");
    EXPECT_EQ(expected[1].program, "x264.exe");
    EXPECT_EQ(expected[2].program, "bepipe.exe");
    EXPECT_EQ(expected[3].program, "neroaacenc.exe");
    EXPECT_EQ(expected[4].program, "mp4box.exe");
    EXPECT_EQ(recorded, expected) << "console:\n" << console;

    ASSERT_EQ(logPaths.size(), 2u) << "both passes pipe into teelog.exe";
    for (const std::string& path : logPaths) EXPECT_EQ(path, Quoted(Narrow(log())));
    // Both passes write the same log; the second, which writes the output
    // file, is the one it holds at the end. Windows' interpreter sets up the
    // pipe before it applies "2>&1", so the log receives x264's standard
    // error, and teelog shows it on the console. Wine's applies "2>&1" first,
    // while standard output is still the console, so there x264's messages go
    // to the console and the log stays empty.
    const std::optional<std::string> saved = ReadBytes(log());
    ASSERT_TRUE(saved.has_value()) << "teelog created the log; console:\n" << console;
    EXPECT_TRUE(*saved == kX264Printed || saved->empty())
        << "teelog saved what x264 printed; the log:\n"
        << *saved << "console:\n"
        << console;
    EXPECT_NE(console.find(kX264Printed), std::string::npos)
        << "the console shows what x264 printed; console:\n"
        << console;
    EXPECT_EQ(ReadBytes(work + L"clip.stats"), "x264 stand-in stats\r\n") << "the first pass ran";
    EXPECT_EQ(ReadBytes(output()), "x264 stand-in video\r\n") << "the second pass ran";
    EXPECT_FALSE(Exists(bin + L"envprep.bat")) << "the batch deleted it";
  }

  std::wstring bin;
  std::wstring tools;
  std::wstring work;
  FakeDialogs dialogs;
  std::unique_ptr<Program> program;
  std::vector<std::string> lines;
  std::string console;
  std::wstring outputName = L"clip.mp4";
};

}  // namespace

TEST_F(EndToEndTest, TheBatchRunsEveryLineOfTheJobAndDeletesTheAudioAfterMuxing) {
  ASSERT_NO_FATAL_FAILURE(queueAndSaveJob());
  const std::string del = "@if errorlevel 0 if not errorlevel 1 del " + Quoted(Narrow(audio()));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], del);
  const std::vector<Call> recorded = runJobs(std::nullopt);
  expectTheJobRan(recorded);
  EXPECT_FALSE(Exists(audio())) << "mp4box succeeded, so the audio file is deleted; console:\n"
                                << console;
}

TEST_F(EndToEndTest, AFailingMuxerLeavesTheAudioFile) {
  ASSERT_NO_FATAL_FAILURE(queueAndSaveJob());
  const std::vector<Call> recorded = runJobs(L"mp4box.exe");
  expectTheJobRan(recorded);
  EXPECT_EQ(ReadBytes(audio()), BepipeSamples())
      << "the audio file stays and holds what bepipe piped into neroaacenc; console:\n"
      << console;
  // A muxer that crashed (a negative code) did not succeed either.
  ASSERT_TRUE(
      CopyFileW((bin + L"exit_code_muxer.exe").c_str(), (tools + L"mp4box.exe").c_str(), FALSE));
  ASSERT_TRUE(RunBatch(L"jobs.bat", work, work + L"console.txt",
                       {{L"STANDIN_LOG", standinLog()}, {L"EXIT_CODE_MUXER", L"-1073741819"}}));
  EXPECT_EQ(ReadBytes(audio()), BepipeSamples()) << ReadBytes(work + L"console.txt").value_or("");
}

// mkvmerge ends with 0 when it joined the files, 1 when it joined them with
// warnings the user should look at, 2 when it wrote nothing; a crash ends
// with a negative code. The sources go only after a 0 of this run, and a
// joined file that an earlier run left changes nothing. The muxer here is
// exit_code_muxer.exe, which writes the joined file for 0 and 1 alone.
TEST_F(EndToEndTest, MkvMergeSourcesGoOnlyAfterItsOwnSuccess) {
  ASSERT_TRUE(
      CopyFileW((bin + L"exit_code_muxer.exe").c_str(), (tools + L"mkvmerge.exe").c_str(), FALSE));
  ASSERT_NO_FATAL_FAILURE(chooseJobSettings(2, "MKVMerge"));
  const std::string video = "x264 stand-in video\r\n";
  const std::string joined = "joined by exit_code_muxer\r\n";
  const std::string stale = "left by an earlier run\r\n";
  const struct {
    const wchar_t* output;
    const wchar_t* exitCode;
    bool stale;  // a joined file of an earlier run lies where this run's goes
  } cases[] = {
      {L"clip.mp4", L"2", true}, {L"clip.mp4", L"-1073741819", true}, {L"clip.mp4", L"1", false},
      {L"clip.mp4", L"0", true}, {L"clip.mkv", L"2", true},           {L"clip.mkv", L"1", true},
      {L"clip.mkv", L"0", true},
  };
  std::wstring queued;
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.output) + " exit code " + Narrow(c.exitCode));
    outputName = c.output;
    if (queued != outputName) {
      ASSERT_NO_FATAL_FAILURE(queueAndSave(outputName + L".bat"));
    }
    queued = outputName;
    // A Matroska output is joined beside itself and renamed into its place.
    const bool matroska = outputName == L"clip.mkv";
    const std::wstring target = work + (matroska ? L"clip.muxed.mkv" : L"clip.mkv");
    for (const std::wstring& file : {target, output(), audio()}) DeleteFileW(file.c_str());
    if (c.stale) {
      ASSERT_TRUE(WriteBytes(target, stale));
    }
    ASSERT_TRUE(RunBatch(outputName + L".bat", work, work + L"console.txt",
                         {{L"STANDIN_LOG", standinLog()}, {L"EXIT_CODE_MUXER", c.exitCode}}));
    console = ReadBytes(work + L"console.txt").value_or("");
    const std::wstring code = c.exitCode;
    if (code == L"0") {
      EXPECT_FALSE(Exists(audio())) << console;
      EXPECT_EQ(ReadBytes(work + L"clip.mkv"), joined) << console;
      EXPECT_FALSE(Exists(matroska ? target : output())) << console;
    } else {
      EXPECT_TRUE(Exists(audio())) << console;
      EXPECT_EQ(ReadBytes(output()), video) << console;
      const bool wrote = code == L"1";
      EXPECT_EQ(ReadBytes(target), wrote     ? std::optional(joined)
                                   : c.stale ? std::optional(stale)
                                             : std::nullopt)
          << console;
    }
  }
}

// "Start" looks for the programs of the jobs as the batch will, and asks
// before it runs a batch that would miss one.
TEST_F(EndToEndTest, StartAsksWhenAProgramOfTheJobsIsMissing) {
  ASSERT_NO_FATAL_FAILURE(queueAndSaveJob());
  ASSERT_TRUE(DeleteFileW((tools + L"bepipe.exe").c_str()));
  dialogs.calls.clear();
  Click(control(cid::start));
  // What the program folder lacks is looked for along PATH on another thread.
  ASSERT_TRUE(WaitUntil([&] {
    PumpMessages();
    return !dialogs.calls.empty();
  }));
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.calls[0].kind, "ask");
  EXPECT_TRUE(dialogs.calls[0].preset.starts_with(
      "These programs that the jobs call were not found: bepipe.exe\n"))
      << dialogs.calls[0].preset;
  EXPECT_FALSE(Exists(bin + L"temp.bat")) << "No starts nothing";

  ASSERT_TRUE(CopyFileW((bin + L"standin.exe").c_str(), (tools + L"bepipe.exe").c_str(), FALSE));
  dialogs.calls.clear();
  SetEnvironmentVariableW(L"STANDIN_LOG", standinLog().c_str());
  Click(control(cid::start));
  SetEnvironmentVariableW(L"STANDIN_LOG", nullptr);
  EXPECT_TRUE(dialogs.calls.empty()) << "with every program there, nothing is asked";
  ASSERT_TRUE(WaitUntil([] { return StartedInterpreters().empty(); }, 30000));
  EXPECT_FALSE(Exists(bin + L"temp.bat")) << "the batch ran and deleted itself";
  EXPECT_EQ(ReadBytes(output()), "x264 stand-in video\r\n");
}

// Inputs whose paths hold accents, another script and the characters the
// command interpreter gives a meaning reach the encoder exactly, whether
// the batch is saved and run later or started at once.
class PathsThroughTheBatch : public EndToEndTest {
 protected:
  void SetUp() override {
    // Run with the UTF-8 locale, the system's code pages must be UTF-8.
    const char* locale = std::getenv("LC_ALL");
    if (locale && std::string_view(locale) == "hi_IN.UTF-8") {
      ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
      ASSERT_EQ(GetOEMCP(), static_cast<UINT>(CP_UTF8));
    }
    EndToEndTest::SetUp();
  }

  // Queues one single-pass job per input, each in a folder of its own name
  // under the work folder, with the matrix file of the same place in
  // `matrixFiles` (in the work folder) chosen through "custom...", or none.
  void queueJobs(const std::vector<std::wstring>& names,
                 const std::vector<std::wstring>& matrixFiles = {}) {
    ChooseListEntry(control(cid::mode), 1);
    for (size_t i = 0; i < names.size(); ++i) {
      const std::wstring& name = names[i];
      const std::wstring matrix = i < matrixFiles.size() ? matrixFiles[i] : L"";
      matrices.push_back(matrix.empty() ? "" : Narrow(work + matrix));
      if (!matrix.empty()) dialogs.openAnswers.push_back(matrices.back());
      ChooseListEntry(control(cid::cqm), matrix.empty() ? 0 : 2);
      PumpMessages();
      ASSERT_EQ(window().text(cid::cqm), matrix.empty() ? "flat" : '"' + matrices.back() + '"');
      const std::wstring folder = work + name + L"\\";
      ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << Narrow(name);
      const std::wstring input = folder + name + L".avs";
      ASSERT_TRUE(WriteBytes(input, "BlankClip()\r\n"));
      inputs.push_back(Narrow(input));
      window().setText(cid::input, Narrow(input));
      outputs.push_back(Narrow(folder + name + L".mp4"));
      window().setText(cid::output, outputs.back());
      window().setText(cid::logfile, Narrow(folder + name + L".txt"));
      add();
    }
    ASSERT_EQ(jobLines().size(), names.size() * 6) << "each job is queued";
  }

  // Every input reached x264 as its last argument, exactly as queued, the
  // output as the argument after "-o" and a matrix file after "--cqmfile";
  // nothing else ran.
  void expectEachInputReachedTheEncoder() {
    const std::optional<std::string> records = ReadBytes(standinLog());
    ASSERT_TRUE(records.has_value());
    const std::vector<Call> calls = ParseRecords(*records);
    ASSERT_EQ(calls.size(), inputs.size()) << *records;
    for (size_t i = 0; i < inputs.size(); ++i) {
      EXPECT_EQ(calls[i].program, "x264.exe");
      const std::vector<std::string> arguments = SplitCommandLine("x264.exe" + calls[i].tail);
      ASSERT_GE(arguments.size(), 3u) << calls[i].tail;
      EXPECT_EQ(arguments.back(), inputs[i]) << calls[i].tail;
      EXPECT_EQ(arguments[arguments.size() - 2], outputs[i]) << calls[i].tail;
      EXPECT_EQ(arguments[arguments.size() - 3], "-o") << calls[i].tail;
      auto cqmfile = std::find(arguments.begin(), arguments.end(), "--cqmfile");
      const std::string matrix = cqmfile < arguments.end() - 1 ? *(cqmfile + 1) : "";
      EXPECT_EQ(matrix, i < matrices.size() ? matrices[i] : "") << calls[i].tail;
    }
  }

  // Starts the job list and waits until the batch has deleted itself.
  void startAndWait() {
    DeleteFileW(standinLog().c_str());
    SetEnvironmentVariableW(L"STANDIN_LOG", standinLog().c_str());
    Click(control(cid::start));
    SetEnvironmentVariableW(L"STANDIN_LOG", nullptr);
    ASSERT_TRUE(WaitUntil([] { return StartedInterpreters().empty(); }, 30000));
    ASSERT_FALSE(Exists(bin + L"temp.bat")) << "the batch ran to its end and deleted itself";
  }

  // Saves the job list with "Make BAT" and runs it with "cmd `options`/c".
  void saveAndRun(const std::wstring& options = L"") {
    DeleteFileW(standinLog().c_str());
    dialogs.saveAnswers.push_back(Narrow(work + L"jobs.bat"));
    Click(control(cid::makeBat));
    ASSERT_TRUE(RunBatch(L"jobs.bat", work, work + L"console.txt", {{L"STANDIN_LOG", standinLog()}},
                         options));
  }

  std::vector<std::string> inputs;
  std::vector<std::string> outputs;
  std::vector<std::string> matrices;  // empty for a job without a matrix file
};

// The bytes of `text` in a code page.
std::string InCodePage(UINT page, const std::wstring& text) {
  const int n = WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                      nullptr);
  return bytes;
}

// These tests run twice: on the prefix's code pages (1252 and 437) and on a
// system whose code pages are both UTF-8 (LC_ALL=hi_IN.UTF-8).

TEST_F(PathsThroughTheBatch, MakeBatWritesWhatTheConsoleSpellsInItsCodePage) {
  ASSERT_NO_FATAL_FAILURE(queueJobs({L"m\u00e9dia caf\u00e9", L"a %1 & ^ ! (b)"}));
  ASSERT_NO_FATAL_FAILURE(saveAndRun());
  const std::optional<std::string> saved = ReadBytes(work + L"jobs.bat");
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->find("chcp"), std::string::npos) << "no code page switch is needed";
  EXPECT_NE(saved->find(InCodePage(GetOEMCP(), L"m\u00e9dia")), std::string::npos)
      << "\"\u00e9\" in the console's code page";
  expectEachInputReachedTheEncoder();
}

// What the console cannot spell reaches the batch through its environment,
// and no interpreter, Wine's neither, which reads a variable's value once
// more, takes a "%" or "&" of a path for anything but itself.
TEST_F(PathsThroughTheBatch, StartPassesWhatTheConsoleCannotSpellThroughTheEnvironment) {
  const struct {
    std::wstring input;   // the name of its folder and file
    std::wstring matrix;  // a matrix file chosen through "custom...", or none
  } cases[] = {
      {L"m\u00e9dia", L""},
      {L"\u65e5\u672c \u6620\u50cf", L""},
      {L"a %1 & ^ ! (b)", L""},
      {L"\u65e5 100% & x264.exe PWNED & 50%", L""},
      {L"& lullo.exe PWNED & 100%", L"\u65e5%x.cfg"},
      {L"%QUORVEL_1%\u65e5", L"%QUORVEL_2%\u00e9 %OS%.cfg"},
  };
  std::vector<std::wstring> names;
  std::vector<std::wstring> matrixFiles;
  for (const auto& c : cases) {
    names.push_back(c.input);
    matrixFiles.push_back(c.matrix);
  }
  ASSERT_NO_FATAL_FAILURE(queueJobs(names, matrixFiles));
  ASSERT_NO_FATAL_FAILURE(startAndWait());
  expectEachInputReachedTheEncoder();
}

// A user whose command interpreter expands "!name!" (cmd /v:on, or
// DelayedExpansion in the registry) gets every "!" and "^" of a path.
TEST_F(PathsThroughTheBatch, DelayedExpansionTakesNothingFromAPath) {
  ASSERT_NO_FATAL_FAILURE(queueJobs({L"a^b!OS!c", L"Wow!"}));
  ASSERT_NO_FATAL_FAILURE(saveAndRun(L"/v:on "));
  expectEachInputReachedTheEncoder();
  ASSERT_NO_FATAL_FAILURE(startAndWait());
  expectEachInputReachedTheEncoder();
}

// Paths of 600 characters that the console lacks: one variable for each
// distinct run keeps the line short enough for the interpreter.
TEST_F(PathsThroughTheBatch, LongPathsTheConsoleCannotSpellStayWhole) {
  // 119 "Ж" (2 bytes of a Linux name each) and "-".
  const std::wstring component = std::wstring(119, L'\u0416') + L"-";
  std::wstring folder = work;
  for (int depth = 0; depth < 5; ++depth) {
    folder += component + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << depth;
  }
  inputs.push_back(Narrow(folder + L"clip.avs"));
  outputs.push_back(Narrow(folder + L"clip.mp4"));
  ChooseListEntry(control(cid::mode), 1);
  window().setText(cid::input, inputs.back());
  window().setText(cid::output, outputs.back());
  window().setText(cid::logfile, Narrow(folder + L"clip.txt"));
  add();
  ASSERT_EQ(jobLines().size(), 6u);
  ASSERT_NO_FATAL_FAILURE(startAndWait());
  expectEachInputReachedTheEncoder();
}

// A program that reads its command line in the ANSI code page receives a
// character that the code page maps by best fit as another one: a fullwidth
// quote as a quote. Such paths are refused; others reach the jobs.
TEST_F(PathsThroughTheBatch, APathAnAnsiProgramWouldMisreadIsRefused) {
  const bool utf8 = GetACP() == CP_UTF8;
  const struct {
    std::wstring name;
    bool refused;
  } cases[] = {
      {L"a\uff02 -if \uff02b", !utf8},  // fullwidth quotation mark
      {L"c\uff3cd", !utf8},             // fullwidth reverse solidus
      {L"e\u3000f", !utf8},             // ideographic space
      {L"vid\u00e9o", false},
      {L"\u65e5\u672c", false},
  };
  ChooseListEntry(control(cid::mode), 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    Click(control(cid::clear));
    dialogs.calls.clear();
    window().setText(cid::input, Narrow(work + c.name + L".avs"));
    window().setText(cid::output, Narrow(work + L"out.mp4"));
    window().setText(cid::logfile, Narrow(work + L"out.txt"));
    add();
    EXPECT_EQ(jobLines().empty(), c.refused);
    ASSERT_EQ(dialogs.calls.size(), c.refused ? 1u : 0u);
    if (c.refused) {
      EXPECT_NE(dialogs.calls[0].preset.find("\"Input file\""), std::string::npos)
          << dialogs.calls[0].preset;
      EXPECT_NE(dialogs.calls[0].preset.find("without " + Narrow(c.name.substr(1, 1))),
                std::string::npos)
          << dialogs.calls[0].preset;
    }
  }
}

// AviSynth reads a wrapper script in the system's code page: a name that
// code page spells is written in it, one it cannot spell is refused.
TEST_F(PathsThroughTheBatch, WrapperScriptsAreWrittenInTheSystemCodePage) {
  for (const std::wstring name : {L"vid\u00e9o", L"\u65e5\u672c"}) {
    SCOPED_TRACE(Narrow(name));
    const std::wstring source = work + name + L".mkv";
    const std::wstring script = L"fs=\"" + source + L"\"\r\nmfn=\"" + work + name +
                                L"\"\r\nimport(\"..\\avsinc\\.avs\")\r\n";
    BOOL lacking = FALSE;
    const bool spelled =
        WideCharToMultiByte(CP_ACP, 0, script.data(), static_cast<int>(script.size()), nullptr, 0,
                            nullptr, GetACP() == CP_UTF8 ? nullptr : &lacking) > 0 &&
        !lacking;
    dialogs.calls.clear();
    dialogs.openAnswers.push_back(Narrow(source));
    Click(control(cid::inputBrowse));
    const std::wstring wrapper = bin + L"avs\\" + name + L".mkv.avs";
    if (spelled) {
      EXPECT_EQ(ReadBytes(wrapper), InCodePage(CP_ACP, script));
      EXPECT_EQ(window().text(cid::input), Narrow(wrapper));
    } else {
      EXPECT_FALSE(Exists(wrapper));
      EXPECT_EQ(window().text(cid::input), Narrow(source));
      EXPECT_EQ(dialogs.calls.size(), 2u) << "the requester and one message";
    }
    DeleteFileW(wrapper.c_str());
  }
}
