#include "platform/win32/win32_processes.h"

#include <windows.h>

#include <string>

#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"

std::optional<std::uint32_t> Win32Processes::startBatch(std::string_view path,
                                                        std::string_view workingFolder,
                                                        StartFailure* failure) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  std::wstring interpreter = std::wstring(system) + L"\\cmd.exe";
  // cmd strips the outer pair of quotes and runs the quoted path inside.
  std::wstring command = L"\"" + interpreter + L"\" /d /c \"\"" + Widen(path) + L"\"\"";
  std::wstring folder = Widen(workingFolder);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(interpreter.c_str(), command.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE, nullptr, folder.empty() ? nullptr : folder.c_str(),
                      &startup, &process)) {
    if (failure) failure->reason = SystemMessage(GetLastError());
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  // Batches that have ended need their handles no longer.
  std::erase_if(started_, [](const auto& entry) {
    return WaitForSingleObject(entry.second.get(), 0) != WAIT_TIMEOUT;
  });
  started_[process.dwProcessId] = KernelHandle(process.hProcess);
  return process.dwProcessId;
}

bool Win32Processes::isRunning(std::uint32_t processId) const {
  auto found = started_.find(processId);
  return found != started_.end() && WaitForSingleObject(found->second.get(), 0) == WAIT_TIMEOUT;
}

void Win32Processes::setIdlePriority(std::uint32_t processId) {
  KernelHandle process(OpenProcess(PROCESS_SET_INFORMATION, FALSE, processId));
  if (process) SetPriorityClass(process.get(), IDLE_PRIORITY_CLASS);
}

void Win32Processes::wait(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }
