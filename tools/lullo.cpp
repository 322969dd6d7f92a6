// lullo.exe MS
// lullo.exe --after ID...
//
// Returns after MS milliseconds, never earlier. The workers of a started
// batch run it while they wait for the other workers.
//
// With --after, returns once each process named by ID has ended; an ID is
// "PROCESS:CREATED", the process id and its creation time as the system
// gives it (a FILETIME as one number), so that a later process that got the
// same id is not waited for. A batch started to run after another waits for
// the other's workers so.
//
// Exit codes: 0 after the wait; 2 on a wrong command line.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/win32/unique_handle.h"

namespace {

// Decimal digits only, within `limit`.
std::optional<std::uint64_t> Number(std::wstring_view text, std::uint64_t limit) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    const std::uint64_t digit = static_cast<unsigned>(c - L'0');
    if (value > (limit - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

int Usage() {
  static constexpr char kUsage[] =
      "usage: lullo.exe MS            (waits MS milliseconds)\r\n"
      "       lullo.exe --after ID... (waits until each process PROCESS:CREATED has ended)\r\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), kUsage, sizeof kUsage - 1, &written, nullptr);
  return 2;
}

void Wait(std::uint64_t milliseconds) {
  // Sleep may wake up to one clock tick early; the performance counter tells
  // how much is left, and the loop sleeps again until nothing is.
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
  const auto end =
      static_cast<std::uint64_t>(now.QuadPart) + (milliseconds * perSecond + 999) / 1000;
  for (;;) {
    QueryPerformanceCounter(&now);
    const auto current = static_cast<std::uint64_t>(now.QuadPart);
    if (current >= end) break;
    Sleep(static_cast<DWORD>(((end - current) * 1000 + perSecond - 1) / perSecond));
  }
}

// Waits until the process `id` has ended, if it is the one created then.
void WaitFor(std::uint64_t id, std::uint64_t created) {
  const KernelHandle process(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id)));
  if (!process) return;  // ended long ago
  FILETIME creation{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process.get(), &creation, &exited, &kernel, &user)) return;
  const std::uint64_t time =
      (static_cast<std::uint64_t>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
  if (time == created) WaitForSingleObject(process.get(), INFINITE);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wstring_view(argv[1]) == L"--after") {
    for (int i = 2; i < argc; ++i) {
      const std::wstring_view id = argv[i];
      const size_t colon = id.find(L':');
      if (colon == std::wstring_view::npos || !Number(id.substr(0, colon), 0xFFFFFFFFu) ||
          !Number(id.substr(colon + 1), UINT64_MAX))
        return Usage();
    }
    for (int i = 2; i < argc; ++i) {
      const std::wstring_view id = argv[i];
      const size_t colon = id.find(L':');
      WaitFor(*Number(id.substr(0, colon), 0xFFFFFFFFu), *Number(id.substr(colon + 1), UINT64_MAX));
    }
    return 0;
  }
  // At most a week, so that the wait always ends.
  const std::optional<std::uint64_t> wait =
      argc == 2 ? Number(argv[1], 7ull * 24 * 60 * 60 * 1000) : std::nullopt;
  if (!wait) return Usage();
  Wait(*wait);
  return 0;
}
