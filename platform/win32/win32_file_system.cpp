#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "core/wildcard.h"
#include "platform/win32/system_message.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"

namespace {

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return ".\\";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t sep = path.find_last_of(L"\\/");
  return Narrow(path.substr(0, sep == std::wstring::npos ? 0 : sep)) + "\\";
}

}  // namespace

Win32FileSystem::Win32FileSystem() : programFolder_(ExecutableFolder()) {}

bool Win32FileSystem::createFolder(std::string_view path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE;
}

std::optional<std::string> Win32FileSystem::readFile(std::string_view path) const {
  KernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30)) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

bool Win32FileSystem::writeFile(std::string_view path, std::string_view bytes,
                                Durability durability) {
  std::wstring target = Widen(path);
  size_t sep = target.find_last_of(L"\\/");
  std::wstring folder = sep == std::wstring::npos ? L"." : target.substr(0, sep + 1);
  wchar_t temporary[MAX_PATH + 16] = {};
  if (folder.size() > MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), L"quo", 0, temporary)) {
    lastError_ = GetLastError();
    return false;
  }
  bool written = false;
  {
    KernelHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      size_t done = 0;
      written = true;
      while (done < bytes.size()) {
        DWORD put = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        if (!WriteFile(file.get(), bytes.data() + done, want, &put, nullptr) || put == 0) {
          written = false;
          break;
        }
        done += put;
      }
      if (written && durability == Durability::Flushed)
        written = FlushFileBuffers(file.get()) != FALSE;
    }
  }
  if (written) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING |
                        (durability == Durability::Flushed ? MOVEFILE_WRITE_THROUGH : 0);
    // A virus scanner or indexer may hold the new file for a moment.
    for (int attempt = 0;; ++attempt) {
      written = MoveFileExW(temporary, target.c_str(), flags) != FALSE;
      const DWORD error = GetLastError();
      if (written || attempt == 9 ||
          (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION &&
           error != ERROR_LOCK_VIOLATION))
        break;
      Sleep(20);
    }
  }
  if (!written) {
    lastError_ = GetLastError();
    DeleteFileW(temporary);
  }
  return written;
}

bool Win32FileSystem::exists(std::string_view path) const {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::deleteFile(std::string_view path) {
  return DeleteFileW(Widen(path).c_str()) != FALSE;
}

std::vector<std::string> Win32FileSystem::listFiles(std::string_view folder,
                                                    std::string_view pattern) const {
  std::string query(folder);
  if (!query.empty() && query.back() != '\\' && query.back() != '/') query += '\\';
  query += pattern;
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  FindHandle search(FindFirstFileExW(Widen(query).c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0));
  if (!search) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.push_back(Narrow(found.cFileName));
  } while (FindNextFileW(search.get(), &found));
  return names;
}

std::string Win32FileSystem::toCodePage(std::string_view utf8) const {
  return ToSystemCodePage(utf8);
}

std::string Win32FileSystem::fromCodePage(std::string_view bytes) const {
  return FromSystemCodePage(bytes);
}

std::string Win32FileSystem::lastErrorText() const { return SystemMessage(lastError_); }
