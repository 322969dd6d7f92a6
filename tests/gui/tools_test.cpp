// The helper programs that the job batches call, run as the batches run them:
// as separate processes, judged by their exit codes, their output and the
// files they leave.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "gui/gui_support.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "recorded_messages.h"
#include "tools/encoder_verdict.h"

namespace {

constexpr DWORD kTimeoutMs = 20000;

double NowMs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// The environment of this process with some variables replaced, as a block
// for CreateProcessW.
std::wstring EnvironmentWith(const std::map<std::wstring, std::wstring>& changes) {
  std::wstring block;
  const std::unique_ptr<wchar_t, decltype(&FreeEnvironmentStringsW)> strings(
      GetEnvironmentStringsW(), &FreeEnvironmentStringsW);
  for (const wchar_t* entry = strings.get(); *entry; entry += wcslen(entry) + 1) {
    std::wstring text = entry;
    const size_t equals = text.find(L'=', 1);
    const std::wstring name = text.substr(0, equals);
    bool replaced = false;
    for (const auto& [changed, value] : changes)
      replaced = replaced ||
                 CompareStringOrdinal(name.c_str(), -1, changed.c_str(), -1, TRUE) == CSTR_EQUAL;
    if (!replaced) block += text + L'\0';
  }
  for (const auto& [name, value] : changes) block += name + L'=' + value + L'\0';
  block += L'\0';
  return block;
}

// A helper program started with pipes for its three standard streams.
class ToolProcess {
 public:
  ToolProcess(std::wstring commandLine, const std::wstring& directory,
              const std::map<std::wstring, std::wstring>& environment = {}) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    KernelHandle childIn, childOut, childErr;
    auto pipe = [&](KernelHandle& read, KernelHandle& write) {
      HANDLE readEnd = nullptr;
      HANDLE writeEnd = nullptr;
      if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
      read = KernelHandle(readEnd);
      write = KernelHandle(writeEnd);
      return true;
    };
    if (!pipe(childIn, input_) || !pipe(output_, childOut) || !pipe(error_, childErr)) {
      startError_ = GetLastError();
      return;
    }
    // Only the child's ends are inherited.
    for (HANDLE mine : {input_.get(), output_.get(), error_.get()})
      SetHandleInformation(mine, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn.get();
    startup.hStdOutput = childOut.get();
    startup.hStdError = childErr.get();
    std::wstring block = environment.empty() ? std::wstring() : EnvironmentWith(environment);
    PROCESS_INFORMATION info{};
    started_ = NowMs();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                        block.empty() ? nullptr : block.data(), directory.c_str(), &startup,
                        &info)) {
      startError_ = GetLastError();
      return;
    }
    process_ = KernelHandle(info.hProcess);
    KernelHandle thread(info.hThread);
  }

  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  ~ToolProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.get(), 99);
  }

  bool running() const { return static_cast<bool>(process_); }
  DWORD startError() const { return startError_; }
  HANDLE input() const { return input_.get(); }
  HANDLE output() const { return output_.get(); }
  HANDLE error() const { return error_.get(); }
  void closeInput() { input_.reset(); }

  // The exit code, or nothing when the process did not end in time (it is
  // then ended by force).
  std::optional<DWORD> wait() {
    if (WaitForSingleObject(process_.get(), kTimeoutMs) != WAIT_OBJECT_0) {
      TerminateProcess(process_.get(), 99);
      return std::nullopt;
    }
    elapsedMs_ = NowMs() - started_;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
  }
  double elapsedMs() const { return elapsedMs_; }

 private:
  KernelHandle input_, output_, error_, process_;
  DWORD startError_ = 0;
  double started_ = 0;
  double elapsedMs_ = 0;
};

std::string ReadToEnd(HANDLE pipe) {
  std::string text;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  return text;
}

struct ToolRun {
  std::optional<DWORD> exitCode;  // nothing: not started or did not end
  std::string output;
  std::string error;
  double elapsedMs = 0;
};

