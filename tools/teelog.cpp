// teelog.exe LOGFILE
//
// Copies everything that arrives on standard input to standard output and to
// LOGFILE, byte for byte. The job lines pipe the encoder into it, so the
// progress shows in the console while the log file receives the same text.
// Nothing is held back: each chunk goes to the log and then to the console as
// soon as it has been read, so the log is complete up to the moment the
// encoder stops, however it stops.
//
// Exit codes: 0 when everything was copied; 1 when the log file could not be
// created or written (standard output still receives everything); 2 on a wrong
// command line.

#include <windows.h>

#include <string_view>

#include "platform/win32/unique_handle.h"
#include "tool_text.h"

namespace {

void WriteError(std::string_view text) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error != nullptr && error != INVALID_HANDLE_VALUE) WriteAll(error, text.data(), text.size());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 || argv[1][0] == L'\0') {
    WriteError("usage: teelog.exe LOGFILE\r\n");
    return 2;
  }
  // Others may read the log while it grows.
  KernelHandle log(CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  bool logging = static_cast<bool>(log);
  if (!logging) WriteError("teelog: cannot create the log file\r\n");

  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  bool showing = output != nullptr && output != INVALID_HANDLE_VALUE;

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
  }
  return logging ? 0 : 1;
}
