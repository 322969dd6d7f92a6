#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "gui/gui_support.h"
#include "ui/control_id.h"

namespace {

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
    StartedProgram program(bin + L"quorvel.exe", first);
    ASSERT_NE(program.window, nullptr) << "the program shows its window";
    EXPECT_EQ(TextOf(program.window), L"quorvel");
    HWND psnr = program.control(cid::psnr);
    ASSERT_EQ(SendMessageW(psnr, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(psnr, BM_CLICK, 0, 0);
    EXPECT_EQ(program.close(), 0u);
  }
  {
    StartedProgram program(bin + L"quorvel.exe", second);
    ASSERT_NE(program.window, nullptr);
    EXPECT_EQ(SendMessageW(program.control(cid::psnr), BM_GETCHECK, 0, 0), BST_CHECKED)
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