// Runs a command line to its end, feeding `input` to its standard input from
// one thread while two others collect its output, so no pipe fills up.
ToolRun Run(const std::wstring& commandLine, const std::wstring& directory,
            const std::string& input = {},
            const std::map<std::wstring, std::wstring>& environment = {}) {
  ToolRun run;
  ToolProcess process(commandLine, directory, environment);
  EXPECT_TRUE(process.running()) << "cannot start " << testing::PrintToString(commandLine)
                                 << ", error " << process.startError();
  if (!process.running()) return run;
  std::thread writer([&] {
    const char* data = input.data();
    size_t left = input.size();
    DWORD written = 0;
    while (left > 0 &&
           WriteFile(process.input(), data, static_cast<DWORD>(std::min<size_t>(left, 65536)),
                     &written, nullptr)) {
      data += written;
      left -= written;
    }
    process.closeInput();
  });
  std::thread errorReader([&] { run.error = ReadToEnd(process.error()); });
  run.output = ReadToEnd(process.output());
  run.exitCode = process.wait();
  run.elapsedMs = process.elapsedMs();
  writer.join();
  errorReader.join();
  return run;
}

// Runs one of the helper programs from the program folder.
ToolRun RunTool(const std::wstring& tool, const std::vector<std::wstring>& arguments,
                const std::wstring& directory, const std::string& input = {}) {
  std::wstring commandLine = Quoted(TestProgramFolder() + tool);
  for (const std::wstring& argument : arguments) commandLine += L" " + Quoted(argument);
  return Run(commandLine, directory, input);
}

// A fresh folder under the temporary folder, removed with all it holds.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    static int counter = 0;
    path_ = std::wstring(base) + L"quorvel-tools-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder() { RemoveFolder(path_); }

  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << "cannot create the test file";
  DWORD written = 0;
  ASSERT_TRUE(
      WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_EQ(written, bytes.size());
}

// The whole file; nothing when it cannot be opened. Others may still write it.
std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string text;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    text.append(buffer, got);
  return text;
}

// A file of exactly `size` bytes, made without writing them.
void MakeFileOfSize(const std::wstring& path, std::uint64_t size) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << "cannot create the test file";
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(file.get()));
}

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

// ---------------------------------------------------------------------------
// gaugit.exe MIN MAX FILE

struct SizeCase {
  const wchar_t* low;
  const wchar_t* high;
  std::uint64_t bytes;
  DWORD expected;
};

TEST(Gaugit, TellsWhetherTheFileSizeLiesWithinTheBoundsInMegabytes) {
  constexpr std::uint64_t MB = 1048576;
  // Just below, at and just above each bound, and a size beyond 4 GB (whose
  // lower 32 bits alone would give 1 GB). The bounds are read and compared
  // exactly, as the native tests of the size check show for many more.
  const SizeCase cases[] = {
      {L"1", L"2", MB - 1, 1},
      {L"1", L"2", MB, 0},
      {L"0.5", L"1.5", MB + MB / 2, 0},
      {L"0.5", L"1.5", MB + MB / 2 + 1, 1},
      {L"5119.5", L"5120", 5120 * MB, 0},
  };
  TemporaryFolder folder;
  const std::wstring file = folder.path() + L"first pass.mp4";
  for (const SizeCase& c : cases) {
    MakeFileOfSize(file, c.bytes);
    ToolRun run = RunTool(L"gaugit.exe", {c.low, c.high, file}, folder.path());
    std::string size = " ";
    size += std::to_string(c.bytes);
    size += " bytes";
    std::string verdict = c.expected == 0 ? "within " : "outside ";
    for (const wchar_t* bound : {c.low, L" to ", c.high, L" MB"})
      for (const wchar_t* letter = bound; *letter; ++letter) verdict += static_cast<char>(*letter);
    SCOPED_TRACE(testing::Message()
                 << "bounds " << testing::PrintToString(std::wstring(c.low)) << " to "
                 << testing::PrintToString(std::wstring(c.high)) << ", " << c.bytes << " bytes");
    EXPECT_EQ(run.exitCode, c.expected);
    // One line that gives the size and the verdict.
    EXPECT_NE(run.output.find(size), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(verdict), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << run.output;
    EXPECT_EQ(run.error, "");
  }
}

TEST(Gaugit, AMissingFileOrAFolderIsOutsideTheBounds) {
  TemporaryFolder folder;
  const std::wstring subfolder = folder.path() + L"clip.mp4";
  ASSERT_TRUE(CreateDirectoryW(subfolder.c_str(), nullptr));
  for (const std::wstring& path : {folder.path() + L"never written.mp4", subfolder}) {
    ToolRun run = RunTool(L"gaugit.exe", {L"0", L"1000", path}, folder.path());
    EXPECT_EQ(run.exitCode, 1u) << testing::PrintToString(path);
    EXPECT_NE(run.output.find("not found"), std::string::npos) << run.output;
  }
}

TEST(Gaugit, RefusesAWrongCommandLineWithCodeTwo) {
  TemporaryFolder folder;
  const std::wstring file = folder.path() + L"clip.mp4";
  MakeFileOfSize(file, 1048576);
  // (Which bounds are numbers is a native test of the size check.)
  const std::vector<std::vector<std::wstring>> commandLines = {
      {},
      {L"1", L"2", file, L"3"},
      {L"-1", L"2", file},
      {L"1", L"2", L""},
      {L"3", L"2", file},  // minimum above maximum
  };
  for (const auto& arguments : commandLines) {
    ToolRun run = RunTool(L"gaugit.exe", arguments, folder.path());
    SCOPED_TRACE(testing::PrintToString(arguments));
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.error.find("usage: gaugit.exe MIN MAX FILE"), std::string::npos) << run.error;
    EXPECT_EQ(run.output, "");
  }
}

