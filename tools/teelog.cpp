// teelog.exe [LOGFILE]
//
// Copies everything that arrives on standard input to standard output and,
// when LOGFILE is given, to LOGFILE, byte for byte. The job lines pipe x264
// into it ("x264.exe ... 2>&1|teelog.exe LOG"), so the progress shows in the
// console while the log file receives the same text. Nothing is held back:
// each chunk goes to the log and then to the console as soon as it has been
// read, so the log is complete up to the moment the encoder stops, however it
// stops.
//
// Behind the pipe, the batch's errorlevel is teelog's exit code, not x264's,
// and x264 ends with 0 after Ctrl+C as well; so teelog judges the encode by
// x264's messages (encoder_verdict.h). Exit codes: 0 when x264 printed its
// closing summary and no abort and no error; 1 otherwise (a killed encoder
// prints no summary); 2 on a wrong command line (more than one argument, or
// an empty one). A log file that cannot be created or written is said on
// standard error and leaves the verdict alone.
//
// When the environment variable QUORVEL_PROGRESS names a file, teelog writes
// x264's latest progress line into it (ASCII, the whole content replaced): at
// most four times a second while x264 runs, and once more when the input
// ends, so that the file ends with the last progress line. The file is
// opened for each write and shared both ways, so that a reader never waits
// for teelog nor teelog for a reader; a write that fails is skipped.

#include <windows.h>

#include <string_view>

#include "encoder_verdict.h"
#include "platform/win32/unique_handle.h"
#include "tool_text.h"

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
    if (path_.empty() || verdict.statusCount() == written_) return;
    const ULONGLONG now = GetTickCount64();
    if (!last && tried_ && now - triedAt_ < kIntervalMs) return;
    tried_ = true;
    triedAt_ = now;
    // A reader that holds the file without sharing it is waited for a
    // little at the last write only.
    for (int attempt = 0; attempt < (last ? 10 : 1); ++attempt) {
      if (attempt > 0) Sleep(20);
      if (write(verdict.status())) {
        written_ = verdict.statusCount();
        return;
      }
      if (GetLastError() != ERROR_SHARING_VIOLATION) return;
    }
  }

 private:
  static constexpr ULONGLONG kIntervalMs = 250;

  bool write(std::string_view status) {
    KernelHandle file(CreateFileW(path_.data(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), status.data(), status.size()) && SetEndOfFile(file.get());
  }

  WideText path_;
  unsigned long written_ = 0;  // the status count of the line in the file
  bool tried_ = false;
  ULONGLONG triedAt_ = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 2 || (argc == 2 && argv[1][0] == L'\0')) {
    WriteError("usage: teelog.exe [LOGFILE]\r\n");
    return 2;
  }
  KernelHandle log;
  bool logging = argc == 2;
  if (logging) {
    // Others may read the log while it grows.
    log = KernelHandle(CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                   nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    logging = static_cast<bool>(log);
    if (!logging) WriteError("teelog: cannot create the log file\r\n");
  }

  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  bool showing = output != nullptr && output != INVALID_HANDLE_VALUE;
  encoder_verdict::EncoderVerdict verdict;
  ProgressFile progress;

  constexpr DWORD kChunk = 64 * 1024;
  ByteText chunk;
  if (!chunk.reserve(kChunk)) return 1;
  char* buffer = chunk.buffer();
  for (;;) {
    DWORD got = 0;
    // A closed pipe (ERROR_BROKEN_PIPE) or zero bytes both mean the end.
    if (!ReadFile(input, buffer, kChunk, &got, nullptr) || got == 0) break;
    if (logging && !WriteAll(log.get(), buffer, got)) {
      WriteError("teelog: cannot write to the log file\r\n");
      logging = false;
    }
    // A console that has gone away must not stop the log.
    if (showing && !WriteAll(output, buffer, got)) showing = false;
    verdict.take(buffer, got);
    progress.offer(verdict, false);
  }
  verdict.end();
  progress.offer(verdict, true);
  return verdict.succeeded() ? 0 : 1;
}
