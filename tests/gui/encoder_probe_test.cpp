// Finding and asking the x264 that the job batches call, with the stand-in
// playing x264 builds of each time, and the program writing its jobs for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "app/win32/program.h"
#include "args/encoder_dialect.h"
#include "gui/gui_support.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_encoder_probe.h"
#include "platform/win32/win32_processes.h"
#include "support/memory_platform.h"
#include "ui/control_id.h"

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// STANDIN_HELP for the lifetime of the object; the encoders started meanwhile
// inherit it.
class HelpKind {
 public:
  explicit HelpKind(const wchar_t* kind) { SetEnvironmentVariableW(L"STANDIN_HELP", kind); }
  ~HelpKind() { SetEnvironmentVariableW(L"STANDIN_HELP", nullptr); }
};

bool PlaceEncoder(const std::wstring& folder) {
  CreateDirectoryW(folder.c_str(), nullptr);
  return CopyFileW((TestProgramFolder() + L"standin.exe").c_str(), (folder + L"x264.exe").c_str(),
                   FALSE) != FALSE;
}

TEST(EncoderProbe, TellsTheDialectOfEachKindOfEncoderAndSurvivesHangsAndCrashes) {
  const std::wstring folder = TestProgramFolder() + L"probe-kinds\\";
  RemoveFolder(folder);
  ASSERT_TRUE(PlaceEncoder(folder));
  const Win32Processes processes;
  Win32EncoderProbe probe(Narrow(folder), processes);
  const std::optional<EncoderFile> found = probe.find();
  ASSERT_TRUE(found.has_value());
  struct Case {
    const wchar_t* kind;
    bool answers;
    EncoderDialect dialect;
  };
  const Case cases[] = {
      {L"current", true, {true, true}},  {L"pyramid-bare", true, {true, false}},
      {L"legacy", true, {false, false}}, {L"none", true, {false, false}},
      {L"crash", false, {false, false}}, {L"hang", false, {false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.kind));
    HelpKind kind(c.kind);
    const Clock::time_point start = Clock::now();
    const std::optional<std::string> help = probe.longHelp(found->path, 1500);
    EXPECT_LT(MillisecondsSince(start), 4000) << "the time limit holds";
    ASSERT_EQ(help.has_value(), c.answers);
    if (help) {
      EXPECT_EQ(DialectOfHelp(*help), c.dialect);
    }
  }
  RemoveFolder(folder);
}

TEST(EncoderProbe, LooksInTheProgramFolderThenItsToolsThenAlongPath) {
  const std::wstring root = TestProgramFolder() + L"probe-places\\";
  RemoveFolder(root);
  CreateDirectoryW(root.c_str(), nullptr);
  const std::wstring program = root + L"prog\\";
  const std::wstring tools = program + L"tools\\";
  const std::wstring onPath = root + L"on path\\";
  CreateDirectoryW(program.c_str(), nullptr);
  wchar_t oldPath[32767] = {};
  GetEnvironmentVariableW(L"PATH", oldPath, 32767);
  SetEnvironmentVariableW(L"PATH", (L"\"" + onPath + L"\";" + oldPath).c_str());
  const Win32Processes processes;
  Win32EncoderProbe probe(Narrow(program), processes);

  EXPECT_FALSE(probe.find().has_value());
  ASSERT_TRUE(PlaceEncoder(onPath));
  EXPECT_EQ(probe.find()->path, Narrow(onPath + L"x264.exe"));
  ASSERT_TRUE(PlaceEncoder(tools));
  EXPECT_EQ(probe.find()->path, Narrow(tools + L"x264.exe"));
  ASSERT_TRUE(PlaceEncoder(program));
  const std::optional<EncoderFile> first = probe.find();
  EXPECT_EQ(first->path, Narrow(program + L"x264.exe"));
  ASSERT_TRUE(WriteBytes(program + L"x264.exe", "another build"));
  EXPECT_NE(probe.find(), first) << "a file of another size is another encoder";

  SetEnvironmentVariableW(L"PATH", oldPath);
  RemoveFolder(root);
}

// The real program with a stand-in x264.exe beside it.
class EncoderInProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    bin = TestProgramFolder();
    DeleteFileW((bin + L"quorvel.ini").c_str());
    ASSERT_TRUE(PlaceEncoder(bin));
    WriteBytes(bin + L"clip.avs", "BlankClip()\r\n");
  }
  void TearDown() override {
    program.reset();
    PumpMessages();
    DeleteFileW((bin + L"x264.exe").c_str());
    DeleteFileW((bin + L"clip.avs").c_str());
  }

  // Presses "Add" for one job of mode 1, and gives how long the press took.
  long long pressAdd() {
    Win32Window& window = program->window();
    window.setText(cid::input, Narrow(bin + L"clip.avs"));
    window.setText(cid::output, Narrow(bin + L"clip.mp4"));
    window.setText(cid::logfile, Narrow(bin + L"clip.txt"));
    const Clock::time_point start = Clock::now();
    Click(window.control(cid::add));
    return MillisecondsSince(start);
  }

  // The pass line of the job once it begins with `start`, or as it stands
  // when it does not within the time the encoder may take.
  std::string passLine(std::string_view start) {
    Win32Window& window = program->window();
    auto line = [&] {
      return window.itemCount(cid::jobList) > 4 ? window.item(cid::jobList, 4) : std::string();
    };
    WaitUntil([&] {
      PumpMessages();
      return line().starts_with(start);
    });
    return line();
  }

  std::wstring bin;
  std::unique_ptr<Program> program;
};

TEST_F(EncoderInProgramFolder, AddWritesTheSwitchesOfTodaysX264) {
  program = std::make_unique<Program>(GetModuleHandleW(nullptr));
  pressAdd();
  const std::string line = passLine("@x264.exe --cqm ");
  EXPECT_EQ(line.rfind("@x264.exe --cqm flat ", 0), 0u) << line;
  EXPECT_NE(line.find(" --no-mbtree --no-mixed-refs -t 0 --b-pyramid none -o "), std::string::npos)
      << line;
}

TEST_F(EncoderInProgramFolder, AHangingEncoderDelaysNeitherTheWindowNorAnAddBeyondItsTimeLimit) {
  HelpKind hang(L"hang");
  constexpr int kLimitMs = 400;
  Clock::time_point start = Clock::now();
  FakeDialogs dialogs;
  program = std::make_unique<Program>(
      GetModuleHandleW(nullptr), ProgramParts{.dialogs = &dialogs, .encoderTimeLimitMs = kLimitMs});
  program->window().show();
  PumpMessages();
  EXPECT_LT(MillisecondsSince(start), 3000) << "the window does not wait for the encoder";
  EXPECT_LT(pressAdd(), kLimitMs) << "the window does not wait for the encoder";
  EXPECT_EQ(program->window().itemCount(cid::jobList), 6) << "the job is queued at the press";
  // Make BAT takes the list once the encoder has given up.
  dialogs.saveAnswers.push_back(Narrow(bin + L"hung.bat"));
  start = Clock::now();
  Click(program->window().control(cid::makeBat));
  WaitUntil([&] {
    PumpMessages();
    return !dialogs.calls.empty();
  });
  EXPECT_LT(MillisecondsSince(start), kLimitMs + 2500) << "no longer than its limit";
  EXPECT_EQ(passLine("@x264.exe --progress ").rfind("@x264.exe --progress ", 0), 0u)
      << "the classic switches";
  DeleteFileW((bin + L"hung.bat").c_str());
  program.reset();
}

}  // namespace