// ---------------------------------------------------------------------------
// teelog.exe [LOGFILE]

// What QUORVEL_PROGRESS holds once x264 printed `text`: the last progress
// line and the last error line, as the native tests of the verdict show
// them; no file when there is neither.
std::optional<std::string> ProgressFileOf(std::string_view text) {
  encoder_verdict::EncoderVerdict verdict;
  verdict.take(text.data(), text.size());
  verdict.end();
  if (verdict.status().empty() && verdict.lastError().empty()) return std::nullopt;
  std::string file(verdict.status());
  if (!verdict.lastError().empty()) file += "\r\n" + std::string(verdict.lastError()) + "\r\n";
  return file;
}

// What x264 really printed, piped through teelog as a job line pipes it: the
// console and the log receive it unchanged, the exit code says whether the
// encode finished, and QUORVEL_PROGRESS ends with the last progress line.
TEST(Teelog, JudgesRecordedEncodesAndPassesThemOnUnchanged) {
  const struct {
    std::string_view recording;
    DWORD exitCode;
    bool bare;  // no log file, and QUORVEL_PROGRESS names a missing folder
  } cases[] = {
      {"x264/finished.txt", 0, false},        {"x264/finished.txt", 0, true},
      {"x264/ctrl-c.txt", 1, false},          {"x264/killed.txt", 1, false},
      {"x264/error-continued.txt", 1, false}, {"x264/error-then-aborted.txt", 1, true},
      {"x264/write-failed.txt", 1, false},    {"x264/missing-input.txt", 1, false},
      {"x264/probe-fallback.txt", 0, false},  {"mkvmerge/missing-input.txt", 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.recording << (c.bare ? " bare" : ""));
    const std::string_view text = Recorded(c.recording);
    TemporaryFolder folder;
    const std::wstring log = folder.path() + L"clip.log";
    const std::wstring progress =
        folder.path() + (c.bare ? L"no such folder\\" : L"") + L"progress.txt";
    WriteFileBytes(folder.path() + L"x264 said.txt", std::string(text));
    ToolRun run =
        ::Run(L"cmd.exe /c type \"x264 said.txt\" | " +
                  Quoted(TestProgramFolder() + L"teelog.exe") + (c.bare ? L"" : L" " + Quoted(log)),
              folder.path(), {}, {{L"QUORVEL_PROGRESS", progress}});
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_TRUE(!text.empty() && run.output == text) << run.output;
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(ReadFileBytes(log), c.bare ? std::nullopt : std::optional<std::string>(text));
    EXPECT_EQ(ReadFileBytes(progress), c.bare ? std::nullopt : ProgressFileOf(text));
  }
}

TEST(Teelog, CopiesSeveralMegabytesExactlyToTheConsoleAndTheLog) {
  TemporaryFolder folder;
  const std::wstring log = folder.path() + L"clip.log";
  const std::string data = RandomBytes(5 * 1048576 + 123, 264);
  ToolRun run = RunTool(L"teelog.exe", {log}, folder.path(), data);
  EXPECT_EQ(run.exitCode, 1u) << "random bytes are no finished encode";
  EXPECT_TRUE(run.output == data) << "standard output: " << run.output.size() << " of "
                                  << data.size() << " bytes, or changed bytes";
  const std::optional<std::string> logged = ReadFileBytes(log);
  ASSERT_TRUE(logged.has_value());
  EXPECT_TRUE(*logged == data) << "log: " << logged->size() << " of " << data.size()
                               << " bytes, or changed bytes";
  EXPECT_EQ(run.error, "");
}

