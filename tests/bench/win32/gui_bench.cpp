#include <windows.h>

#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/program.h"
#include "gui/gui_support.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "support/memory_platform.h"
#include "ui/control_id.h"

// Timings of the real window under load; each prints its figure.
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Removes what a batch named "temp" left in a folder: its files and the
// folder of its workers' claims.
void RemoveBatchFiles(const std::wstring& folder) {
  for (const wchar_t* pattern : {L"temp.claims\\*", L"temp.*"}) {
    WIN32_FIND_DATAW found{};
    const std::wstring where = folder + pattern;
    const std::wstring parent = where.substr(0, where.rfind(L'\\') + 1);
    HANDLE search = FindFirstFileW(where.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      const std::wstring path = parent + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (found.cFileName[0] != L'.') RemoveDirectoryW(path.c_str());
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
}

class PerformanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileW((TestProgramFolder() + L"quorvel.ini").c_str());
    RemoveBatchFiles(TestProgramFolder());
    program =
        std::make_unique<Program>(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &dialogs});
  }
  void TearDown() override {
    program.reset();
    PumpMessages();
  }
  FakeDialogs dialogs;
  std::unique_ptr<Program> program;
};

}  // namespace

TEST(StartupTime, FromProcessStartToTheWindowShownAndIdle) {
  std::wstring folder = TestProgramFolder();
  DeleteFileW((folder + L"quorvel.ini").c_str());
  std::wstring command = L"\"" + folder + L"quorvel.exe\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.c_str(), &startup, &process));
  WaitForInputIdle(process.hProcess, 10000);
  HWND shown = nullptr;
  while (!shown && MillisecondsSince(start) < 20000) {
    shown = FindShownProgramWindow(process.dwProcessId);
    if (!shown) Sleep(1);
  }
  const double elapsed = MillisecondsSince(start);
  ASSERT_NE(shown, nullptr);
  std::printf("[ MEASURE  ] start-up to the window shown and idle: %.0f ms\n", elapsed);
  EXPECT_LT(elapsed, 5000.0);
  PostMessageW(shown, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

TEST_F(PerformanceTest, BatchAddingAThousandInputsTakesAtMostOneSecond) {
  std::vector<std::string> inputs;
  for (int i = 0; i < 1000; ++i) inputs.push_back("D:\\clips\\clip" + std::to_string(i) + ".avs");
  dialogs.folderAnswers.push_back("E:\\out\\");
  dialogs.openManyAnswers.push_back(inputs);
  const Clock::time_point start = Clock::now();
  Click(program->window().control(cid::batchAdding));
  const double elapsed = MillisecondsSince(start);
  std::printf("[ MEASURE  ] Batch Adding of 1,000 inputs: %.0f ms\n", elapsed);
  const int lines = program->window().itemCount(cid::jobList);
  EXPECT_EQ(lines, 1000 * 6) << "each job: frame, three echo lines, one pass";
  const std::string lastPass = program->window().item(cid::jobList, lines - 2);
  EXPECT_NE(lastPass.find(" -o \"E:\\out\\clip999.mp4\" \"D:\\clips\\clip999.avs\""),
            std::string::npos)
      << lastPass;
  EXPECT_EQ(program->window().text(cid::input), "") << "the fields are emptied at the end";
  EXPECT_LE(elapsed, 1000.0);
}

namespace {

// The median of the times `run` takes, run `times` times.
double MedianMs(int times, const std::function<void()>& before, const std::function<void()>& run) {
  std::vector<double> taken;
  for (int i = 0; i < times; ++i) {
    before();
    const Clock::time_point start = Clock::now();
    run();
    taken.push_back(MillisecondsSince(start));
  }
  std::sort(taken.begin(), taken.end());
  return taken[taken.size() / 2];
}

// Ends the command interpreters this process started.
void EndStartedInterpreters() {
  for (DWORD id : StartedInterpreters())
    if (const KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id)); process)
      TerminateProcess(process.get(), 1);
}

}  // namespace

// One Add costs the same whatever the length of the list: the list box and
// the journal take the new job alone.
TEST_F(PerformanceTest, OneAddWithAnEmptyListAndWithTwentyThousandLinesQueued) {
  Win32Window& window = program->window();
  JobList& list = program->app().jobList();
  auto fill = [&] {
    window.setText(cid::input, "D:\\clips\\clip.avs");
    window.setText(cid::output, "D:\\clips\\clip.mp4");
  };
  auto add = [&] { Click(window.control(cid::add)); };
  // From an empty list on: the first Add writes the journal anew, every
  // later one appends its record.
  const double empty = MedianMs(25, fill, add);
  list.clear();
  std::vector<std::string> lines;
  for (int i = 0; i < 20000; ++i)
    lines.push_back("@echo line " + std::to_string(i) + " of a long job list");
  list.insert(0, lines);
  const double full = MedianMs(25, fill, add);
  std::printf(
      "[ MEASURE  ] one Add: %.2f ms from an empty list on, %.2f ms with 20,000 lines queued "
      "(%.2f times)\n",
      empty, full, full / empty);
  EXPECT_EQ(list.size(), 20000u + 25 * 6);
  EXPECT_LT(full, 1.2 * empty + 1.0);
}

