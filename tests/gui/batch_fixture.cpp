#include "gui/batch_fixture.h"

#include <tlhelp32.h>

#include <algorithm>
#include <sstream>
#include <thread>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "ui/control_id.h"

void KillTree(DWORD root) {
  const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    if (entry.th32ParentProcessID == root) KillTree(entry.th32ProcessID);
  const KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, root));
  if (!process) return;
  TerminateProcess(process.get(), 1);
  WaitForSingleObject(process.get(), 5000);
}

namespace {

// The menus this process shows now.
size_t OpenMenus() {
  struct Count {
    size_t menus = 0;
  } count;
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        wchar_t name[16] = {};
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
            GetClassNameW(window, name, 16) && wcscmp(name, L"#32768") == 0)
          ++reinterpret_cast<Count*>(data)->menus;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.menus;
}

// The entries of a menu chosen on this thread since it was last set to 0:
// the menu posts the command of the entry once it has closed.
int chosenEntries = 0;

LRESULT CALLBACK SeeChosenEntries(int code, WPARAM removed, LPARAM data) {
  const auto* message = reinterpret_cast<const MSG*>(data);
  if (code == HC_ACTION && removed == PM_REMOVE &&
      ((message->message == WM_SYSCOMMAND && (message->wParam & 0xFFF0) != SC_KEYMENU) ||
       (message->message == WM_COMMAND && message->lParam == 0)))
    ++chosenEntries;
  return CallNextHookEx(nullptr, code, removed, data);
}

}  // namespace

void ChooseFromSystemMenu(HWND window, std::wstring_view keys) {
  const HHOOK hook =
      SetWindowsHookExW(WH_GETMESSAGE, SeeChosenEntries, nullptr, GetCurrentThreadId());
  // A menu closes when another program's window comes to the front (the
  // suites run two at a time): the user opens it again.
  chosenEntries = 0;
  for (int attempt = 0; attempt < 3 && chosenEntries == 0; ++attempt) {
    ComeBackTo(window);
    std::thread typist([window, keys = std::wstring(keys)] {
      for (size_t i = 0; i < keys.size(); ++i) {
        // A key pressed before its menu is open is lost.
        WaitUntil([&] { return OpenMenus() > i; }, 5000);
        PostMessageW(window, WM_KEYDOWN, VkKeyScanW(keys[i]) & 0xFF, 1);
      }
    });
    PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    PumpMessages();
    typist.join();
    PumpMessages();
  }
  UnhookWindowsHookEx(hook);
}

void BatchFixture::SetUp() {
  bin = TestProgramFolder();
  DeleteFileW((bin + L"quorvel.ini").c_str());
  DeleteFileW((bin + L"queue.ini").c_str());
  forgetBatches();
  tools = bin + L"tools\\";
  work = bin + L"batches\\";
  RemoveFolder(work);
  ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(tools.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  // The shut-down line runs the stand-in too.
  for (const wchar_t* name : {L"x264.exe", L"shutdown.exe"})
    ASSERT_TRUE(CopyFileW((bin + L"standin.exe").c_str(), (tools + name).c_str(), FALSE));
  SetEnvironmentVariableW(L"STANDIN_LOG", (work + L"standin-log.txt").c_str());
  SetEnvironmentVariableW(L"STANDIN_HOLD", (work + L"hold").c_str());
  SetEnvironmentVariableW(L"STANDIN_TIMES", (work + L"times.txt").c_str());
  program = std::make_unique<Program>(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &dialogs});
}

void BatchFixture::TearDown() {
  for (DWORD interpreter : StartedInterpreters()) KillTree(interpreter);
  program.reset();
  PumpMessages();
  for (const wchar_t* name :
       {L"STANDIN_LOG", L"STANDIN_HOLD", L"STANDIN_TIMES", L"STANDIN_X264_SECONDS"})
    SetEnvironmentVariableW(name, nullptr);
  RemoveFolder(tools);
  RemoveFolder(work);
  forgetBatches();
  DeleteFileW((bin + L"queue.ini").c_str());
}

void BatchFixture::forgetBatches() {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((bin + L"temp*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      RemoveFolder(bin + found.cFileName + L"\\");
    else
      DeleteFileW((bin + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::string BatchFixture::whatRan() const {
  std::string text = "times:\n" + ReadBytes(work + L"times.txt").value_or("");
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((bin + L"temp*.record").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return text;
  do {
    text += Narrow(found.cFileName) + ":\n" + ReadBytes(bin + found.cFileName).value_or("");
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return text;
}

std::string BatchFixture::title() const { return Narrow(TextOf(program->window().handle())); }

bool BatchFixture::pumpUntil(const std::function<bool()>& condition, int timeoutMs) {
  return WaitUntil(
      [&] {
        PumpMessages();
        return condition();
      },
      timeoutMs);
}

void BatchFixture::queue(const std::string& name, bool missing) {
  if (!missing) {
    ASSERT_TRUE(WriteBytes(work + Widen(name) + L".avs", "BlankClip()\r\n"));
  }
  Win32Window& window = program->window();
  window.setText(cid::input, Narrow(work) + name + ".avs");
  window.setText(cid::output, Narrow(work) + name + ".mp4");
  window.setText(cid::statsfile, Narrow(work) + name + ".stats");
  window.setText(cid::logfile, Narrow(work) + name + ".log");
  Click(control(cid::add));
  // Written in the switches the stand-in tells, today's.
  ASSERT_TRUE(pumpUntil([&] {
    for (int i = 0; i < window.itemCount(cid::jobList); ++i)
      if (window.item(cid::jobList, i).starts_with("@x264.exe --progress")) return false;
    return window.itemCount(cid::jobList) > 0;
  }));
}

bool BatchFixture::waitForTheEnd() {
  return pumpUntil([] { return StartedInterpreters().empty(); });
}

std::vector<StandInRun> BatchFixture::runs() const {
  std::vector<StandInRun> found;
  std::istringstream lines(ReadBytes(work + L"times.txt").value_or(""));
  std::string word, argument, program;
  unsigned long long at = 0;
  while (lines >> word >> at >> program && std::getline(lines, argument)) {
    while (!argument.empty() && (argument.back() == '\r' || argument.back() == ' '))
      argument.pop_back();
    if (!argument.empty() && argument.front() == ' ') argument.erase(0, 1);
    if (word == "begin") {
      found.push_back({program, argument, at, 0});
      continue;
    }
    for (StandInRun& run : found)
      if (run.program == program && run.argument == argument && run.end == 0) {
        run.end = at;
        break;
      }
  }
  return found;
}

size_t BatchFixture::MostAtOnce(const std::vector<StandInRun>& runs) {
  size_t most = 0;
  for (const StandInRun& run : runs) {
    if (run.program != "x264.exe") continue;
    size_t atOnce = 0;
    for (const StandInRun& other : runs)
      if (other.program == "x264.exe" && other.begin <= run.begin &&
          (other.end == 0 || other.end > run.begin))
        ++atOnce;
    most = std::max(most, atOnce);
  }
  return most;
}