TEST(Teelog, ReplacesAnOlderLogAndLogsAnEmptyStreamAsAnEmptyFile) {
  TemporaryFolder folder;
  const std::wstring log = folder.path() + L"clip.log";
  const struct {
    std::string text;
    DWORD exitCode;
  } cases[] = {{"x264 [info]: frame I:1\r\nencoded 1 frames\n\x1a\r\n", 0}, {"", 1}};
  for (const auto& c : cases) {
    WriteFileBytes(log, std::string(10000, 'o'));
    ToolRun run = RunTool(L"teelog.exe", {log}, folder.path(), c.text);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.output, c.text);
    EXPECT_EQ(ReadFileBytes(log), std::optional<std::string>(c.text));
  }
}

// The encoder's progress shows, and is in the log and the progress file,
// while it still runs.
TEST(Teelog, PassesEachPieceOnAtOnce) {
  TemporaryFolder folder;
  const std::wstring log = folder.path() + L"live.log";
  const std::wstring progress = folder.path() + L"progress.txt";
  ToolProcess process(Quoted(TestProgramFolder() + L"teelog.exe") + L" " + Quoted(log),
                      folder.path(), {{L"QUORVEL_PROGRESS", progress}});
  ASSERT_TRUE(process.running()) << process.startError();
  const std::string first = "[1.0%] 10/1000 frames, 5.00 fps, 9.00 kb/s, eta 0:03:18";
  const std::string second = "[2.0%] 20/1000 frames, 5.00 fps, 9.00 kb/s, eta 0:03:16";
  std::string sent;
  std::string shown;
  for (const std::string& piece : {first + "  \r", second + "  \r", std::string("x")}) {
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(process.input(), piece.data(), static_cast<DWORD>(piece.size()), &written,
                          nullptr));
    sent += piece;
    // Waits for the piece on standard output; a tool that holds it back until
    // its input ends never delivers it, and the run times out.
    const double deadline = NowMs() + 5000;
    while (shown.size() < sent.size() && NowMs() < deadline) {
      DWORD available = 0;
      if (!PeekNamedPipe(process.output(), nullptr, 0, nullptr, &available, nullptr)) break;
      if (available == 0) {
        Sleep(5);
        continue;
      }
      std::string chunk(available, '\0');
      DWORD got = 0;
      if (!ReadFile(process.output(), chunk.data(), available, &got, nullptr)) break;
      shown.append(chunk.data(), got);
    }
    EXPECT_EQ(shown, sent);
    // What the console shows is already in the log.
    EXPECT_EQ(ReadFileBytes(log), std::optional<std::string>(sent));
    // The first progress line is written at once (later ones at most four
    // times a second, and the last at the end).
    if (sent == piece) {
      EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(progress).value_or("") == first; }, 5000));
    }
  }
  process.closeInput();
  EXPECT_EQ(process.wait(), 1u) << "no summary";
  EXPECT_EQ(ReadFileBytes(progress), std::optional<std::string>(second));
}

TEST(Teelog, StillCopiesAndJudgesWhenTheLogCannotBeCreated) {
  TemporaryFolder folder;
  const std::string text = "encoded 250 frames, 9.00 fps, 9.00 kb/s\r\n";
  ToolRun run =
      RunTool(L"teelog.exe", {folder.path() + L"no such folder\\clip.log"}, folder.path(), text);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.output, text);
  EXPECT_NE(run.error, "");
}

TEST(Teelog, RefusesAWrongCommandLineWithCodeTwo) {
  TemporaryFolder folder;
  const std::vector<std::vector<std::wstring>> commandLines = {
      {L""},
      {folder.path() + L"a.log", folder.path() + L"b.log"},
      {L"--run", folder.path() + L"a.log"}};
  for (const auto& arguments : commandLines) {
    ToolRun run = RunTool(L"teelog.exe", arguments, folder.path(), "encoded 1 frames\n");
    SCOPED_TRACE(testing::PrintToString(arguments));
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.error.find("usage: teelog.exe [LOGFILE]"), std::string::npos) << run.error;
    EXPECT_EQ(run.output, "");
    EXPECT_FALSE(Exists(folder.path() + L"a.log"));
  }
}

