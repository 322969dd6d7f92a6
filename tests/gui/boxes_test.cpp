#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "app/win32/program.h"
#include "gui/gui_support.h"
#include "support/memory_platform.h"
#include "ui/control_id.h"

// The boxes the job list commands open, answered the way a user answers
// them: typing, Enter, Escape, the close box.
namespace {

HWND FieldOf(HWND box) { return FindWindowExW(box, nullptr, L"Edit", nullptr); }

class BoxesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileW((TestProgramFolder() + L"quorvel.ini").c_str());
    program = std::make_unique<Program>(GetModuleHandleW(nullptr));
    Win32Window& window = program->window();
    program->app().jobList().insert(0, {"@echo.", "@echo first", "@echo+"});
    window.setState(cid::jobList, 1);
  }
  void TearDown() override {
    program.reset();
    PumpMessages();
  }
  HWND main() { return program->window().handle(); }
  std::string line(int i) { return program->window().item(cid::jobList, i); }

  std::unique_ptr<Program> program;
};

}  // namespace

TEST_F(BoxesTest, EditBoxShowsTheLineAndEnterConfirmsTheTypedText) {
  std::wstring prompt, initial;
  std::thread answer = AnswerBox(main(), L"Edit", [&](HWND box) {
    prompt = TextOf(FindWindowExW(box, nullptr, L"Static", nullptr));
    HWND field = FieldOf(box);
    initial = TextOf(field);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"@echo second"));
    PostMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
  });
  Click(program->window().control(cid::edit));
  answer.join();
  EXPECT_EQ(prompt, L"For expert only!");
  EXPECT_EQ(initial, L"@echo first");
  EXPECT_EQ(line(1), "@echo second");
  EXPECT_EQ(program->window().state(cid::jobList), 1) << "the edited line stays selected";
}

TEST_F(BoxesTest, EscapeOrTheCloseBoxLeaveTheLineAsItWas) {
  struct Case {
    const char* name;
    std::function<void(HWND)> dismiss;
  };
  const Case cases[] = {
      {"Escape", [](HWND box) { PostMessageW(FieldOf(box), WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"close box", [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::thread answer = AnswerBox(main(), L"Edit", [&](HWND box) {
      SendMessageW(FieldOf(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed but dropped"));
      c.dismiss(box);
    });
    Click(program->window().control(cid::edit));
    answer.join();
    EXPECT_EQ(line(1), "@echo first");
  }
}

TEST_F(BoxesTest, ViewShowsTheSelectedLineInAMessageBox) {
  std::wstring text;
  std::thread answer = AnswerBox(main(), L"The command line parameter is:", [&](HWND box) {
    HWND label = GetDlgItem(box, 0xFFFF);  // the text of a message box
    text = label ? TextOf(label) : L"";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  Click(program->window().control(cid::view));
  answer.join();
  EXPECT_EQ(text, L"@echo first");
}

TEST_F(BoxesTest, ACustomMatrixChosenFromTheListKeepsItsPath) {
  FakeDialogs dialogs;
  dialogs.openAnswers.push_back("C:\\m\\q.cfg");
  program = std::make_unique<Program>(GetModuleHandleW(nullptr), ProgramParts{.dialogs = &dialogs});
  HWND cqm = program->window().control(cid::cqm);
  SetFocus(cqm);
  for (int press = 0; press < 2; ++press) {  // "jvt", then "custom..."
    SendMessageW(cqm, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(cqm, WM_KEYUP, VK_DOWN, 0);
    PumpMessages();
  }
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.calls[0].title, "Select a matrix file");
  EXPECT_EQ(program->window().text(cid::cqm), "\"C:\\m\\q.cfg\"");
  SetFocus(program->window().control(cid::nr));
  PumpMessages();
  EXPECT_EQ(program->window().text(cid::cqm), "\"C:\\m\\q.cfg\"") << "the list leaves it alone";
}
