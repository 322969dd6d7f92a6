// The folder requester of "Batch Adding" starts in the folder it is given:
// pressing OK at once gives that folder back, every time.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <thread>

#include "gui/gui_support.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_dialogs.h"

TEST(FolderRequester, PressingOkAtOnceGivesTheStartFolderTenTimesInARow) {
  // Several levels deep below a hidden folder, as a program folder in
  // "AppData\Local\Programs" is (Wine hides every folder whose name begins
  // with a dot).
  std::wstring start = TestProgramFolder() + L"requester\\";
  RemoveFolder(start);
  CreateDirectoryW(start.c_str(), nullptr);
  for (const wchar_t* level : {L".hidden\\", L"a b\\", L"pr\u00f6g\\"}) {
    start += level;
    CreateDirectoryW(start.c_str(), nullptr);
    if (level[0] == L'.') SetFileAttributesW(start.c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  Win32Dialogs dialogs;
  dialogs.setOwner(owner);
  for (int run = 0; run < 10; ++run) {
    std::thread press = AnswerBox(owner, L"Select a folder for output",
                                  [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
    const std::string chosen = dialogs.chooseFolder("Select a folder for output", Narrow(start));
    press.join();
    EXPECT_EQ(chosen, Narrow(start)) << "run " << run;
  }
  DestroyWindow(owner);
  CoUninitialize();
  RemoveFolder(TestProgramFolder() + L"requester\\");
}
