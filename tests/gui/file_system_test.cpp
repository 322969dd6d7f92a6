// Files of any path length, and writes that leave nothing behind when the
// program is ended in the middle of one.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "gui/gui_support.h"
#include "platform/win32/system_path.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"

namespace {

// A folder under the test program's folder whose path is `length`
// characters long, ending with a backslash.
std::wstring LongFolder(const wchar_t* name, size_t length) {
  std::wstring folder = TestProgramFolder() + name + L"\\";
  RemoveFolder(SystemPath(folder));
  CreateDirectoryW(folder.c_str(), nullptr);
  while (folder.size() < length) {
    folder += std::wstring(std::min<size_t>(60, length - folder.size() - 1), L'd') + L"\\";
    CreateDirectoryW(SystemPath(folder).c_str(), nullptr);
  }
  return folder;
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(SystemPath(folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

TEST(FileSystem, PathsBeyondTheClassicLimitAreWrittenReadListedAndDeleted) {
  const std::wstring folder = LongFolder(L"long paths", 300);
  Win32FileSystem files;
  const std::string configs = Narrow(folder) + "configs";
  ASSERT_TRUE(files.createFolder(configs));
  const std::string preset = configs + "\\film.ini";
  ASSERT_TRUE(files.writeFile(preset, "mode = 2\r\n")) << files.lastErrorText();
  EXPECT_EQ(files.readFile(preset), "mode = 2\r\n");
  EXPECT_TRUE(files.exists(preset));
  EXPECT_EQ(files.listFiles(configs, "*.ini"), std::vector<std::string>{"film.ini"});
  EXPECT_TRUE(files.deleteFile(preset));
  RemoveFolder(SystemPath(TestProgramFolder() + L"long paths\\"));
}

TEST(FileSystem, TheProgramInALongFolderSavesItsSettingsWhenClosed) {
  // The folder is as long as a program path may be for Windows to start it.
  const std::wstring folder = LongFolder(L"long program", 248);
  ASSERT_TRUE(CopyFileW((TestProgramFolder() + L"quorvel.exe").c_str(),
                        (folder + L"quorvel.exe").c_str(), FALSE));
  std::wstring command = L"\"" + folder + L"quorvel.exe\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             TestProgramFolder().c_str(), &startup, &process));
  HWND shown = nullptr;
  for (int i = 0; i < 200 && !shown; ++i) {
    Sleep(50);
    shown = FindShownProgramWindow(process.dwProcessId);
  }
  ASSERT_NE(shown, nullptr);
  PostMessageW(shown, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const std::optional<std::string> saved = ReadBytes(SystemPath(folder + L"quorvel.ini"));
  ASSERT_TRUE(saved.has_value()) << "quorvel.ini is written into the long folder";
  EXPECT_EQ(saved->rfind("upstat = ", 0), 0u);
  for (const wchar_t* sub : {L"avs", L"stats", L"configs", L"log", L"avsinc"})
    EXPECT_NE(GetFileAttributesW(SystemPath(folder + sub).c_str()), INVALID_FILE_ATTRIBUTES) << sub;
  RemoveFolder(SystemPath(TestProgramFolder() + L"long program\\"));
}

// Run by the next test in a process of its own, which it kills: writes a
// large file again and again.
TEST(FileSystemChild, DISABLED_WritesUntilKilled) {
  wchar_t target[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"QUORVEL_WRITE_TARGET", target, MAX_PATH), 0u);
  Win32FileSystem files;
  const std::string bytes(8 << 20, 'q');
  for (;;) files.writeFile(Narrow(target), bytes);
}

TEST(FileSystem, AWriteEndedByAKillLeavesNoTornTargetAndNothingTheNextStartKeeps) {
  const std::wstring folder = TestProgramFolder() + L"killed writes\\";
  RemoveFolder(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring target = folder + L"jobs.bat";
  SetEnvironmentVariableW(L"QUORVEL_WRITE_TARGET", target.c_str());
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  for (int kill = 0; kill < 8; ++kill) {
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_also_run_disabled_tests "
                           L"--gtest_filter=FileSystemChild.DISABLED_WritesUntilKilled";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Without a console: a console host that a killed child leaves behind
    // would keep this test's output open.
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                               nullptr, folder.c_str(), &startup, &process));
    // Once the child writes (its first temporary file is there), it is
    // killed at a point that moves through its writes from kill to kill.
    EXPECT_TRUE(WaitUntil([&] { return !NamesIn(folder).empty(); }));
    Sleep(static_cast<DWORD>(13 * kill));
    TerminateProcess(process.hProcess, 9);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // A kill in the few instructions around the rename may leave the
    // temporary file; the next start removes it, as this does, once the
    // system has let go of the killed process's files.
    WaitUntil(
        [&] {
          Win32FileSystem().removeLeftovers(Narrow(folder));
          return NamesIn(folder).size() <= 1;
        },
        2000);
    for (const std::wstring& name : NamesIn(folder)) {
      EXPECT_EQ(name, L"jobs.bat") << "after kill " << kill << ", a file is left: " << Narrow(name);
      if (name == L"jobs.bat") {
        EXPECT_EQ(ReadBytes(target)->size(), size_t{8} << 20) << "the target is never torn";
      }
    }
  }
  SetEnvironmentVariableW(L"QUORVEL_WRITE_TARGET", nullptr);
  RemoveFolder(folder);
}

TEST(FileSystem, LeftoversOfEndedWritersAreRemovedThoseOfRunningOnesKept) {
  const std::wstring folder = TestProgramFolder() + L"leftovers\\";
  RemoveFolder(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  wchar_t running[64];
  swprintf(running, 64, L"~quorvel.ini.%lx-1.quorvel-tmp", GetCurrentProcessId());
  const std::wstring ended = L"~quorvel.ini.fffffff0-2.quorvel-tmp";
  for (const std::wstring& name : {std::wstring(running), ended, std::wstring(L"mine.tmp")})
    WriteBytes(folder + name, "x");
  Win32FileSystem files;
  files.removeLeftovers(Narrow(folder));
  std::vector<std::wstring> left = NamesIn(folder);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::wstring>{L"mine.tmp", running}));
  RemoveFolder(folder);
}

}  // namespace
