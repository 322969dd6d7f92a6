// envprep.exe run [FILE]
//
// Writes "envprep.bat", or FILE, into the current directory. The job batch
// calls it, so its settings stay in force for every job line, and deletes it
// again. (Each worker of a started batch names a file of its own, so that
// workers starting at once do not write one file.) It puts
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

#include <string_view>

#include "platform/win32/heap_text.h"
#include "platform/win32/unique_handle.h"

namespace {

void WriteError(std::string_view text) {
  WriteAll(GetStdHandle(STD_ERROR_HANDLE), text.data(), text.size());
}

bool Contains(const WideText& text, wchar_t c) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == c) return true;
  return false;
}

// The folder of this executable, ending with a backslash.
bool OwnFolder(WideText& folder) {
  for (std::size_t room = MAX_PATH;; room *= 2) {
    if (!folder.reserve(room)) return false;
    const DWORD length =
        GetModuleFileNameW(nullptr, folder.buffer(), static_cast<DWORD>(folder.capacity()));
    if (length == 0) return false;
    if (length < folder.capacity() - 1) {
      folder.resize(length);
      break;
    }
  }
  std::size_t end = folder.size();
  while (end > 0 && folder[end - 1] != L'\\' && folder[end - 1] != L'/') --end;
  folder.cut(end);
  return end > 0;
}

bool ShortName(const WideText& path, WideText& shortPath) {
  const DWORD length = GetShortPathNameW(path.data(), nullptr, 0);
  if (length == 0 || !shortPath.reserve(length)) return false;
  shortPath.resize(GetShortPathNameW(path.data(), shortPath.buffer(), length));
  return !shortPath.empty();
}

// The text in the code page, when it comes back unchanged from there.
bool Encode(const WideText& text, UINT codePage, ByteText& bytes) {
  const int count = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(codePage, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
  if (length <= 0 || !bytes.reserve(static_cast<std::size_t>(length))) return false;
  WideCharToMultiByte(codePage, 0, text.data(), count, bytes.buffer(), length, nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(length));
  WideText back;
  if (!back.reserve(text.size())) return false;
  if (MultiByteToWideChar(codePage, 0, bytes.data(), length, back.buffer(), count) != count)
    return false;
  back.resize(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (back[i] != text[i]) return false;
  return true;
}

// The folder as the batch file may name it: itself, or its short name when
// the code page cannot spell it or it holds a ';', the separator in PATH.
bool UsableFolder(const WideText& folder, UINT codePage, WideText& usable) {
  ByteText spelled;
  if (!Contains(folder, L';') && Encode(folder, codePage, spelled)) return usable.append(folder);
  return ShortName(folder, usable) && !Contains(usable, L';') && Encode(usable, codePage, spelled);
}

// Appends the folder, escaped for a quoted "set" argument in a batch file.
// The command interpreter reads the file as text first, so this works on
// characters, not on bytes.
bool AppendEscaped(WideText& to, const WideText& folder, bool delayedExpansion) {
  for (std::size_t i = 0; i < folder.size(); ++i) {
    const wchar_t c = folder[i];
    if (c == L'%' && !to.append(L'%')) return false;
    if (delayedExpansion && (c == L'!' || c == L'^') && !to.append(L'^')) return false;
    if (!to.append(c)) return false;
  }
  return true;
}

bool BatchText(const WideText& folder, WideText& text) {
  return text.append(L"@if not \"!!\"==\"\" set \"PATH=") && AppendEscaped(text, folder, false) &&
         text.append(L';') && AppendEscaped(text, folder, false) &&
         text.append(L"tools;%PATH%\"\r\n@if \"!!\"==\"\" set \"PATH=") &&
         AppendEscaped(text, folder, true) && text.append(L';') &&
         AppendEscaped(text, folder, true) && text.append(L"tools;!PATH!\"\r\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argc > 3 || std::wstring_view(argv[1]) != L"run" ||
      (argc == 3 && argv[2][0] == L'\0')) {
    WriteError(
        "usage: envprep.exe run [FILE]\r\n"
        "  writes envprep.bat (or FILE), which puts the program's folder and its tools folder\r\n"
        "  in PATH\r\n");
    return 2;
  }
  const wchar_t* const target = argc == 3 ? argv[2] : L"envprep.bat";
  UINT codePage = GetConsoleOutputCP();
  if (codePage == 0) codePage = GetOEMCP();
  WideText folder;
  WideText usable;
  WideText text;
  ByteText bytes;
  if (!OwnFolder(folder) || !UsableFolder(folder, codePage, usable) || !BatchText(usable, text) ||
      !Encode(text, codePage, bytes)) {
    WriteError("envprep: the program's folder cannot be written into a batch file\r\n");
    return 1;
  }
  KernelHandle file(CreateFileW(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || !WriteAll(file.get(), bytes.data(), bytes.size())) {
    WriteError("envprep: cannot write the batch file\r\n");
    return 1;
  }
  return 0;
}