// "teelog.exe --run LOG PROGRAM ..." on a batch line, with the x264
// stand-in in the current folder: the stand-in records the command line it
// was given after its name.
TEST(Teelog, RunsTheProgramWithItsArgumentsUnchangedAndEndsWithItsCode) {
  const struct {
    std::string program;
    std::string arguments;
    std::string log;
    DWORD exitCode;
    bool finished;  // the stand-in printed a finished encode
  } cases[] = {
      {"x264.exe", R"( --crf 20 -o "out put.264" "in put.avs")", R"("clip.log")", 0, true},
      {"x264", " --crf 20 -o nul gone.avs", R"("clip.log")", 255, false},
      {"x264.exe", "  --tag \"a \\\"b\\\" c\\\\\" -o nul \"x\"\"y\"\t\"in put.avs\"", R"("")", 0,
       true},
      {R"("enc dir\x264.exe")", R"( -o nul "in put.avs")", R"("clip.log")", 0, true},
      {"nosuch.exe", R"( -o nul "in put.avs")", R"("clip.log")", 9009, false},
  };
  const std::string_view finished = Recorded("x264/finished.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program + c.arguments + " logged to " + c.log);
    TemporaryFolder folder;
    const std::wstring work = folder.path();
    ASSERT_TRUE(CreateDirectoryW((work + L"enc dir").c_str(), nullptr));
    for (const wchar_t* copy : {L"x264.exe", L"enc dir\\x264.exe"})
      ASSERT_TRUE(
          CopyFileW((TestProgramFolder() + L"standin.exe").c_str(), (work + copy).c_str(), FALSE));
    WriteFileBytes(work + L"in put.avs", "");
    // The batch names teelog without a folder: the console's code page need
    // not spell the folder the tests run in.
    ASSERT_TRUE(CopyFileW((TestProgramFolder() + L"teelog.exe").c_str(),
                          (work + L"teelog.exe").c_str(), FALSE));
    WriteFileBytes(work + L"run.bat", "@teelog.exe --run " + c.log + " " + c.program + c.arguments +
                                          "\r\n@exit /b %errorlevel%\r\n");
    ToolRun run = ::Run(L"cmd.exe /c run.bat", work, {},
                        {{L"STANDIN_LOG", work + L"records.txt"},
                         {L"STANDIN_X264_SECONDS", L"0"},
                         {L"QUORVEL_PROGRESS", work + L"progress.txt"}});
    EXPECT_EQ(run.exitCode, c.exitCode);
    const bool started = c.exitCode != 9009;
    EXPECT_EQ(
        ReadFileBytes(work + L"records.txt"),
        started ? std::optional<std::string>("x264.exe\t" + c.arguments + "\r\n") : std::nullopt);
    if (c.finished) {
      EXPECT_EQ(run.output, finished);
    }
    if (started) {
      EXPECT_EQ(run.error, "");
    } else {
      EXPECT_TRUE(run.error.starts_with("teelog: cannot start " + c.program + ": ")) << run.error;
    }
    // The log holds all that teelog showed.
    EXPECT_EQ(ReadFileBytes(work + L"clip.log"),
              c.log == R"("")" ? std::nullopt : std::optional(run.output + run.error));
    EXPECT_EQ(ReadFileBytes(work + L"progress.txt"),
              started ? ProgressFileOf(run.output) : std::nullopt);
  }
}

// ---------------------------------------------------------------------------
// envprep.exe run

// Copies a helper program under another name; removes it again at the end.
class CopiedProgram {
 public:
  CopiedProgram(const std::wstring& program, const std::wstring& folder, const std::wstring& name)
      : folder_(folder), path_(folder + name) {
    createdFolder_ = CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
    copied_ = CopyFileW((TestProgramFolder() + program).c_str(), path_.c_str(), FALSE) != FALSE;
  }
  CopiedProgram(const CopiedProgram&) = delete;
  CopiedProgram& operator=(const CopiedProgram&) = delete;
  ~CopiedProgram() {
    DeleteFileW(path_.c_str());
    if (createdFolder_) RemoveDirectoryW(folder_.c_str());
  }
  bool copied() const { return copied_; }

