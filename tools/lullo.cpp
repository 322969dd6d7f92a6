// lullo.exe MS
//
// Returns after MS milliseconds, never earlier. The started job batch runs it
// before its first job line, so the front-end has time to lower the batch's
// priority before any encoder starts.
//
// Exit codes: 0 after the wait; 2 on a wrong command line.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

// Decimal digits only, at most a week, so that the wait always ends.
std::optional<std::uint64_t> ParseMilliseconds(std::wstring_view text) {
  constexpr std::uint64_t kLimit = 7ull * 24 * 60 * 60 * 1000;
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - L'0');
    if (value > kLimit) return std::nullopt;
  }
  return value;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::optional<std::uint64_t> wait = argc == 2 ? ParseMilliseconds(argv[1]) : std::nullopt;
  if (!wait) {
    static constexpr char kUsage[] = "usage: lullo.exe MS  (waits MS milliseconds)\r\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), kUsage, sizeof kUsage - 1, &written, nullptr);
    return 2;
  }
  // Sleep may wake up to one clock tick early; the performance counter tells
  // how much is left, and the loop sleeps again until nothing is.
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
  const auto end = static_cast<std::uint64_t>(now.QuadPart) + (*wait * perSecond + 999) / 1000;
  for (;;) {
    QueryPerformanceCounter(&now);
    const auto current = static_cast<std::uint64_t>(now.QuadPart);
    if (current >= end) break;
    Sleep(static_cast<DWORD>(((end - current) * 1000 + perSecond - 1) / perSecond));
  }
  return 0;
}
