#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "core/wildcard.h"
#include "platform/win32/system_message.h"
#include "platform/win32/system_path.h"
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
  return CreateDirectoryW(SystemPath(path).c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::readPieces(std::string_view path,
                                 const std::function<bool(std::string_view)>& sink) const {
  KernelHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  std::string piece(1 << 16, '\0');
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr))
      return false;
    if (got == 0 || !sink(std::string_view(piece.data(), got))) return true;
  }
}

std::optional<std::string> Win32FileSystem::readFile(std::string_view path) const {
  std::string bytes;
  constexpr size_t kLargest = size_t{1} << 30;
  bool tooLarge = false;
  const bool read = readPieces(path, [&](std::string_view piece) {
    tooLarge = bytes.size() + piece.size() > kLargest;
    if (!tooLarge) bytes.append(piece);
    return !tooLarge;
  });
  if (!read || tooLarge) return std::nullopt;
  return bytes;
}

namespace {

// The temporary file for `target`: beside it (a rename then stays on one
// volume), named so that the program knows it again: "~", the target's
// name, the process id and a count, and kTemporaryEnding.
std::wstring TemporaryFor(const std::wstring& target) {
  static unsigned counter = 0;
  const size_t sep = target.find_last_of(L"\\/");
  const std::wstring folder =
      sep == std::wstring::npos ? std::wstring() : target.substr(0, sep + 1);
  std::wstring name = sep == std::wstring::npos ? target : target.substr(sep + 1);
  if (name.size() > 100) name.resize(100);
  wchar_t tail[48];
  swprintf(tail, 48, L".%lx-%x", GetCurrentProcessId(), ++counter);
  return folder + L"~" + name + tail + kTemporaryEnding;
}

bool MarkForDeletion(HANDLE file, bool deleted) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = deleted ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) !=
         FALSE;
}

// Gives the open file the name `target`, replacing a file of that name.
bool RenameOpenFile(HANDLE file, const std::wstring& target) {
  const size_t bytes = sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(bytes, 0);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), rename->FileName);
  return SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(bytes)) !=
         FALSE;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 24));
    if (!WriteFile(file, bytes.data(), want, &put, nullptr) || put == 0) return false;
    bytes.remove_prefix(put);
  }
  return true;
}

// A virus scanner or indexer may hold a file for a moment.
bool Busy(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

}  // namespace

bool Win32FileSystem::writeFile(std::string_view path, std::string_view bytes,
                                Durability durability) {
  const std::wstring target = SystemPath(path);
  const std::wstring temporary = SystemPath(TemporaryFor(Widen(path)));
  KernelHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    lastError_ = GetLastError();
    return false;
  }
  // Until it takes the target's place, the temporary file is marked for
  // deletion: should the program end meanwhile, by a crash or a kill, the
  // system removes it. Where marking is not possible it is removed below.
  const bool marked = MarkForDeletion(file.get(), true);
  bool written = WriteAll(file.get(), bytes);
  if (written && durability == Durability::Flushed) written = FlushFileBuffers(file.get()) != FALSE;
  if (written && marked) {
    written = MarkForDeletion(file.get(), false);
    for (int attempt = 0; written; ++attempt) {
      if (RenameOpenFile(file.get(), target)) break;
      const DWORD error = GetLastError();
      if (attempt == 9 || !Busy(error)) {
        written = false;
        SetLastError(error);
        break;
      }
      Sleep(20);
    }
    if (!written) {
      lastError_ = GetLastError();
      MarkForDeletion(file.get(), true);
    }
    return written;
  }
  if (!written) lastError_ = GetLastError();
  file.reset();
  if (written) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING |
                        (durability == Durability::Flushed ? MOVEFILE_WRITE_THROUGH : 0);
    for (int attempt = 0;; ++attempt) {
      written = MoveFileExW(temporary.c_str(), target.c_str(), flags) != FALSE;
      const DWORD error = GetLastError();
      if (written || attempt == 9 || !Busy(error)) break;
      Sleep(20);
    }
    if (!written) lastError_ = GetLastError();
  }
  if (!written) DeleteFileW(temporary.c_str());
  return written;
}