 private:
  std::wstring folder_;
  std::wstring path_;
  bool createdFolder_ = false;
  bool copied_ = false;
};

// A batch with the job-script lines around "call envprep.bat", given how to
// start envprep.exe (nothing: leave these lines out). It ends with code 0 only
// when every tool it names is found, and its code tells which one was not.
std::string ProbeBatch(const char* envprep) {
  std::string text;
  if (envprep) {
    text += std::string("@") + envprep + " run\r\n";
    text += "@if errorlevel 1 exit /b 3\r\n";
    text += "@if not exist envprep.bat exit /b 4\r\n";
    text += "@call envprep.bat\r\n";
    text += "@del envprep.bat\r\n";
  }
  // The names are this test process's own, as the program folder is shared.
  const std::string id = std::to_string(GetCurrentProcessId());
  int code = 7;
  for (const char* tool : {"probe-tool-", "home-tool-", "kept-tool-"}) {
    text.append("@").append(tool).append(id).append(".exe 1\r\n");
    text.append("@if errorlevel 1 exit /b ").append(std::to_string(code++)).append("\r\n");
  }
  text += "@exit /b 0\r\n";
  return text;
}

std::wstring ToolName(const wchar_t* kind) {
  return std::wstring(kind) + L"-tool-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
}

// Runs the probe batch with `work` as current directory. The program folder
// holds the home tool and, in "tools", the probe tool; the kept tool lies in
// `keptFolder`, which is on PATH before and must stay on it.
ToolRun RunProbeBatch(const char* envprep, const std::wstring& work, const std::wstring& keptFolder,
                      bool delayedExpansion,
                      std::map<std::wstring, std::wstring> environment = {}) {
  WriteFileBytes(work + L"probe.bat", ProbeBatch(envprep));
  wchar_t path[32767] = {};
  GetEnvironmentVariableW(L"PATH", path, 32767);
  environment[L"PATH"] = std::wstring(path) + L";" + keptFolder;
  return Run(
      std::wstring(L"cmd.exe ") + (delayedExpansion ? L"/v:on" : L"/v:off") + L" /c probe.bat",
      work, {}, environment);
}

// The program's folder is the folder of the test program, as in the release.
TEST(Envprep, TheCalledBatchFindsToolsInTheProgramFolderAndItsToolsFolder) {
  TemporaryFolder work;
  TemporaryFolder kept;
  const std::wstring bin = TestProgramFolder();
  CopiedProgram probe(L"lullo.exe", bin + L"tools\\", ToolName(L"probe"));
  CopiedProgram home(L"lullo.exe", bin, ToolName(L"home"));
  CopiedProgram keptTool(L"lullo.exe", kept.path(), ToolName(L"kept"));
  ASSERT_TRUE(probe.copied() && home.copied() && keptTool.copied());

  // Without envprep.bat the batch cannot find the tools.
  ToolRun without = RunProbeBatch(nullptr, work.path(), kept.path(), false);
  ASSERT_EQ(without.exitCode, 7u) << without.output << without.error;

  ToolRun with = RunProbeBatch("\"%ENVPREP_UNDER_TEST%\"", work.path(), kept.path(), false,
                               {{L"ENVPREP_UNDER_TEST", bin + L"envprep.exe"}});
  EXPECT_EQ(with.exitCode, 0u) << with.output << with.error;
  EXPECT_FALSE(Exists(work.path() + L"envprep.bat"));
  EXPECT_FALSE(Exists(bin + L"envprep.bat"));
}

struct FolderCase {
  const wchar_t* name;
  bool delayedExpansion;
};