TEST_F(PerformanceTest, MakeBatAndStartOfAHundredThousandLines) {
  // 10,000 jobs of ten lines each.
  std::vector<std::string> lines;
  for (int i = 0; i < 100000; ++i)
    lines.push_back(i % 10 == 0   ? "@echo."
                    : i % 10 == 9 ? "@echo+"
                                  : "@rem line " + std::to_string(i) + " of a long job list");
  program->app().jobList().insert(0, lines);
  Win32Window& window = program->window();
  const std::wstring path = TestProgramFolder() + L"hundred-thousand.bat";
  dialogs.saveAnswers.push_back(Narrow(path));
  Clock::time_point start = Clock::now();
  Click(window.control(cid::makeBat));
  const double makeBat = MillisecondsSince(start);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_GT(data.nFileSizeLow, 100000u * 30u);
  DeleteFileW(path.c_str());
  start = Clock::now();
  Click(window.control(cid::start));
  const double started = MillisecondsSince(start);
  EndStartedInterpreters();
  // The killed batch's 10,000 jobs show their states beside their lines.
  WaitUntil([&] { return StartedInterpreters().empty(); });
  int clip = 0;
  const double added = MedianMs(
      9,
      [&] {
        const std::string name = "D:\\clips\\clip" + std::to_string(++clip);
        window.setText(cid::input, name + ".avs");
        window.setText(cid::output, name + ".mp4");
      },
      [&] { Click(window.control(cid::add)); });
  std::printf(
      "[ MEASURE  ] 100,000 lines: Make BAT %.0f ms, Start %.0f ms, then one Add %.2f ms while "
      "the states of 10,000 jobs show\n",
      makeBat, started, added);
  std::string asked;
  for (const DialogCall& call : dialogs.calls) asked += call.kind + ": " + call.preset + "\n";
  EXPECT_EQ(dialogs.calls.size(), 1u) << "only the save requester, not\n" << asked;
  program.reset();
  RemoveBatchFiles(TestProgramFolder());
}

