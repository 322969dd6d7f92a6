// envprep.exe run
//
// Writes "envprep.bat" into the current directory. The job batch calls it, so
// its settings stay in force for every job line, and deletes it again. It puts
// the folder of envprep.exe and that folder's "tools" subfolder in front of
// PATH, so the encoders and muxers may lie beside the program or in "tools":
//
//   @if not "!!"=="" set "PATH=C:\prog\;C:\prog\tools;%PATH%"
//   @if "!!"=="" set "PATH=C:\prog\;C:\prog\tools;!PATH!"
//
// The first line serves the usual command interpreter, the second one that
// runs with delayed expansion, where "!!" vanishes and '!' and '^' in the
// folder need a caret. A '%' is doubled in both. The file is written in the
// console's code page, the one the command interpreter reads batch files
// with; a folder that this code page cannot spell, or that holds a ';' (the
// separator in PATH), is written by its short name.
//
// Exit codes: 0 when the file was written; 1 when it could not be; 2 on a
// wrong command line.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/unique_handle.h"

namespace {

void WriteError(std::string_view text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
}

// The folder of this executable, ending with a backslash.
std::wstring OwnFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring ShortName(const std::wstring& path) {
  DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return {};
  std::wstring shortPath(length, L'\0');
  length = GetShortPathNameW(path.c_str(), shortPath.data(), length);
  shortPath.resize(length);
  return shortPath;
}

// The text in the code page, if it comes back unchanged from there.
std::optional<std::string> Encode(const std::wstring& text, UINT codePage) {
  const int count = static_cast<int>(text.size());
  int length = WideCharToMultiByte(codePage, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::nullopt;
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), count, bytes.data(), length, nullptr, nullptr);
  std::wstring back(text.size(), L'\0');
  if (MultiByteToWideChar(codePage, 0, bytes.data(), length, back.data(), count) != count ||
      back != text)
    return std::nullopt;
  return bytes;
}

// The folder as the batch file may name it: itself, or its short name when
// the code page cannot spell it or it holds a ';', the separator in PATH.
std::optional<std::wstring> UsableFolder(const std::wstring& folder, UINT codePage) {
  if (folder.find(L';') == std::wstring::npos && Encode(folder, codePage)) return folder;
  std::wstring shortFolder = ShortName(folder);
  if (shortFolder.empty() || shortFolder.find(L';') != std::wstring::npos ||
      !Encode(shortFolder, codePage))
    return std::nullopt;
  return shortFolder;
}

// Escapes the folder for a quoted "set" argument in a batch file. The command
// interpreter reads the file as text first, so this works on characters, not
// on bytes.
std::wstring Escape(const std::wstring& folder, bool delayedExpansion) {
  std::wstring result;
  for (wchar_t c : folder) {
    if (c == L'%') result += L'%';
    if (delayedExpansion && (c == L'!' || c == L'^')) result += L'^';
    result += c;
  }
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 || std::wstring_view(argv[1]) != L"run") {
    WriteError(
        "usage: envprep.exe run\r\n"
        "  writes envprep.bat, which puts the program's folder and its tools folder in PATH\r\n");
    return 2;
  }
  const std::wstring folder = OwnFolder();
  UINT codePage = GetConsoleOutputCP();
  if (codePage == 0) codePage = GetOEMCP();
  const std::optional<std::wstring> usable =
      folder.empty() ? std::nullopt : UsableFolder(folder, codePage);
  std::optional<std::string> text;
  if (usable) {
    const std::wstring plain = Escape(*usable, false);
    const std::wstring delayed = Escape(*usable, true);
    text = Encode(L"@if not \"!!\"==\"\" set \"PATH=" + plain + L";" + plain +
                      L"tools;%PATH%\"\r\n@if \"!!\"==\"\" set \"PATH=" + delayed + L";" + delayed +
                      L"tools;!PATH!\"\r\n",
                  codePage);
  }
  if (!text) {
    WriteError("envprep: the program's folder cannot be written into a batch file\r\n");
    return 1;
  }

  KernelHandle file(CreateFileW(L"envprep.bat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file ||
      !WriteFile(file.get(), text->data(), static_cast<DWORD>(text->size()), &written, nullptr) ||
      written != text->size()) {
    WriteError("envprep: cannot write envprep.bat\r\n");
    return 1;
  }
  return 0;
}