// Folders whose names the batch must spell with care: '%' is doubled, '&',
// '^', '(' and '!' stay literal, letters beyond ASCII come out in the code
// page the command interpreter reads, and a ';' must not split the PATH
// entry. (Wine's command interpreter ignores carets in delayed expansion, so
// '^' and '!' are left out there.) The probe batch runs in a subfolder and
// starts envprep.exe as "..\envprep.exe", so that only PATH leads to the
// tools.
TEST(Envprep, WorksForFolderNamesThatBatchFilesMustEscape) {
  const FolderCase cases[] = {
      {L"R&D 100% \u00f6 !x^y", false},
      {L"R&D 100% \u00f6 (1) %PATH%", true},
      {L"semi;colon", false},
      {L"semi;colon \u0436", true},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << testing::PrintToString(std::wstring(c.name))
                 << (c.delayedExpansion ? " with" : " without") << " delayed expansion");
    TemporaryFolder root;
    TemporaryFolder kept;
    const std::wstring program = root.path() + c.name + L"\\";
    const std::wstring work = program + L"work\\";
    CopiedProgram envprep(L"envprep.exe", program, L"envprep.exe");
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
    CopiedProgram home(L"lullo.exe", program, ToolName(L"home"));
    CopiedProgram probe(L"lullo.exe", program + L"tools\\", ToolName(L"probe"));
    CopiedProgram keptTool(L"lullo.exe", kept.path(), ToolName(L"kept"));
    ASSERT_TRUE(envprep.copied() && home.copied() && probe.copied() && keptTool.copied());

    ToolRun run = RunProbeBatch("\"..\\envprep.exe\"", work, kept.path(), c.delayedExpansion);
    EXPECT_EQ(run.exitCode, 0u) << run.output << run.error;
    EXPECT_FALSE(Exists(work + L"envprep.bat"));
  }
}

TEST(Envprep, WritesCarriageReturnLineFeedLines) {
  TemporaryFolder work;
  ToolRun run = RunTool(L"envprep.exe", {L"run"}, work.path());
  ASSERT_EQ(run.exitCode, 0u) << run.error;
  const std::optional<std::string> text = ReadFileBytes(work.path() + L"envprep.bat");
  ASSERT_TRUE(text.has_value());
  ASSERT_FALSE(text->empty());
  EXPECT_EQ(text->substr(text->size() - 2), "\r\n");
  for (size_t at = text->find('\n'); at != std::string::npos; at = text->find('\n', at + 1))
    EXPECT_TRUE(at > 0 && (*text)[at - 1] == '\r') << "a line feed without carriage return";
  EXPECT_EQ(text->find("\r\r"), std::string::npos);
}

TEST(Envprep, ReportsABatchFileThatCannotBeWritten) {
  TemporaryFolder work;
  // A folder of that name stands in the way.
  ASSERT_TRUE(CreateDirectoryW((work.path() + L"envprep.bat").c_str(), nullptr));
  ToolRun run = RunTool(L"envprep.exe", {L"run"}, work.path());
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.error, "");
}

TEST(Envprep, WritesTheNamedFileAndRefusesAnythingElseWithCodeTwo) {
  TemporaryFolder work;
  ToolRun named = RunTool(L"envprep.exe", {L"run", L"temp.w2.env.bat"}, work.path());
  EXPECT_EQ(named.exitCode, 0u);
  EXPECT_TRUE(Exists(work.path() + L"temp.w2.env.bat"));
  EXPECT_FALSE(Exists(work.path() + L"envprep.bat"));
  const std::vector<std::vector<std::wstring>> commandLines = {
      {}, {L""}, {L"go"}, {L"run", L"a", L"b"}, {L"run", L""}, {L"/?"}, {L"runs"}};
  for (const auto& arguments : commandLines) {
    ToolRun run = RunTool(L"envprep.exe", arguments, work.path());
    SCOPED_TRACE(testing::PrintToString(arguments));
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.error.find("usage: envprep.exe run"), std::string::npos) << run.error;
    EXPECT_FALSE(Exists(work.path() + L"envprep.bat"));
  }
}

// ---------------------------------------------------------------------------
// lullo.exe MS

TEST(Lullo, ReturnsAfterTheGivenMilliseconds) {
  TemporaryFolder work;
  const struct {
    const wchar_t* argument;
    double atLeastMs;
  } cases[] = {{L"200", 200}, {L"0", 0}, {L"450", 450}};
  for (const auto& c : cases) {
    ToolRun run = RunTool(L"lullo.exe", {c.argument}, work.path());
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.argument)));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_GE(run.elapsedMs, c.atLeastMs);
    EXPECT_LT(run.elapsedMs, c.atLeastMs + 1500);
  }
}

// A lullo.exe that sleeps, as a worker of a batch that runs stands for it.
struct Sleeper {
  KernelHandle process;
  std::wstring id;  // "PROCESS"
  unsigned long long created = 0;

