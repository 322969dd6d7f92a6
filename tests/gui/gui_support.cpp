#include "gui/gui_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <array>
#include <cstdio>
#include <set>

#include "platform/win32/unique_handle.h"

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void TypeChars(HWND control, const std::wstring& chars) {
  for (wchar_t c : chars) SendMessageW(control, WM_CHAR, c, 1);
}

void ClickTab(HWND tabs, int index) {
  RECT item{};
  SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(tabs, WM_LBUTTONUP, 0, point);
  PumpMessages();
}

void ComeBackTo(HWND window) {
  if (GetForegroundWindow() == window) return;
  SetForegroundWindow(window);
  PumpMessages();
}

void PressKey(Win32Window& window, WPARAM key, const std::vector<int>& held) {
  ComeBackTo(window.handle());
  std::array<BYTE, 256> before{};
  GetKeyboardState(before.data());
  std::array<BYTE, 256> pressed = before;
  for (int k : held) pressed[k] |= 0x80;
  SetKeyboardState(pressed.data());
  HWND focus = GetFocus() ? GetFocus() : window.handle();
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
  PostQuitMessage(0);  // the loop returns once it has answered both
  window.runMessageLoop();
  SetKeyboardState(before.data());
}

void TypeInto(HWND field, const std::wstring& text) {
  SendMessageW(field, EM_SETSEL, 0, -1);
  SendMessageW(field, WM_CHAR, VK_BACK, 1);
  TypeChars(field, text);
}

void ChooseListEntry(HWND list, int index) {
  SendMessageW(list, CB_SETCURSEL, index, 0);
  SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

namespace {

// Whatever the tests start (batches, their consoles, the programs on their
// lines) ends with the test program at the latest: one left running would
// hold the test runner's output pipe open and keep the next suite's tools in
// use. The test program joins a job that ends its processes when it closes,
// which the system does as the program ends.
const struct EndWhatTheTestsStart {
  EndWhatTheTestsStart() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job) return;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    AssignProcessToJobObject(job, GetCurrentProcess());
  }
} kEndWhatTheTestsStart;

struct BoxSearch {
  HWND owner;
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK MatchBox(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  if (IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == search->owner &&
      ClassOf(hwnd) == L"#32770" && TextOf(hwnd) == search->title) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindBox(HWND owner, const wchar_t* title) {
  BoxSearch search{owner, title, nullptr};
  EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
    Sleep(5);
  }
  return true;
}

void WaitUntilHandled(HWND window) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
}

std::thread AnswerBox(HWND owner, const wchar_t* title, std::function<void(HWND)> answer,
                      int timeoutMs) {
  return std::thread([=] {
    for (int i = 0; i < timeoutMs / 25; ++i) {
      BoxSearch search{owner, title, nullptr};
      EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        Sleep(50);
        answer(search.found);
        return;
      }
      Sleep(25);
    }
  });
}

namespace {

struct RequesterSearch {
  DWORD process;
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindRequester(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<RequesterSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (owner == search->process && IsWindowVisible(hwnd) && wcscmp(name, L"#32770") == 0 &&
      (!search->owner || GetWindow(hwnd, GW_OWNER) == search->owner)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::thread AnswerFileRequester(std::wstring path, HWND owner) {
  return std::thread([path, owner] {
    // The first requester of a process can take many seconds to appear.
    for (int i = 0; i < 2400; ++i) {
      RequesterSearch search{GetCurrentProcessId(), owner, nullptr};
      EnumWindows(FindRequester, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        HWND name = GetDlgItem(search.found, 0x47C);  // the file name box
        if (!name) name = GetDlgItem(search.found, 0x480);
        if (name) {
          // A requester still setting itself up may drop the answer: answer
          // again until it has closed.
          Sleep(100);
          SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
          PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDOK)));
          for (int wait = 0; wait < 80 && IsWindow(search.found) && IsWindowVisible(search.found);
               ++wait)
            Sleep(25);
          if (!IsWindow(search.found) || !IsWindowVisible(search.found)) return;
          continue;
        }
      }
      Sleep(25);
    }
  });
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

std::wstring ToolTipOf(HWND tips, HWND control) {
  wchar_t buffer[1024] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = buffer;
  if (!SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return {};
  tool.lpszText = buffer;
  SendMessageW(tips, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
  return buffer;
}

bool SaveClientScreenshot(HWND hwnd, const std::wstring& path, int* distinctColours) {
  RECT client{};
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  const int width = client.right;
  const int height = client.bottom;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BOOL copied = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);
  const DWORD stride = ((width * 3 + 3) / 4) * 4;
  const DWORD imageSize = stride * height;
  bool written = false;
  if (copied && bits) {
    std::set<unsigned> colours;
    auto* pixels = static_cast<const unsigned char*>(bits);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const unsigned char* p = pixels + y * stride + x * 3;
        colours.insert(p[0] | p[1] << 8 | p[2] << 16);
      }
    if (distinctColours) *distinctColours = static_cast<int>(colours.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out) {
      fwrite(&file, sizeof file, 1, out);
      fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
      fwrite(bits, imageSize, 1, out);
      written = fclose(out) == 0;
    }
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  return CloseHandle(file) && ok;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

struct ProgramWindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ProgramWindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->process && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"quorvelMain") {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindShownProgramWindow(DWORD process) {
  ProgramWindowSearch search{process, nullptr};
  EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<DWORD> StartedInterpreters() {
  std::vector<DWORD> found;
  const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    if (entry.th32ParentProcessID == GetCurrentProcessId() &&
        !_wcsicmp(entry.szExeFile, L"cmd.exe"))
      found.push_back(entry.th32ProcessID);
  return found;
}

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

StartedProgram::StartedProgram(const std::wstring& program, const std::wstring& folder) {
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  job_.reset(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job_)
    SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      folder.c_str(), &startup, &process_))
    return;
  if (job_) AssignProcessToJobObject(job_.get(), process_.hProcess);
  ResumeThread(process_.hThread);
  CloseHandle(process_.hThread);
  WaitUntil([this] { return (window = FindShownProgramWindow(process_.dwProcessId)) != nullptr; });
}

StartedProgram::~StartedProgram() {
  if (process_.hProcess) kill();
}

std::optional<DWORD> StartedProgram::close() {
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 99;
  GetExitCodeProcess(process_.hProcess, &code);
  CloseHandle(process_.hProcess);
  process_ = {};
  return code;
}

void StartedProgram::kill() {
  TerminateProcess(process_.hProcess, 9);
  WaitForSingleObject(process_.hProcess, 10000);
  CloseHandle(process_.hProcess);
  process_ = {};
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveFolder(folder + name + L"\\");
      else
        DeleteFileW((folder + name).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

namespace {

// Each test starts without the job list journal a test before it may have
// left in the program folder (a program object dropped without a close is,
// for the journal, a program that ended abnormally).
class NoJournalLeftOver final : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override {
    DeleteFileW((TestProgramFolder() + L"joblist.journal").c_str());
  }
};

class ListenerInstaller final : public ::testing::Environment {
 public:
  ListenerInstaller() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoJournalLeftOver);
  }
};

const auto* const kNoJournalLeftOver = ::testing::AddGlobalTestEnvironment(new ListenerInstaller);

}  // namespace
