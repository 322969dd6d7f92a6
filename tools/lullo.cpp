// lullo.exe MS
// lullo.exe --after ID...
// lullo.exe --spare CLAIMS
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
// With --spare, returns once no other batch of the folder runs jobs: the
// batches whose folders of claims lie beside CLAIMS (the folder of this
// batch's, "D:\prog\temp.claims"), each marked with its workers' identities,
// "pid.PROCESS.CREATED". A batch marked "waiting" (it waits to run after
// another) or "sparing" (it waits so itself) is not waited for, so two
// batches never wait for each other. The folders are looked at again after
// each wait: a batch started meanwhile is waited for too. A batch runs it
// before it shuts the computer down.
//
// Exit codes: 0 after the wait; 2 on a wrong command line.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/batch_claims.h"
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
      "       lullo.exe --after ID... (waits until each process PROCESS:CREATED has ended)\r\n"
      "       lullo.exe --spare CLAIMS (waits until no other batch beside CLAIMS runs jobs)\r\n";
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

// Waits until the process `id` has ended, if it is the one created then;
// whether it had to.
bool WaitFor(std::uint64_t id, std::uint64_t created) {
  const KernelHandle process(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id)));
  if (!process) return false;  // ended long ago
  FILETIME creation{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process.get(), &creation, &exited, &kernel, &user)) return false;
  const std::uint64_t time =
      (static_cast<std::uint64_t>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
  if (time != created || WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) return false;
  WaitForSingleObject(process.get(), INFINITE);
  return true;
}

// "PROCESS:CREATED", or with another separator.
std::optional<std::pair<std::uint64_t, std::uint64_t>> Identity(std::wstring_view text,
                                                                wchar_t separator) {
  const size_t at = text.find(separator);
  if (at == std::wstring_view::npos) return std::nullopt;
  const std::optional<std::uint64_t> id = Number(text.substr(0, at), 0xFFFFFFFFu);
  const std::optional<std::uint64_t> created = Number(text.substr(at + 1), UINT64_MAX);
  if (!id || !created) return std::nullopt;
  return std::make_pair(*id, *created);
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Calls `each` with the name of every entry of `pattern` ("D:\x\*.claims").
template <typename Each>
void ForEachEntry(const std::wstring& pattern, DWORD attribute, Each each) {
  WIN32_FIND_DATAW found{};
  HANDLE search =
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == attribute) each(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// Waits for the workers of the other batches beside `claims` that run jobs,
// until a look finds none.
void Spare(std::wstring claims) {
  while (!claims.empty() && (claims.back() == L'\\' || claims.back() == L'/')) claims.pop_back();
  const size_t slash = claims.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : claims.substr(0, slash + 1);
  const std::wstring own = claims.substr(folder.size());
  const std::wstring prefix = Wide(batch_claims::kWorkerPrefix);
  for (bool waited = true; waited;) {
    waited = false;
    ForEachEntry(folder + L"*.claims", FILE_ATTRIBUTE_DIRECTORY, [&](const wchar_t* name) {
      const std::wstring other = folder + name + L"\\";
      if (SameName(name, own) || Exists(other + Wide(batch_claims::kWaiting)) ||
          Exists(other + Wide(batch_claims::kSparing)))
        return;
      ForEachEntry(other + prefix + L"*", 0, [&](const wchar_t* mark) {
        const auto identity = Identity(std::wstring_view(mark).substr(prefix.size()), L'.');
        if (identity && WaitFor(identity->first, identity->second)) waited = true;
      });
    });
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wstring_view(argv[1]) == L"--after") {
    for (int i = 2; i < argc; ++i)
      if (!Identity(argv[i], L':')) return Usage();
    for (int i = 2; i < argc; ++i) {
      const auto identity = Identity(argv[i], L':');
      WaitFor(identity->first, identity->second);
    }
    return 0;
  }
  if (argc == 3 && std::wstring_view(argv[1]) == L"--spare" && argv[2][0] != L'\0') {
    Spare(argv[2]);
    return 0;
  }
  // At most a week, so that the wait always ends.
  const std::optional<std::uint64_t> wait =
      argc == 2 ? Number(argv[1], 7ull * 24 * 60 * 60 * 1000) : std::nullopt;
  if (!wait) return Usage();
  Wait(*wait);
  return 0;
}
