#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "gui/gui_support.h"
#include "ui/control_id.h"

namespace {

// The control of a window with that id, among all its descendants.
HWND ControlOf(HWND window, ControlId id) {
  struct Search {
    ControlId id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (GetDlgCtrlID(child) != s->id) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The real program, started as a user starts it, with `folder` as its
// current directory (a shortcut's "Start in", a command prompt).
class StartedProgram {
 public:
  explicit StartedProgram(const std::wstring& folder) {
    std::wstring command = L"\"" + TestProgramFolder() + L"quorvel.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &process_);
    for (int i = 0; i < 400 && started_ && !window; ++i) {
      Sleep(25);
      window = FindShownProgramWindow(process_.dwProcessId);
    }
  }
  ~StartedProgram() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  // Closes the window; the exit code, or nothing when it did not end.
  std::optional<DWORD> close() {
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 99;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

  HWND window = nullptr;

 private:
  BOOL started_ = FALSE;
  PROCESS_INFORMATION process_{};
};

bool IsEmptyFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
  bool empty = true;
  if (find == INVALID_HANDLE_VALUE) return true;
  do {
    const std::wstring name = found.cFileName;
    empty = empty && (name == L"." || name == L"..");
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return empty;
}

}  // namespace

// Started from two other folders in turn, the program shows its window,
// ends with code 0 when it is closed, and finds the settings it saved: they
// are kept in the program folder, and nothing is written where it started.
TEST(ProgramProcess, KeepsItsSettingsWhicheverFolderItStartsFrom) {
  const std::wstring bin = TestProgramFolder();
  const std::wstring first = bin + L"started in one\\";
  const std::wstring second = bin + L"started in two\\";
  DeleteFileW((bin + L"quorvel.ini").c_str());
  for (const std::wstring& folder : {first, second}) {
    RemoveFolder(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  }
  {
    StartedProgram program(first);
    ASSERT_NE(program.window, nullptr) << "the program shows its window";
    EXPECT_EQ(TextOf(program.window), L"quorvel");
    HWND psnr = ControlOf(program.window, cid::psnr);
    ASSERT_EQ(SendMessageW(psnr, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(psnr, BM_CLICK, 0, 0);
    EXPECT_EQ(program.close(), 0u);
  }
  {
    StartedProgram program(second);
    ASSERT_NE(program.window, nullptr);
    EXPECT_EQ(SendMessageW(ControlOf(program.window, cid::psnr), BM_GETCHECK, 0, 0), BST_CHECKED)
        << "the setting is back";
    EXPECT_EQ(program.close(), 0u);
  }
  EXPECT_TRUE(IsEmptyFolder(first));
  EXPECT_TRUE(IsEmptyFolder(second));
  EXPECT_TRUE(Exists(bin + L"quorvel.ini"));
  DeleteFileW((bin + L"quorvel.ini").c_str());
  RemoveFolder(first);
  RemoveFolder(second);
}

// The executable carries its icon and a version resource.
TEST(ProgramProcess, CarriesAnIconAndAVersion) {
  std::wstring exe = TestProgramFolder() + L"quorvel.exe";
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(3) /* RT_ICON group */),
            nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */),
            nullptr);
  FreeLibrary(module);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
  wchar_t* name = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductName",
                             reinterpret_cast<void**>(&name), &length));
  EXPECT_STREQ(name, L"quorvel");
}
