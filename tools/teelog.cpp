// teelog.exe [LOGFILE]
// teelog.exe --run LOGFILE PROGRAM [ARGUMENTS...]
//
// Copies everything that x264 prints to standard output and, when LOGFILE is
// given, to LOGFILE, byte for byte, so that the progress shows in the console
// while the log file receives the same text. Nothing is held back: each chunk
// goes to the log and then to the console as soon as it has been read, so
// the log is complete up to the moment the encoder stops, however it stops.
//
// With --run, teelog starts the encoder itself, as the job lines do:
//   @teelog.exe --run "D:\v\clip.log" x264.exe --crf 20 -o "D:\v\a.mp4" "D:\v\a.avs"
// ("" as LOGFILE: no log file). PROGRAM is found as the command interpreter
// finds it (platform/win32/program_search.h) and receives the rest of teelog's command line
// from PROGRAM on, unchanged (run_line.h), so that it gets the very arguments
// it would get from the batch. It gets teelog's standard input, and one pipe
// for its standard output and error, which teelog reads. Behind a pipe in the
// batch ("x264.exe ... 2>&1|teelog.exe LOG") x264's exit code would be lost,
// and Wine's command interpreter sends no standard error into a pipe at all.
// Ctrl+C and Ctrl+Break reach the encoder as they would without teelog;
// teelog outlives them, to take in what the encoder prints on its way out.
//
// Without --run, teelog reads its standard input ("x264.exe ... 2>&1|teelog.exe
// LOG").
//
// x264 ends with 0 after Ctrl+C too, so teelog judges the encode by x264's
// messages (encoder_verdict.h) as well as by its exit code: it succeeded
// when x264 ended with 0 and printed its closing summary and no abort, and
// no error of its own once the encode had begun (a killed encoder prints no
// summary; the errors of the input readers it tries before one opens the
// input are no failure).
// Exit codes: with --run, PROGRAM's exit code when it is not 0; otherwise 0
// when the encode succeeded and 1 when not; 2 on a wrong command line (without
// --run: more than one argument, or an empty one; with it: no PROGRAM); with
// --run, 9009 (the command interpreter's code for an unknown command) when
// PROGRAM cannot be found or started, which teelog says on standard error and
// in the log. A log file that cannot be created or written is said on
// standard error and leaves the verdict alone.
//
// When the environment variable QUORVEL_PROGRESS names a file, teelog writes
// x264's latest progress line into it (ASCII, the whole content replaced): at
// most four times a second while x264 runs, and once more when the input
// ends, then followed by the last error line x264 printed, if any (each
// line ended by CR LF). The file is opened for each write and shared both
// ways, so that a reader never waits for teelog nor teelog for a reader; a
// write that fails is skipped.

#include <windows.h>

#include <string_view>

#include "encoder_verdict.h"
#include "platform/win32/heap_text.h"
#include "platform/win32/program_search.h"
#include "platform/win32/unique_handle.h"
#include "run_line.h"

namespace {

void WriteError(std::string_view text) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error != nullptr && error != INVALID_HANDLE_VALUE) WriteAll(error, text.data(), text.size());
}

// The file that QUORVEL_PROGRESS names, rewritten with the latest progress
// line.
class ProgressFile {
 public:
  ProgressFile() {
    const DWORD length = GetEnvironmentVariableW(L"QUORVEL_PROGRESS", nullptr, 0);
    if (length > 1 && path_.reserve(length))
      path_.resize(GetEnvironmentVariableW(L"QUORVEL_PROGRESS", path_.buffer(), length));
  }

  // Writes the latest progress line when there is a new one and the last
  // write lies a quarter of a second back; `last` writes it in any case.
  void offer(const encoder_verdict::EncoderVerdict& verdict, bool last) {
    if (path_.empty()) return;
    if (last ? verdict.status().empty() && verdict.lastError().empty()
             : verdict.statusCount() == written_)
      return;
    const ULONGLONG now = GetTickCount64();
    if (!last && tried_ && now - triedAt_ < kIntervalMs) return;
    tried_ = true;
    triedAt_ = now;
    // A reader that holds the file without sharing it is waited for a
    // little at the last write only.
    for (int attempt = 0; attempt < (last ? 10 : 1); ++attempt) {
      if (attempt > 0) Sleep(20);
      if (write(verdict.status(), last ? verdict.lastError() : std::string_view())) {
        written_ = verdict.statusCount();
        return;
      }
      if (GetLastError() != ERROR_SHARING_VIOLATION) return;
    }
  }