bool Win32FileSystem::appendFile(std::string_view path, std::string_view bytes) {
  KernelHandle file(CreateFileW(SystemPath(path).c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || !WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
    lastError_ = GetLastError();
    return false;
  }
  return true;
}

std::optional<std::string> Win32FileSystem::readPart(std::string_view path, std::uint64_t offset,
                                                     size_t limit) const {
  KernelHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) return std::nullopt;
  std::string bytes(std::min<size_t>(limit, 1u << 24), '\0');
  DWORD got = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
    return std::nullopt;
  bytes.resize(got);
  return bytes;
}

std::optional<std::uint64_t> Win32FileSystem::fileSize(std::string_view path) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Win32FileSystem::removeFolder(std::string_view path) {
  std::string folder(path);
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  WIN32_FIND_DATAW found{};
  FindHandle search(FindFirstFileExW(SystemPath(folder + "\\*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0));
  if (search) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::string inside = folder + "\\" + Narrow(name);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeFolder(inside);
      else
        DeleteFileW(SystemPath(inside).c_str());
    } while (FindNextFileW(search.get(), &found));
  }
  return RemoveDirectoryW(SystemPath(folder).c_str()) != FALSE;
}

bool Win32FileSystem::exists(std::string_view path) const {
  return GetFileAttributesW(SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::deleteFile(std::string_view path) {
  return DeleteFileW(SystemPath(path).c_str()) != FALSE;
}

std::vector<std::string> Win32FileSystem::listFiles(std::string_view folder,
                                                    std::string_view pattern) const {
  std::string query(folder);
  if (!query.empty() && query.back() != '\\' && query.back() != '/') query += '\\';
  query += "*";
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  FindHandle search(FindFirstFileExW(SystemPath(query).c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0));
  if (!search) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string name = Narrow(found.cFileName);
    // Matched by the long name only: the system also matches short names.
    if (WildcardMatch(name, pattern)) names.push_back(std::move(name));
  } while (FindNextFileW(search.get(), &found));
  return names;
}

void Win32FileSystem::removeLeftovers(std::string_view folder) {
  const std::string prefix = std::string(folder) + (folder.ends_with('\\') ? "" : "\\");
  for (const std::string& name : listFiles(folder, "~*" + Narrow(kTemporaryEnding))) {
    // "~name.<process id>-<count>.quorvel-tmp": kept while its writer runs.
    const size_t end = name.size() - Narrow(kTemporaryEnding).size();
    const size_t dot = name.rfind('.', end - 1);
    const size_t dash = name.find('-', dot == std::string::npos ? 0 : dot);
    if (dot == std::string::npos || dash == std::string::npos || dash > end) continue;
    const DWORD owner = std::strtoul(name.substr(dot + 1, dash - dot - 1).c_str(), nullptr, 16);
    KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, owner));
    if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) continue;
    DeleteFileW(SystemPath(prefix + name).c_str());
  }
}

std::shared_ptr<void> Win32FileSystem::lock(std::string_view path) {
  // Shared with nobody, and gone with the last handle: the system closes
  // the handle when the process ends, so no lock outlives its holder.
  HANDLE file =
      CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::shared_ptr<void>(file, [](HANDLE held) { CloseHandle(held); });
}

std::optional<std::string> Win32FileSystem::encode(std::string_view utf8, CodePage page) const {
  return EncodeExactly(page == CodePage::System ? CP_ACP : CP_OEMCP, utf8);
}

std::optional<BestFit> Win32FileSystem::bestFit(std::string_view utf8) const {
  return FindBestFit(CP_ACP, utf8);
}

std::string Win32FileSystem::toCodePage(std::string_view utf8) const {
  return ToSystemCodePage(utf8);
}

std::string Win32FileSystem::fromCodePage(std::string_view bytes) const {
  return FromSystemCodePage(bytes);
}

std::string Win32FileSystem::lastErrorText() const { return SystemMessage(lastError_); }
