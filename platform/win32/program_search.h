#pragma once

// Finds the program that a batch line names, as the command interpreter
// finds it: for teelog.exe, which starts the encoder, and for the program,
// which looks before a Start for what the batch will call. A name with a
// folder in it (a backslash, a slash or a colon) is looked for there only;
// any other name in the current folder first, then in each folder of PATH
// in turn, where a quoted entry may hold a ";". In each folder a name with an extension is
// tried as it is, one without it with each extension of PATHEXT in turn
// (".COM;.EXE;.BAT;.CMD" when PATHEXT is unset).

#include <windows.h>

#include "platform/win32/heap_text.h"

namespace program_search {

// The value of an environment variable; false when it is unset or empty.
inline bool ReadVariable(const wchar_t* name, WideText& value) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0 || !value.reserve(length)) return false;
  value.resize(GetEnvironmentVariableW(name, value.buffer(), length));
  return !value.empty();
}

inline bool IsFile(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Gives each entry of a list that semicolons separate to `take`, without its
// quotes (a quoted entry may hold a semicolon) and leaving out empty ones,
// until `take` returns true; then returns true.
template <class Take>
bool AnyEntry(const wchar_t* list, Take take) {
  WideText entry;
  bool quoted = false;
  for (const wchar_t* at = list;; ++at) {
    if (*at == L'"') {
      quoted = !quoted;
    } else if (*at == L'\0' || (*at == L';' && !quoted)) {
      if (!entry.empty() && take(entry)) return true;
      if (*at == L'\0') return false;
      entry.cut(0);
    } else if (!entry.append(*at)) {
      return false;
    }
  }
}

// Looks for `name` in `folder` (none: the name alone), with each of
// `extensions` when there are any; leaves the path in `found`.
inline bool FindIn(const WideText& folder, const WideText& name, const wchar_t* extensions,
                   WideText& found) {
  found.cut(0);
  const bool separated = folder.empty() || folder.back() == L'\\' || folder.back() == L'/';
  if (!found.append(folder) || (!separated && !found.append(L'\\')) || !found.append(name))
    return false;
  if (!extensions) return IsFile(found.data());
  const std::size_t stem = found.size();
  return AnyEntry(extensions, [&](const WideText& extension) {
    found.cut(stem);
    return found.append(extension) && IsFile(found.data());
  });
}

// Looks for `name` in `folder` first, then in each entry of `path` (a
// PATH value) in turn; leaves the path in `found`.
inline bool FindProgram(const WideText& name, const WideText& folder, const wchar_t* path,
                        WideText& found) {
  if (name.empty()) return false;
  bool hasFolder = false;
  bool hasExtension = false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == L'\\' || name[i] == L'/' || name[i] == L':') {
      hasFolder = true;
      hasExtension = false;
    } else if (name[i] == L'.') {
      hasExtension = true;
    }
  }
  WideText pathExt;
  const wchar_t* extensions = nullptr;
  if (!hasExtension)
    extensions = ReadVariable(L"PATHEXT", pathExt) ? pathExt.data() : L".COM;.EXE;.BAT;.CMD";
  if (hasFolder) {
    const WideText none;
    return FindIn(none, name, extensions, found);
  }
  if (!folder.empty() && FindIn(folder, name, extensions, found)) return true;
  return path && AnyEntry(path, [&](const WideText& entry) {
           return FindIn(entry, name, extensions, found);
         });
}

// As the command interpreter of this process finds it: in the current
// folder, then along PATH.
inline bool FindProgram(const WideText& name, WideText& found) {
  WideText folder;
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  if (length > 0 && folder.reserve(length))
    folder.resize(GetCurrentDirectoryW(length, folder.buffer()));
  WideText path;
  return FindProgram(name, folder, ReadVariable(L"PATH", path) ? path.data() : nullptr, found);
}

}  // namespace program_search