  Sleeper(const std::wstring& folder, int milliseconds) {
    std::wstring command =
        Quoted(TestProgramFolder() + L"lullo.exe") + L" " + std::to_wstring(milliseconds);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        folder.c_str(), &startup, &info))
      return;
    process = KernelHandle(info.hProcess);
    CloseHandle(info.hThread);
    id = std::to_wstring(info.dwProcessId);
    FILETIME creation{}, exited{}, kernel{}, user{};
    GetProcessTimes(process.get(), &creation, &exited, &kernel, &user);
    created =
        (static_cast<unsigned long long>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
  }
  ~Sleeper() {
    if (process) TerminateProcess(process.get(), 1);
  }
  bool ended() const { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }
};

// A batch started to run after another waits for the other's workers.
TEST(Lullo, AfterWaitsUntilEachNamedProcessHasEnded) {
  TemporaryFolder work;
  const Sleeper sleeper(work.path(), 700);
  ASSERT_TRUE(sleeper.process);
  const std::wstring id = sleeper.id + L":";
  // A process of that id started at another time is no longer the one named.
  ToolRun other =
      RunTool(L"lullo.exe", {L"--after", id + std::to_wstring(sleeper.created + 1)}, work.path());
  EXPECT_EQ(other.exitCode, 0u);
  EXPECT_LT(other.elapsedMs, 400);
  ToolRun run =
      RunTool(L"lullo.exe", {L"--after", id + std::to_wstring(sleeper.created)}, work.path());
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(sleeper.ended()) << "it returned after the end";
}

// Before a batch shuts the computer down, it waits for the workers of the
// other batches of its folder that run jobs: not for its own, nor for a
// batch that waits to run after another or itself waits so.
TEST(Lullo, SpareWaitsForTheOtherBatchesThatRunJobs) {
  TemporaryFolder work;
  const Sleeper runs(work.path(), 800), own(work.path(), 20000), waits(work.path(), 20000),
      spares(work.path(), 20000);
  const struct {
    const wchar_t* batch;
    const Sleeper& worker;
    unsigned long long created;  // another than the worker's: a process that got its id
    const wchar_t* mark;
  } batches[] = {{L"temp", own, own.created, nullptr},
                 {L"temp2", runs, runs.created, nullptr},
                 {L"temp3", waits, waits.created, L"waiting"},
                 {L"temp4", spares, spares.created, L"sparing"},
                 {L"temp5", own, own.created + 1, nullptr}};
  for (const auto& b : batches) {
    ASSERT_TRUE(b.worker.process);
    const std::wstring claims = work.path() + b.batch + L".claims\\";
    CreateDirectoryW(claims.c_str(), nullptr);
    WriteFileBytes(claims + L"pid." + b.worker.id + L"." + std::to_wstring(b.created), "");
    if (b.mark) CreateDirectoryW((claims + b.mark).c_str(), nullptr);
  }
  ToolRun run = RunTool(L"lullo.exe", {L"--spare", work.path() + L"temp.claims"}, work.path());
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(runs.ended()) << "it returned after the batch that runs jobs ended";
  EXPECT_LT(run.elapsedMs, 10000);
  EXPECT_FALSE(own.ended() || waits.ended() || spares.ended());
}

TEST(Lullo, RefusesAWrongCommandLineWithCodeTwo) {
  TemporaryFolder work;
  const std::vector<std::vector<std::wstring>> commandLines = {{},
                                                               {L""},
                                                               {L"abc"},
                                                               {L"-5"},
                                                               {L"1.5"},
                                                               {L"10", L"20"},
                                                               {L"99999999999999999999"},
                                                               {L"--after"},
                                                               {L"--after", L"12"},
                                                               {L"--after", L"x:1"},
                                                               {L"--spare"},
                                                               {L"--spare", L""},
                                                               {L"--spare", L"a", L"b"}};
  for (const auto& arguments : commandLines) {
    ToolRun run = RunTool(L"lullo.exe", arguments, work.path());
    SCOPED_TRACE(testing::PrintToString(arguments));
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.error.find("usage: lullo.exe MS"), std::string::npos) << run.error;
    EXPECT_LT(run.elapsedMs, 1500);
  }
}

}  // namespace