// A settings file of 100 MB (lines no setting reads) costs neither much
// time nor memory: only the settings are kept.
TEST(StartupTime, AHundredMegabyteSettingsFile) {
  const std::wstring ini = TestProgramFolder() + L"quorvel.ini";
  {
    HANDLE file = CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string block;
    for (int i = 0; block.size() < (1 << 20); ++i)
      block += "unknown" + std::to_string(i) + " = what no setting reads\r\n";
    for (int megabyte = 0; megabyte < 100; ++megabyte) {
      DWORD written = 0;
      WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    }
    const std::string last = "mode = 3\r\n";
    DWORD written = 0;
    WriteFile(file, last.data(), static_cast<DWORD>(last.size()), &written, nullptr);
    CloseHandle(file);
  }
  PROCESS_MEMORY_COUNTERS before{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  const Clock::time_point start = Clock::now();
  auto program = std::make_unique<Program>(GetModuleHandleW(nullptr));
  const double elapsed = MillisecondsSince(start);
  PROCESS_MEMORY_COUNTERS after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  const double grown = (static_cast<double>(after.PeakWorkingSetSize) -
                        static_cast<double>(before.PeakWorkingSetSize)) /
                       (1 << 20);
  std::printf("[ MEASURE  ] start-up with a 100 MB settings file: %.0f ms, peak memory +%.1f MB\n",
              elapsed, grown);
  EXPECT_EQ(program->window().state(cid::mode), 3);
  EXPECT_LT(grown, 40.0);
  program.reset();
  PumpMessages();
  DeleteFileW(ini.c_str());
}

// Queuing 1,000 inputs with the job list journaled after every change, and
// with the journal held by another copy of the program (so none is written).
TEST(JournalTime, AThousandAddsAndABatchOfAThousandInputs) {
  const std::wstring folder = TestProgramFolder();
  for (bool journaled : {false, true}) {
    DeleteFileW((folder + L"quorvel.ini").c_str());
    HANDLE held = journaled ? INVALID_HANDLE_VALUE
                            : CreateFileW((folder + L"joblist.journal.lock").c_str(),
                                          GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                          FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    FakeDialogs dialogs;
    auto program =
        std::make_unique<Program>(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &dialogs});
    Win32Window& window = program->window();
    Clock::time_point start = Clock::now();
    double slowest = 0;
    for (int i = 0; i < 1000; ++i) {
      const std::string name = "D:\\clips\\clip" + std::to_string(i);
      window.setText(cid::input, name + ".avs");
      window.setText(cid::output, name + ".mp4");
      window.setText(cid::logfile, name + ".txt");
      const Clock::time_point one = Clock::now();
      Click(window.control(cid::add));
      slowest = std::max(slowest, MillisecondsSince(one));
    }
    const double adds = MillisecondsSince(start);
    Click(window.control(cid::clear));
    std::vector<std::string> inputs;
    for (int i = 0; i < 1000; ++i) inputs.push_back("D:\\clips\\clip" + std::to_string(i) + ".avs");
    dialogs.folderAnswers.push_back("E:\\out\\");
    dialogs.openManyAnswers.push_back(inputs);
    start = Clock::now();
    Click(window.control(cid::batchAdding));
    const double batch = MillisecondsSince(start);
    std::printf(
        "[ MEASURE  ] %s: 1,000 Adds %.0f ms (the slowest %.1f ms), Batch Adding of 1,000 "
        "inputs %.0f ms\n",
        journaled ? "journaled" : "no journal", adds, slowest, batch);
    EXPECT_EQ(Exists(folder + L"joblist.journal"), journaled);
    EXPECT_LT(slowest, 250.0);
    program.reset();
    PumpMessages();
    DeleteFileW((folder + L"joblist.journal").c_str());
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  }
}

namespace {

double CpuMilliseconds(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  auto ticks = [](FILETIME t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

}  // namespace

// The window's own CPU time while it waits for the user, and while it
// follows a started batch whose encode runs (held by the stand-in x264).
TEST(BatchWatchTime, TheWindowsCpuTimeIdleAndWhileABatchRuns) {
  const std::wstring bin = TestProgramFolder();
  const std::wstring folder = bin + L"watch bench\\";
  RemoveFolder(folder);
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  for (const wchar_t* tool : {L"quorvel.exe", L"teelog.exe", L"lullo.exe", L"envprep.exe"})
    ASSERT_TRUE(CopyFileW((bin + tool).c_str(), (folder + tool).c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((bin + L"standin.exe").c_str(), (folder + L"x264.exe").c_str(), FALSE));
  ASSERT_TRUE(WriteBytes(folder + L"a.avs", "BlankClip()\r\n"));
  ASSERT_TRUE(WriteBytes(folder + L"hold", ""));
  SetEnvironmentVariableW(L"STANDIN_HOLD", (folder + L"hold").c_str());
  SetEnvironmentVariableW(L"STANDIN_LOG", (folder + L"standin-log.txt").c_str());
  std::wstring command = L"\"" + folder + L"quorvel.exe\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.c_str(), &startup, &process));
  const KernelHandle owned(process.hProcess);
  const KernelHandle thread(process.hThread);
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindShownProgramWindow(process.dwProcessId)) != nullptr; });
  ASSERT_NE(window, nullptr);
  Sleep(2000);  // start-up done, the encoder asked

  constexpr DWORD kIdleMs = 10000;
  double before = CpuMilliseconds(process.hProcess);
  Sleep(kIdleMs);
  const double idle = CpuMilliseconds(process.hProcess) - before;

  for (auto [id, name] : {std::pair{cid::input, L"a.avs"}, {cid::output, L"a.mp4"}}) {
    const std::wstring path = folder + name;
    SendMessageW(ControlOf(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  }
  SendMessageW(ControlOf(window, cid::add), BM_CLICK, 0, 0);
  PostMessageW(ControlOf(window, cid::start), BM_CLICK, 0, 0);
  WaitUntil([&] { return TextOf(window).starts_with(L"job 1 of 1 (a.avs): "); }, 20000);
  constexpr DWORD kRunningMs = 20000;
  before = CpuMilliseconds(process.hProcess);
  Sleep(kRunningMs);
  const double running = CpuMilliseconds(process.hProcess) - before;
  std::printf(
      "[ MEASURE  ] the window's CPU time: %.0f ms in %u s idle, %.0f ms per minute while a "
      "batch runs, %.0f ms since it started (title \"%s\")\n",
      idle, static_cast<unsigned>(kIdleMs / 1000), running * 60000.0 / kRunningMs,
      CpuMilliseconds(process.hProcess), Narrow(TextOf(window)).c_str());
  DeleteFileW((folder + L"hold").c_str());
  WaitUntil([&] { return TextOf(window).starts_with(L"1 job: "); }, 20000);
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  SetEnvironmentVariableW(L"STANDIN_HOLD", nullptr);
  SetEnvironmentVariableW(L"STANDIN_LOG", nullptr);
  RemoveFolder(folder);
}
