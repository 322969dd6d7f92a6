#include "platform/win32/system_path.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace {

// Below this length every file function takes a path as it is; the margin
// leaves room for the name of a file inside a folder of that length.
constexpr size_t kShortEnough = 200;

}  // namespace

std::wstring SystemPath(std::wstring path) {
  if (path.size() < kShortEnough || path.starts_with(L"\\\\?\\")) return path;
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
  for (wchar_t& c : full)
    if (c == L'/') c = L'\\';
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring SystemPath(std::string_view utf8) { return SystemPath(Widen(utf8)); }