 private:
  static constexpr ULONGLONG kIntervalMs = 250;

  bool write(std::string_view status, std::string_view error) {
    KernelHandle file(CreateFileW(path_.data(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool lines = !error.empty();
    return file && WriteAll(file.get(), status.data(), status.size()) &&
           (!lines ||
            (WriteAll(file.get(), "\r\n", 2) && WriteAll(file.get(), error.data(), error.size()) &&
             WriteAll(file.get(), "\r\n", 2))) &&
           SetEndOfFile(file.get());
  }

  WideText path_;
  unsigned long written_ = 0;  // the status count of the line in the file
  bool tried_ = false;
  ULONGLONG triedAt_ = 0;
};

// Creates the log file; none when `path` is empty.
KernelHandle CreateLog(const wchar_t* path) {
  if (path[0] == L'\0') return KernelHandle();
  // Others may read the log while it grows.
  KernelHandle log(CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log) WriteError("teelog: cannot create the log file\r\n");
  return log;
}

// Copies `input` to standard output and to the log until it ends; whether it
// was a successful encode.
bool CopyAndJudge(HANDLE input, KernelHandle& log) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  bool showing = output != nullptr && output != INVALID_HANDLE_VALUE;
  encoder_verdict::EncoderVerdict verdict;
  ProgressFile progress;

  constexpr DWORD kChunk = 64 * 1024;
  ByteText chunk;
  if (!chunk.reserve(kChunk)) return false;
  char* buffer = chunk.buffer();
  for (;;) {
    DWORD got = 0;
    // A closed pipe (ERROR_BROKEN_PIPE) or zero bytes both mean the end.
    if (!ReadFile(input, buffer, kChunk, &got, nullptr) || got == 0) break;
    if (log && !WriteAll(log.get(), buffer, got)) {
      WriteError("teelog: cannot write to the log file\r\n");
      log.reset();
    }
    // A console that has gone away must not stop the log.
    if (showing && !WriteAll(output, buffer, got)) showing = false;
    verdict.take(buffer, got);
    progress.offer(verdict, false);
  }
  verdict.end();
  progress.offer(verdict, true);
  return verdict.succeeded();
}

// Writes `text` to standard error and to the log, in the console's code
// page.
void Say(const WideText& text, const KernelHandle& log) {
  const UINT codePage = GetConsoleOutputCP() ? GetConsoleOutputCP() : CP_ACP;
  const int wide = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(codePage, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  ByteText bytes;
  if (size <= 0 || !bytes.reserve(static_cast<std::size_t>(size))) return;
  bytes.resize(static_cast<std::size_t>(
      WideCharToMultiByte(codePage, 0, text.data(), wide, bytes.buffer(), size, nullptr, nullptr)));
  WriteError(std::string_view(bytes.data(), bytes.size()));
  if (log) WriteAll(log.get(), bytes.data(), bytes.size());
}

// The command interpreter's exit code for a command it cannot find.
constexpr int kCannotStart = 9009;

int CannotStart(const WideText& name, DWORD error, const KernelHandle& log) {
  wchar_t reason[512] = {};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, reason, 512, nullptr);
  while (length > 0 &&
         (reason[length - 1] == L'\r' || reason[length - 1] == L'\n' || reason[length - 1] == L' '))
    --length;
  WideText text;
  text.append(L"teelog: cannot start ");
  text.append(name);
  text.append(L": ");
  if (length > 0) {
    text.append(reason, length);
  } else {
    text.append(L"error ");
    text.appendNumber(error);
  }
  text.append(L"\r\n");
  Say(text, log);
  return kCannotStart;
}

// Ctrl+C and Ctrl+Break go to every process of the console: the encoder
// stops on them and prints why, which teelog still has to take in, so teelog
// lets them pass. With a handler routine, not with the "ignore" setting
// (SetConsoleCtrlHandler without a routine): that setting is inherited, and
// the encoder started after it would not stop at all.
BOOL WINAPI OutlastInterrupts(DWORD event) {
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

bool TokenIs(std::wstring_view line, std::size_t at, std::wstring_view word) {
  std::size_t matched = 0;
  bool same = true;
  run_line::ReadToken(line, at, [&](wchar_t c) {
    same = same && matched < word.size() && word[matched] == c;
    ++matched;
  });
  return same && matched == word.size();
}

int Usage() {
  WriteError(
      "usage: teelog.exe [LOGFILE]\r\n"
      "       teelog.exe --run LOGFILE PROGRAM [ARGUMENTS...]\r\n");
  return 2;
}

// A program started with one pipe for both of its outputs, which teelog
// reads.
struct Started {
  KernelHandle process;
  KernelHandle output;
  DWORD error = 0;  // why it did not start
};

Started StartWithPipe(const WideText& program, WideText& commandLine) {
  Started started;
  // One pipe for both of the program's outputs, in the order it writes them.
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) {
    started.error = GetLastError();
    return started;
  }
  KernelHandle fromProgram(readEnd);
  KernelHandle programOutput(writeEnd);
  // The program inherits the handles marked so, and only these: the write
  // end and a copy of the standard input.
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE copy = nullptr;
  KernelHandle inputCopy;
  if (input != nullptr && input != INVALID_HANDLE_VALUE &&
      DuplicateHandle(GetCurrentProcess(), input, GetCurrentProcess(), &copy, 0, TRUE,
                      DUPLICATE_SAME_ACCESS))
    inputCopy = KernelHandle(copy);
  if (!SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
    started.error = GetLastError();
    return started;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inputCopy ? inputCopy.get() : input;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION info{};
  // In teelog's console and process group, so that Ctrl+C reaches it.
  if (!CreateProcessW(program.data(), commandLine.buffer(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &info)) {
    started.error = GetLastError();
    return started;
  }
  started.process = KernelHandle(info.hProcess);
  CloseHandle(info.hThread);
  // The pipe ends when the program and whatever it started have closed
  // their copies of the write end; teelog's own must not hold it open.
  started.output = std::move(fromProgram);
  return started;
}

// teelog.exe --run LOGFILE PROGRAM [ARGUMENTS...], its parts found.
int RunProgram(std::wstring_view line, const run_line::Parts& parts) {
  if (parts.rest == line.size()) return Usage();
  WideText logPath;
  WideText name;
  bool read = true;
  run_line::ReadToken(line, parts.third, [&](wchar_t c) { read = logPath.append(c) && read; });
  const std::wstring_view command(line.data() + parts.rest, line.size() - parts.rest);
  run_line::ReadCommandName(command, [&](wchar_t c) { read = name.append(c) && read; });
  WideText commandLine;
  if (!read || !commandLine.append(command.data(), command.size())) return 1;

  KernelHandle log = CreateLog(logPath.data());
  WideText program;
  if (!program_search::FindProgram(name, program))
    return CannotStart(name, ERROR_FILE_NOT_FOUND, log);
  SetConsoleCtrlHandler(OutlastInterrupts, TRUE);
  Started started = StartWithPipe(program, commandLine);
  if (!started.process) return CannotStart(name, started.error, log);

  const bool succeeded = CopyAndJudge(started.output.get(), log);
  DWORD exitCode = 1;
  if (WaitForSingleObject(started.process.get(), INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(started.process.get(), &exitCode))
    exitCode = 1;
  if (exitCode != 0) return static_cast<int>(exitCode);
  return succeeded ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring_view line = GetCommandLineW();
  const run_line::Parts parts = run_line::FindParts(line);
  if (parts.second < line.size() && TokenIs(line, parts.second, L"--run"))
    return RunProgram(line, parts);

  if (argc > 2 || (argc == 2 && argv[1][0] == L'\0')) return Usage();
  KernelHandle log = CreateLog(argc == 2 ? argv[1] : L"");
  return CopyAndJudge(GetStdHandle(STD_INPUT_HANDLE), log) ? 0 : 1;
}
