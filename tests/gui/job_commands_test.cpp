#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/win32/program.h"
#include "gui/gui_support.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "support/memory_platform.h"
#include "ui/control_id.h"

namespace {

// The real program in this process, as a first start, with a folder of
// sample inputs.
class JobCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bin = TestProgramFolder();
    DeleteFileW((bin + L"quorvel.ini").c_str());
    work = bin + L"gui-work\\";
    CreateDirectoryW(work.c_str(), nullptr);
    WriteBytes(work + L"clip.avs", "BlankClip()\r\n");
    program = std::make_unique<Program>(GetModuleHandleW(nullptr));
  }
  void TearDown() override {
    program.reset();
    PumpMessages();
  }

  Win32Window& window() { return program->window(); }
  HWND control(ControlId id) { return window().control(id); }

  std::vector<std::string> jobLines() {
    std::vector<std::string> lines;
    for (int i = 0, n = window().itemCount(cid::jobList); i < n; ++i)
      lines.push_back(window().item(cid::jobList, i));
    return lines;
  }

  // Chooses input and output through their requesters.
  void chooseFiles(const std::wstring& input, const std::wstring& output) {
    std::thread answer = AnswerFileRequester(input, window().handle());
    Click(control(cid::inputBrowse));
    answer.join();
    answer = AnswerFileRequester(output, window().handle());
    Click(control(cid::outputBrowse));
    answer.join();
  }

  std::wstring bin;
  std::wstring work;
  std::unique_ptr<Program> program;
};

size_t CountStarting(const std::vector<std::string>& lines, std::string_view prefix) {
  size_t n = 0;
  for (const std::string& line : lines)
    if (line.compare(0, prefix.size(), prefix) == 0) ++n;
  return n;
}

}  // namespace

TEST_F(JobCommandsTest, RequestersFillTheFileFields) {
  chooseFiles(work + L"clip.avs", work + L"result");
  EXPECT_EQ(window().text(cid::input), Narrow(work + L"clip.avs"));
  EXPECT_EQ(window().text(cid::output), Narrow(work + L"result.mp4")) << "\".mp4\" appended";
  EXPECT_EQ(window().text(cid::statsfile), Narrow(bin + L"stats\\clip.avs.stat"));
  EXPECT_EQ(window().text(cid::logfile), Narrow(bin + L"log\\clip.avs.txt"));
}

// A first start, two paths typed by the keyboard, and "Add": the job is queued
// as the fields say, without a log file.
TEST_F(JobCommandsTest, TypedPathsQueueAJobFromAFirstStart) {
  FakeDialogs dialogs;
  program = std::make_unique<Program>(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &dialogs});
  TypeInto(control(cid::input), work + L"clip.avs");
  TypeInto(control(cid::output), work + L"clip.mp4");
  Click(control(cid::add));
  EXPECT_TRUE(dialogs.calls.empty()) << dialogs.calls.front().preset;
  const std::vector<std::string> lines = jobLines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1], "@echo Input:\"" + Narrow(work) + "clip.avs\"");
  EXPECT_TRUE(
      lines[4].ends_with(" -o \"" + Narrow(work) + "clip.mp4\" \"" + Narrow(work) + "clip.avs\""))
      << lines[4];
}

TEST_F(JobCommandsTest, AddQueuesTheJobOfTheChosenModeIntoTheList) {
  struct Case {
    int mode;
    size_t passes;
    size_t sizeChecks;
  };
  const Case cases[] = {{1, 1, 0}, {6, 2, 0}, {13, 2, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode));
    Click(control(cid::clear));
    ChooseListEntry(control(cid::mode), c.mode);
    chooseFiles(work + L"clip.avs", work + L"clip.mp4");
    Click(control(cid::add));
    std::vector<std::string> lines = jobLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines.front(), "@echo.");
    EXPECT_EQ(lines[1], "@echo Input:\"" + Narrow(work) + "clip.avs\"");
    EXPECT_EQ(lines[2], "@echo Output:\"" + Narrow(work) + "clip.mp4\"");
    EXPECT_EQ(lines[3], "@echo Encode Mode:" + window().item(cid::mode, c.mode));
    EXPECT_EQ(lines.back(), "@echo+");
    EXPECT_EQ(CountStarting(lines, "@x264.exe --progress") +
                  CountStarting(lines, "@if errorlevel 1 @x264.exe --progress"),
              c.passes);
    EXPECT_EQ(CountStarting(lines, "@gaugit.exe "), c.sizeChecks);
    EXPECT_EQ(lines.size(), 5 + c.passes + c.sizeChecks);
    EXPECT_EQ(window().state(cid::mode), c.mode) << "the user's mode is shown again";
    EXPECT_EQ(window().text(cid::input), "") << "the file fields are emptied";
  }
}

