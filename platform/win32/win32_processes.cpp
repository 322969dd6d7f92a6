#include "platform/win32/win32_processes.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "core/program_folders.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"

namespace {

// This program's environment with `variables` set, as the block
// CreateProcessW takes: "name=value" strings, each ended by a NUL, and a
// NUL after the last.
std::wstring EnvironmentWith(const EnvironmentVariables& variables) {
  std::wstring block;
  if (wchar_t* strings = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
      const std::wstring_view text(entry);
      bool replaced = false;
      for (const auto& [name, value] : variables) {
        const std::wstring wide = Widen(name) + L"=";
        replaced = replaced ||
                   (text.size() >= wide.size() &&
                    CompareStringOrdinal(text.data(), static_cast<int>(wide.size()), wide.data(),
                                         static_cast<int>(wide.size()), TRUE) == CSTR_EQUAL);
      }
      if (!replaced) block.append(text).push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
  }
  for (const auto& [name, value] : variables)
    block.append(Widen(name) + L"=" + Widen(value)).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

}  // namespace

// The process of a started batch, by its handle. Its identity is its id
// and its creation time, which no later process shares.
class Win32StartedBatch final : public StartedBatch {
 public:
  explicit Win32StartedBatch(HANDLE process) : process_(process) {}
  bool running() const override { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
  std::string identity() const override {
    return std::to_string(GetProcessId(process_.get())) + " " + std::to_string(CreationTime());
  }
  unsigned long long CreationTime() const {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process_.get(), &created, &exited, &kernel, &user)) return 0;
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  }

 private:
  KernelHandle process_;
};

std::unique_ptr<StartedBatch> Win32Processes::findStarted(std::string_view identity) {
  const std::string text(identity);
  const size_t blank = text.find(' ');
  if (blank == std::string::npos) return nullptr;
  const DWORD id = static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return nullptr;
  auto found = std::make_unique<Win32StartedBatch>(process);
  if (found->identity() != text || !found->running()) return nullptr;
  return found;
}

BatchStart Win32Processes::startBatch(std::string_view path, std::string_view workingFolder,
                                      const EnvironmentVariables& variables) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  std::wstring interpreter = std::wstring(system) + L"\\cmd.exe";
  // cmd strips the outer pair of quotes and runs the quoted path inside.
  // "/v:off": a "!" in a path stays a "!", whatever the user's registry
  // asks of the command interpreter.
  std::wstring command = L"\"" + interpreter + L"\" /d /v:off /c \"\"" + Widen(path) + L"\"\"";
  std::wstring folder = Widen(workingFolder);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring environment = EnvironmentWith(variables);
  // Created at the idle priority class, and held until it is set there
  // through its handle too (Wine takes the class from the handle only): no
  // line of the batch runs before.
  if (!CreateProcessW(
          interpreter.c_str(), command.data(), nullptr, nullptr, FALSE,
          CREATE_NEW_CONSOLE | CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED | IDLE_PRIORITY_CLASS,
          environment.data(), folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    return {nullptr, SystemMessage(GetLastError())};
  }
  auto started = std::make_unique<Win32StartedBatch>(process.hProcess);
  const KernelHandle thread(process.hThread);
  SetPriorityClass(process.hProcess, IDLE_PRIORITY_CLASS);
  ResumeThread(thread.get());
  return {std::move(started), {}};
}

namespace {

// The entries of an environment variable's list ("a;b"), without quotes
// and empty entries.
std::vector<std::wstring> ListOf(const wchar_t* variable) {
  const DWORD length = GetEnvironmentVariableW(variable, nullptr, 0);
  std::wstring text(length, L'\0');
  text.resize(GetEnvironmentVariableW(variable, text.data(), length));
  std::vector<std::wstring> entries;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find(L';', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring entry = text.substr(start, end - start);
    std::erase(entry, L'"');
    if (!entry.empty()) entries.push_back(std::move(entry));
    start = end + 1;
  }
  return entries;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::optional<std::string> Win32Processes::findProgram(std::string_view program,
                                                       std::string_view workingFolder) const {
  const std::wstring name = Widen(program);
  std::wstring folder = Widen(workingFolder);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> folders = {folder, folder + Widen(program_folders::kTools) + L"\\"};
  for (std::wstring& entry : ListOf(L"PATH")) {
    if (entry.back() != L'\\' && entry.back() != L'/') entry += L'\\';
    folders.push_back(std::move(entry));
  }
  // A name with an extension is looked for as it is; without one, with
  // each extension the interpreter tries.
  std::vector<std::wstring> names;
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && name.find_first_of(L"\\/", dot) == std::wstring::npos) {
    names.push_back(name);
  } else {
    std::vector<std::wstring> extensions = ListOf(L"PATHEXT");
    if (extensions.empty()) extensions = {L".COM", L".EXE", L".BAT", L".CMD"};
    for (const std::wstring& extension : extensions) names.push_back(name + extension);
  }
  const bool placed = name.find_first_of(L"\\/:") != std::wstring::npos;
  for (const std::wstring& place : placed ? std::vector<std::wstring>{L""} : folders)
    for (const std::wstring& candidate : names)
      if (IsFile(place + candidate)) return Narrow(place + candidate);
  return std::nullopt;
}
