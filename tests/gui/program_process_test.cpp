#include <windows.h>

#include <gtest/gtest.h>

#include "gui/gui_support.h"

namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->process && ClassOf(hwnd) == L"quorvelMain") {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

// The real program, started as a user starts it: it shows its window, and
// closing the window ends it with exit code 0.
TEST(ProgramProcess, ShowsItsWindowAndEndsWithCodeZeroWhenClosed) {
  std::wstring folder = TestProgramFolder();
  std::wstring command = L"\"" + folder + L"quorvel.exe\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.c_str(), &startup, &process))
      << "CreateProcess failed with error " << GetLastError();
  Search search{process.dwProcessId, nullptr};
  for (int i = 0; i < 200 && !search.found; ++i) {
    Sleep(50);
    EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found && !IsWindowVisible(search.found)) search.found = nullptr;
  }
  ASSERT_NE(search.found, nullptr) << "the program shows its window";
  EXPECT_EQ(TextOf(search.found), L"quorvel");
  PostMessageW(search.found, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}
