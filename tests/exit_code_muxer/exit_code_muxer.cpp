// exit_code_muxer.exe: a muxer that ends with the exit code it is told, for
// the end-to-end test of the clean-up after mkvmerge (it is copied as
// mkvmerge.exe). The environment variable EXIT_CODE_MUXER holds the code.
// With 0 or 1 (mkvmerge's "joined" and "joined, with warnings") it writes
// kJoined into the file after "-o"; with any other (2: an error, a negative
// one: a crash) it writes nothing.

#include <windows.h>

#include <cwchar>
#include <memory>
#include <string_view>
#include <type_traits>

namespace {

constexpr std::string_view kJoined = "joined by exit_code_muxer\r\n";

using FileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;

bool WriteJoined(const wchar_t* path) {
  const FileHandle file(
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
      &CloseHandle);
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  return WriteFile(file.get(), kJoined.data(), static_cast<DWORD>(kJoined.size()), &written,
                   nullptr) &&
         written == kJoined.size();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wchar_t text[32] = L"";
  if (GetEnvironmentVariableW(L"EXIT_CODE_MUXER", text, 32) == 0) return 2;
  const int code = static_cast<int>(std::wcstol(text, nullptr, 10));
  if (code != 0 && code != 1) return code;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::wstring_view(argv[i]) == L"-o") return WriteJoined(argv[i + 1]) ? code : 2;
  return 2;
}
