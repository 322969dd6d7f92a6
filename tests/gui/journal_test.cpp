// The real program, killed with jobs queued, offers them back at its next
// start; closed the normal way, it keeps nothing and asks nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gui/gui_support.h"
#include "ui/control_id.h"

namespace {

// quorvel.exe copied into a folder of its own, started, closed and killed as
// a user's program is, and driven through its controls from this process.
class ProgramJournal : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = TestProgramFolder() + L"journal prog\\";
    RemoveFolder(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW((TestProgramFolder() + L"quorvel.exe").c_str(),
                          (folder + L"quorvel.exe").c_str(), FALSE));
  }
  void TearDown() override {
    program.reset();
    RemoveFolder(folder);
  }

  // Starts the program and waits for its window.
  void start() {
    program = std::make_unique<StartedProgram>(folder + L"quorvel.exe", folder);
    main = program->window;
    ASSERT_NE(main, nullptr);
  }

  void kill() { program.reset(); }

  void close() {
    EXPECT_EQ(program->close(), 0u);
    program.reset();
  }

  HWND control(ControlId id) { return program->control(id); }

  void queueJob(const std::wstring& name) {
    for (auto [id, ending] :
         {std::pair{cid::input, L".avs"}, {cid::output, L".mp4"}, {cid::logfile, L".txt"}}) {
      const std::wstring text = L"D:\\clips\\" + name + ending;
      SendMessageW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(control(cid::add), BM_CLICK, 0, 0);
  }

  std::vector<std::wstring> queued() {
    HWND list = control(cid::jobList);
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      // The program may change the list between two requests (a job written
      // anew once the encoder answers): the buffer holds the longest line a
      // batch can hold, whatever length was asked before.
      std::wstring line(16384, L'\0');
      const LRESULT length =
          SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
      if (length == LB_ERR) break;
      line.resize(static_cast<size_t>(length));
      lines.push_back(line);
    }
    return lines;
  }

  // Answers the question a start asks with `button`, once carried out; gives
  // its text, or "" when the start asked nothing. The question comes before
  // the program handles anything sent to its window, or not at all.
  std::wstring answerQuestion(int button) {
    WaitUntilHandled(main);
    HWND box = FindBox(main, L"quorvel");
    if (!box) return L"";
    const std::wstring asked = TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, button, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    WaitUntilHandled(main);
    return asked;
  }

  std::wstring folder;
  std::unique_ptr<StartedProgram> program;
  HWND main = nullptr;
};

TEST_F(ProgramJournal, AKilledProgramOffersItsQueueBackAndACleanCloseDoesNot) {
  ASSERT_NO_FATAL_FAILURE(start());
  queueJob(L"caf\u00e9");
  queueJob(L"\u65e5\u672c");
  SendMessageW(control(cid::shut), BM_CLICK, 0, 0);
  const std::vector<std::wstring> before = queued();
  ASSERT_EQ(before.size(), 2 * 6 + 1u);
  kill();

  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(answerQuestion(IDYES),
            L"quorvel did not close normally last time. Restore the 2 queued jobs (13 lines)?");
  EXPECT_EQ(queued(), before) << "the lines come back as they were";
  kill();

  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_FALSE(answerQuestion(IDNO).empty());
  EXPECT_TRUE(queued().empty());
  EXPECT_FALSE(Exists(folder + L"joblist.journal")) << "No lets the lines go";
  queueJob(L"again");
  EXPECT_TRUE(Exists(folder + L"joblist.journal"));
  close();
  EXPECT_FALSE(Exists(folder + L"joblist.journal")) << "a clean close keeps no journal";

  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(answerQuestion(IDYES), L"") << "and the next start asks nothing";
  close();
}

// An encoder that takes two seconds to tell its switches, as a large
// x264.exe does at its first start under a virus scanner: every press right
// after the window appears acts on the queue as the user sees it.
TEST_F(ProgramJournal, PressesBeforeTheEncoderAnswersActOnTheQueue) {
  for (const wchar_t* tool : {L"teelog.exe", L"lullo.exe", L"envprep.exe"})
    ASSERT_TRUE(CopyFileW((TestProgramFolder() + tool).c_str(), (folder + tool).c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((TestProgramFolder() + L"standin.exe").c_str(),
                        (folder + L"x264.exe").c_str(), FALSE));
  ASSERT_TRUE(WriteBytes(folder + L"a.avs", "BlankClip()\r\n"));
  const std::wstring records = folder + L"standin-log.txt";
  SetEnvironmentVariableW(L"STANDIN_HELP_DELAY_MS", L"2000");
  SetEnvironmentVariableW(L"STANDIN_LOG", records.c_str());
  auto typeJob = [&](const std::wstring& name) {
    for (auto [id, ending] : {std::pair{cid::input, L".avs"}, {cid::output, L".mp4"}}) {
      const std::wstring text = folder + name + ending;
      SendMessageW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(control(cid::add), BM_CLICK, 0, 0);
  };

  // Add, then Start at once: the batch runs the job.
  ASSERT_NO_FATAL_FAILURE(start());
  typeJob(L"a");
  SendMessageW(control(cid::start), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil(
      [&] { return ReadBytes(records).value_or("").find("a.avs") != std::string::npos; }, 30000))
      << "the batch ran the job";
  EXPECT_TRUE(WaitUntil([&] { return !Exists(folder + L"temp.bat"); }, 30000));
  close();

  // Add, Add, Shut, then del on the first job: the second job and the
  // shut-down line stay, in today's switches once the encoder has answered,
  // and a kill loses none of it.
  ASSERT_NO_FATAL_FAILURE(start());
  typeJob(L"b");
  typeJob(L"c");
  SendMessageW(control(cid::shut), BM_CLICK, 0, 0);
  SendMessageW(control(cid::jobList), LB_SETCURSEL, 1, 0);
  SendMessageW(control(cid::del), BM_CLICK, 0, 0);
  std::vector<std::wstring> lines = queued();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_NE(lines[1].find(L"c.avs"), std::wstring::npos);
  EXPECT_EQ(lines[6], L"shutdown.exe -s -f -t 30");
  EXPECT_TRUE(WaitUntil(
      [&] {
        const std::vector<std::wstring> now = queued();
        return now.size() == 7 && now[4].starts_with(L"@x264.exe --cqm ");
      },
      10000))
      << "the job is written in the switches of the encoder that answered";
  lines = queued();
  EXPECT_EQ(lines.size(), 7u);
  kill();
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(answerQuestion(IDYES),
            L"quorvel did not close normally last time. Restore the 1 queued job (7 lines)?");
  EXPECT_EQ(queued(), lines);
  close();

  // Add, then close at once: closing waits for nothing, and, as for every
  // queued job, a clean close keeps no list.
  ASSERT_NO_FATAL_FAILURE(start());
  typeJob(L"d");
  EXPECT_EQ(queued().size(), 6u);
  close();
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(answerQuestion(IDYES), L"");
  close();
  SetEnvironmentVariableW(L"STANDIN_HELP_DELAY_MS", nullptr);
  SetEnvironmentVariableW(L"STANDIN_LOG", nullptr);
}

}  // namespace