// A shared preset that would run another program from the batch: the real
// box says why and nothing is queued. (Each kind of malformed text is refused
// in the native tests of the same command.)
TEST_F(JobCommandsTest, AddRefusesAPresetWhoseTextsCannotStandInALine) {
  const std::wstring preset = bin + L"configs\\shared.ini";
  HWND presetName = FindWindowExW(control(cid::presetname), nullptr, L"Edit", nullptr);
  ASSERT_NE(presetName, nullptr);
  ASSERT_TRUE(WriteBytes(preset, "nr = 0 & calc.exe\r\n"));
  TypeInto(presetName, L"shared");
  Click(control(cid::loadPreset));
  window().setText(cid::input, Narrow(work + L"clip.avs"));
  window().setText(cid::output, Narrow(work + L"clip.mp4"));
  std::wstring shown;
  std::thread answer = AnswerBox(window().handle(), L"quorvel", [&](HWND box) {
    shown = TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  Click(control(cid::add));
  answer.join();
  EXPECT_EQ(shown,
            L"Nothing was queued: \"Noise Reduction\" holds \"0 & calc.exe\"; it must be a whole "
            L"number.");
  EXPECT_TRUE(jobLines().empty());
  EXPECT_EQ(window().text(cid::input), Narrow(work + L"clip.avs")) << "the fields stay";
  DeleteFileW(preset.c_str());
}

TEST_F(JobCommandsTest, MakeBatSavesThePreambleAndEveryLine) {
  ChooseListEntry(control(cid::mode), 1);
  chooseFiles(work + L"clip.avs", work + L"clip.mp4");
  Click(control(cid::add));
  Click(control(cid::shut));
  std::thread answer = AnswerFileRequester(work + L"jobs", window().handle());
  Click(control(cid::makeBat));
  // The batch is written once the encoder the Add asked has answered.
  EXPECT_TRUE(WaitUntil([&] {
    PumpMessages();
    return Exists(work + L"jobs.bat");
  }));
  answer.join();
  std::wstring expected =
      L"@cd /d \"" + bin + L"\"\r\n@envprep.exe run\r\n@call envprep.bat\r\n@del envprep.bat\r\n";
  for (const std::string& line : jobLines()) expected += Widen(line) + L"\r\n";
  // In the console's code page, which spells the program's folder.
  const int size =
      WideCharToMultiByte(CP_OEMCP, 0, expected.data(), static_cast<int>(expected.size()), nullptr,
                          0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_OEMCP, 0, expected.data(), static_cast<int>(expected.size()), bytes.data(),
                      size, nullptr, nullptr);
  EXPECT_EQ(ReadBytes(work + L"jobs.bat"), bytes);
}

namespace {

// The priority class of the command interpreter this process started last.
DWORD PriorityOfStartedInterpreter() {
  DWORD priority = 0;
  for (DWORD id : StartedInterpreters())
    if (const KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id)); process)
      priority = GetPriorityClass(process.get());
  return priority;
}

}  // namespace

TEST_F(JobCommandsTest, StartRunsTheListAtIdlePriorityAndTheBatchDeletesItself) {
  const std::wstring marker = bin + L"start-marker.txt";
  DeleteFileW(marker.c_str());
  program->app().jobList().insert(0, {"@echo.", "@echo started> start-marker.txt", "@echo+"});
  Click(control(cid::start));
  EXPECT_EQ(PriorityOfStartedInterpreter(), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
  EXPECT_TRUE(Exists(bin + L"quorvel.ini")) << "the settings are saved first";
  bool done = false;
  for (int i = 0; i < 300 && !done; ++i) {
    Sleep(50);
    done = Exists(marker) && !Exists(bin + L"temp.bat");
  }
  EXPECT_TRUE(Exists(marker)) << "the job lines ran";
  EXPECT_FALSE(Exists(bin + L"temp.bat")) << "the batch deleted itself";
  EXPECT_EQ(ReadBytes(marker), "started\r\n");
  DeleteFileW(marker.c_str());
}
