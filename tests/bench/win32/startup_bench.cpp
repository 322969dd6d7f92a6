// startup_bench.exe [N]: quorvel.exe against the floor its window sets.
//
// Starts quorvel.exe and floorwin.exe (the same window and controls with
// nothing else), alternately, N times each (15 when not given), and prints
// for each the median time from the start of the process to its first
// visible top-level window, and the median working set once it is idle;
// then the ratio of the two start-up times. Both programs must lie in the
// folder of this one.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindShown(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->process || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER)) return TRUE;
  search->found = hwnd;
  return FALSE;
}

struct Run {
  double startMs = 0;
  double workingSetMb = 0;
};

// Starts the program, times it to its first visible top-level window, reads
// its working set once it has been idle for a while, and closes it.
bool Measure(const std::wstring& program, const std::wstring& folder, Run& run) {
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const Clock::time_point start = Clock::now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process))
    return false;
  Search search{process.dwProcessId, nullptr};
  while (!search.found && Clock::now() - start < std::chrono::seconds(30)) {
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(1);
  }
  run.startMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  if (!search.found) {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::fwprintf(stderr, L"%ls: no window after %.0f ms (exit code %lx)\n", program.c_str(),
                  run.startMs, code);
  }
  WaitForInputIdle(process.hProcess, 5000);
  Sleep(1500);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
  run.workingSetMb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
  if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return search.found != nullptr;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 15;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  const std::wstring programs[2] = {folder + L"quorvel.exe", folder + L"floorwin.exe"};
  std::vector<double> starts[2];
  std::vector<double> sets[2];
  for (int i = 0; i < runs; ++i) {
    for (int p = 0; p < 2; ++p) {
      Run run;
      if (!Measure(programs[p], folder, run)) {
        std::fwprintf(stderr, L"%ls did not show its window\n", programs[p].c_str());
        return 1;
      }
      starts[p].push_back(run.startMs);
      sets[p].push_back(run.workingSetMb);
    }
  }
  const double quorvel = Median(starts[0]);
  const double floor = Median(starts[1]);
  std::printf("start-up to the first visible window, median of %d runs each:\n", runs);
  std::printf("  quorvel.exe   %7.1f ms   working set once idle %6.1f MB\n", quorvel,
              Median(sets[0]));
  std::printf("  floor window  %7.1f ms   working set once idle %6.1f MB\n", floor,
              Median(sets[1]));
  // Each quorvel start is paired with the floor start right after it: the
  // median of those ratios is steady where the machine's speed drifts.
  std::vector<double> paired;
  for (int i = 0; i < runs; ++i) paired.push_back(starts[0][i] / starts[1][i]);
  std::printf("  ratio %.2f (median of paired runs %.2f), working set %+.1f MB\n", quorvel / floor,
              Median(paired), Median(sets[0]) - Median(sets[1]));
  return 0;
}
