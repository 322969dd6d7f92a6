#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "gui/gui_support.h"

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
  HWND shown = nullptr;
  for (int i = 0; i < 200 && !shown; ++i) {
    Sleep(50);
    shown = FindShownProgramWindow(process.dwProcessId);
  }
  ASSERT_NE(shown, nullptr) << "the program shows its window";
  EXPECT_EQ(TextOf(shown), L"quorvel");
  PostMessageW(shown, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
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
