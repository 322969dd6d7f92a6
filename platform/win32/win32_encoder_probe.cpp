#include "platform/win32/win32_encoder_probe.h"

#include <windows.h>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"

namespace {

// More than any help text; an encoder that writes more is not answering.
constexpr size_t kLongestHelp = 4 << 20;

std::optional<EncoderFile> FileAt(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  EncoderFile file;
  file.path = Narrow(path);
  file.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  file.writeTime = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
      data.ftLastWriteTime.dwLowDateTime);
  return file;
}

// What the encoder prints into `output` until it has ended, the time is
// over, a stop is asked for or it printed more than any help.
std::string ReadUntilEnd(HANDLE output, HANDLE child, int timeoutMs, std::stop_token stop) {
  std::string help;
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr)) break;  // ended
    if (available > 0) {
      std::string chunk(available, '\0');
      DWORD got = 0;
      if (!ReadFile(output, chunk.data(), available, &got, nullptr)) break;
      help.append(chunk, 0, got);
      if (help.size() > kLongestHelp) break;
      continue;
    }
    if (GetTickCount64() >= deadline || stop.stop_requested()) break;
    if (WaitForSingleObject(child, 5) == WAIT_OBJECT_0) {
      // Ended: what is left in the pipe is read by the next turns.
      DWORD left = 0;
      if (!PeekNamedPipe(output, nullptr, 0, nullptr, &left, nullptr) || left == 0) break;
    }
  }
  return help;
}

}  // namespace

std::optional<EncoderFile> Win32EncoderProbe::find(Reach reach) {
  // Where the batch finds the encoder its lines call.
  const std::optional<std::string> path = processes_.findProgram("x264.exe", programFolder_, reach);
  if (!path) return std::nullopt;
  return FileAt(Widen(*path));
}

std::optional<std::string> Win32EncoderProbe::longHelp(const std::string& path, int timeoutMs,
                                                       std::stop_token stop) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE readRaw = nullptr;
  HANDLE writeRaw = nullptr;
  if (!CreatePipe(&readRaw, &writeRaw, &inherited, 0)) return std::nullopt;
  KernelHandle output(readRaw);
  KernelHandle childOutput(writeRaw);
  SetHandleInformation(output.get(), HANDLE_FLAG_INHERIT, 0);
  KernelHandle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherited, OPEN_EXISTING, 0, nullptr));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = childOutput.get();
  startup.hStdError = childOutput.get();
  const std::wstring program = Widen(path);
  std::wstring command = L"\"" + program + L"\" --longhelp";
  const std::wstring folder = Widen(programFolder_);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                      nullptr, folder.c_str(), &startup, &process))
    return std::nullopt;
  KernelHandle child(process.hProcess);
  CloseHandle(process.hThread);
  childOutput.reset();  // the pipe ends when the encoder's end closes

  const std::string help = ReadUntilEnd(output.get(), child.get(), timeoutMs, stop);
  if (WaitForSingleObject(child.get(), 0) != WAIT_OBJECT_0) {
    TerminateProcess(child.get(), 1);
    WaitForSingleObject(child.get(), 1000);
    return std::nullopt;
  }
  DWORD code = 1;
  if (!GetExitCodeProcess(child.get(), &code) || code != 0 || help.size() > kLongestHelp)
    return std::nullopt;
  return help;
}
