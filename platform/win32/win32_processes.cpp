#include "platform/win32/win32_processes.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "core/program_folders.h"
#include "platform/win32/program_search.h"
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

unsigned long long CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The processes a process started, and theirs, by the system's list: a
// process counts as a child when its parent's id is that process's and it
// began after it (ids are given anew once a process has gone).
std::vector<DWORD> Descendants(DWORD root, unsigned long long rootCreated) {
  struct Entry {
    DWORD id;
    DWORD parent;
  };
  std::vector<Entry> all;
  const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return {};
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    all.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
  std::vector<std::pair<DWORD, unsigned long long>> found = {{root, rootCreated}};
  for (size_t at = 0; at < found.size(); ++at) {
    for (const Entry& candidate : all) {
      if (candidate.parent != found[at].first || candidate.id == root) continue;
      const KernelHandle child(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, candidate.id));
      const unsigned long long created = child ? CreationTime(child.get()) : 0;
      if (created < found[at].second) continue;
      bool known = false;
      for (const auto& [id, time] : found) known = known || id == candidate.id;
      if (!known) found.push_back({candidate.id, created});
    }
  }
  std::vector<DWORD> ids;
  for (size_t i = 1; i < found.size(); ++i) ids.push_back(found[i].first);
  return ids;
}

// Suspends or resumes every thread of a process; false when one of them
// refused. A thread that ended meanwhile is no refusal.
bool SetThreadsRunning(DWORD process, bool running) {
  const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return false;
  constexpr DWORD kFailed = static_cast<DWORD>(-1);
  bool all = true;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more;
       more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID != process) continue;
    const KernelHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
    if (!thread) continue;
    DWORD count = 0;
    if (running) {
      // Until its suspend count is down to 0: each call takes one off.
      do count = ResumeThread(thread.get());
      while (count != kFailed && count > 1);
    } else {
      count = SuspendThread(thread.get());
    }
    all = all && count != kFailed;
  }
  return all;
}

}  // namespace

// The interpreter of a started batch, by its handle. Its identity is its id
// and its creation time, which no later process shares.
class Win32StartedBatch final : public StartedBatch {
 public:
  Win32StartedBatch(HANDLE process, HANDLE thread = nullptr) : process_(process), thread_(thread) {}

  bool running() const override { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
  std::string identity() const override {
    return std::to_string(GetProcessId(process_.get())) + ":" +
           std::to_string(CreationTime(process_.get()));
  }

  bool pause() override {
    // A process may start another while the others are being stopped: the
    // list is taken anew until it holds no process not yet stopped.
    std::vector<DWORD> stopped;
    bool held = true;
    for (int round = 0; round < 8; ++round) {
      std::vector<DWORD> all = {GetProcessId(process_.get())};
      for (DWORD id : Descendants(all[0], CreationTime(process_.get()))) all.push_back(id);
      bool more = false;
      for (DWORD id : all) {
        bool done = false;
        for (DWORD each : stopped) done = done || each == id;
        if (done) continue;
        held = SetThreadsRunning(id, false) && held;
        stopped.push_back(id);
        more = true;
      }
      if (!more) break;
    }
    return held;
  }

  bool resume() override {
    // A batch held at its start has its first thread held since its
    // creation.
    if (thread_) {
      const bool begun = ResumeThread(thread_.get()) != static_cast<DWORD>(-1);
      thread_.reset();
      return begun;
    }
    const DWORD root = GetProcessId(process_.get());
    bool all = SetThreadsRunning(root, true);
    for (DWORD id : Descendants(root, CreationTime(process_.get())))
      all = SetThreadsRunning(id, true) && all;
    return all;
  }

  bool end() override {
    // The processes it started first, so that none of them starts another
    // meanwhile; they stand still while the list is taken.
    pause();
    const DWORD root = GetProcessId(process_.get());
    for (DWORD id : Descendants(root, CreationTime(process_.get()))) {
      const KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
      if (process) TerminateProcess(process.get(), 1);
    }
    TerminateProcess(process_.get(), 1);
    return WaitForSingleObject(process_.get(), 2000) == WAIT_OBJECT_0;
  }

 private:
  KernelHandle process_;
  KernelHandle thread_;
};

std::unique_ptr<StartedBatch> Win32Processes::findStarted(std::string_view identity) {
  const std::string text(identity);
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return nullptr;
  const DWORD id = static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
  HANDLE process =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, id);
  if (!process) return nullptr;
  auto found = std::make_unique<Win32StartedBatch>(process);
  if (found->identity() != text || !found->running()) return nullptr;
  return found;
}

Result<std::unique_ptr<StartedBatch>> Win32Processes::startBatch(
    std::string_view path, std::string_view workingFolder, const EnvironmentVariables& variables) {
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
  // through its handle too (Wine takes the class from the handle only) and
  // the program has written what names it: no line of the batch runs
  // before resume().
  if (!CreateProcessW(
          interpreter.c_str(), command.data(), nullptr, nullptr, FALSE,
          CREATE_NEW_CONSOLE | CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED | IDLE_PRIORITY_CLASS,
          environment.data(), folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    return Problem{SystemMessage(GetLastError())};
  }
  SetPriorityClass(process.hProcess, IDLE_PRIORITY_CLASS);
  return std::unique_ptr<StartedBatch>(
      std::make_unique<Win32StartedBatch>(process.hProcess, process.hThread));
}

std::optional<std::string> Win32Processes::findProgram(std::string_view program,
                                                       std::string_view workingFolder,
                                                       Reach reach) const {
  WideText name;
  WideText folder;
  WideText path;
  const std::wstring wideName = Widen(program);
  const std::wstring wideFolder = Widen(workingFolder);
  // The batch puts the tools folder in front of PATH; a folder holding a
  // ";" stands in quotes there.
  std::wstring tools = wideFolder;
  if (!tools.empty() && tools.back() != L'\\') tools += L'\\';
  tools = L"\"" + tools + Widen(program_folders::kTools) + L"\"";
  if (!name.append(wideName.c_str(), wideName.size()) ||
      !folder.append(wideFolder.c_str(), wideFolder.size()) ||
      !path.append(tools.c_str(), tools.size()))
    return std::nullopt;
  WideText variable;
  if (reach == Reach::AlongPath && program_search::ReadVariable(L"PATH", variable) &&
      (!path.append(L';') || !path.append(variable)))
    return std::nullopt;
  WideText found;
  if (!program_search::FindProgram(name, folder, path.data(), found)) return std::nullopt;
  return Narrow(std::wstring(found.data(), found.size()));
}
