#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/startup.h"
#include "gui/gui_support.h"
#include "settings/control_rules.h"
#include "settings/settings_store.h"
#include "support/startup_state.h"
#include "ui/win32/win32_window.h"

// The window reports what the user does, control by control, and nothing of
// what the program changes itself.
class WindowEventsTest : public ::testing::Test {
 protected:
  WindowEventsTest() : window(GetModuleHandleW(nullptr), nullptr) {
    FillFixedLists(window);
    ShowSettings(window, BuiltInSettings());
    window.setEvents(&recorder);
    window.show();
    PumpMessages();
  }
  ~WindowEventsTest() override { window.setEvents(nullptr); }

  bool saw(ControlId id, EventKind kind) const {
    for (const RecordedEvent& e : recorder.events)
      if (e.id == id && e.kind == kind) return true;
    return false;
  }

  Win32Window window;
  EventRecorder recorder;
};

TEST_F(WindowEventsTest, ShowsTheBuiltInSettings) { ExpectStartupState(window); }

TEST_F(WindowEventsTest, ChangesMadeByTheProgramRaiseNoEvent) {
  window.setText(cid::value, "40");
  window.setText(cid::cqm, "jvt");
  window.setText(cid::cqm, "\"C:\\m\\q.cfg\"");
  window.setState(cid::a1, 0);
  window.setState(cid::mode, 5);
  window.setState(cid::biasbar, 20);
  window.setEnabled(cid::value, false);
  window.setVisible(cid::sizemode, true);
  window.addItem(cid::jobList, "@echo.");
  window.setState(cid::jobList, 0);
  window.insertItem(cid::jobList, 0, "@echo+");
  window.removeItem(cid::jobList, 1);
  window.clearItems(cid::presetname);
  PumpMessages();
  EXPECT_TRUE(recorder.events.empty());
}

TEST_F(WindowEventsTest, TypingIntoAFieldReportsTextChanges) {
  HWND value = window.control(cid::value);
  SendMessageW(value, EM_SETSEL, 0, -1);
  TypeChars(value, L"42");
  EXPECT_EQ(window.text(cid::value), "42");
  ASSERT_FALSE(recorder.events.empty());
  EXPECT_TRUE(saw(cid::value, EventKind::TextChanged));
}

TEST_F(WindowEventsTest, LeavingAFieldReportsTheLossOfFocus) {
  ClickTab(window.tabs(), 2);
  SetFocus(window.control(cid::bias));
  SetFocus(window.control(cid::mb));
  PumpMessages();
  EXPECT_TRUE(saw(cid::bias, EventKind::FocusLost));
}

TEST_F(WindowEventsTest, ClickingACheckBoxTogglesItAndReportsTheClick) {
  ClickTab(window.tabs(), 3);
  const int before = window.state(cid::cab);
  SendMessageW(window.control(cid::cab), BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_EQ(window.state(cid::cab), 1 - before);
  EXPECT_EQ(recorder.events, (std::vector<RecordedEvent>{{cid::cab, EventKind::Clicked}}));
}

TEST_F(WindowEventsTest, ClickingAButtonReportsTheClick) {
  SendMessageW(window.control(cid::add), BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_EQ(recorder.events, (std::vector<RecordedEvent>{{cid::add, EventKind::Clicked}}));
}

TEST_F(WindowEventsTest, ChoosingAListEntryWithTheKeyboardReportsTheSelection) {
  HWND mode = window.control(cid::mode);
  SetFocus(mode);
  SendMessageW(mode, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(mode, WM_KEYUP, VK_DOWN, 0);
  PumpMessages();
  EXPECT_EQ(window.state(cid::mode), 2);
  EXPECT_TRUE(saw(cid::mode, EventKind::SelectionChanged));
}

TEST_F(WindowEventsTest, ChoosingAnEntryOfAnEditableListShowsItsTextToTheHandler) {
  struct ReadingRecorder final : WindowEvents {
    explicit ReadingRecorder(Win32Window& w) : window(w) {}
    void onEvent(ControlId id, EventKind kind) override {
      if (id == cid::cqm && kind == EventKind::SelectionChanged) seen = window.text(cid::cqm);
    }
    void onClose() override {}
    void onFilesDropped(const std::vector<std::string>&) override {}
    Win32Window& window;
    std::string seen;
  } reader(window);
  window.setEvents(&reader);
  ClickTab(window.tabs(), 3);
  HWND cqm = window.control(cid::cqm);
  SetFocus(cqm);
  SendMessageW(cqm, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(cqm, WM_KEYUP, VK_DOWN, 0);
  PumpMessages();
  EXPECT_EQ(reader.seen, "jvt");
  window.setEvents(&recorder);
}

TEST_F(WindowEventsTest, MovingATrackBarReportsTheScroll) {
  ClickTab(window.tabs(), 3);
  HWND track = window.control(cid::deb_a);
  const int before = window.state(cid::deb_a);
  SetFocus(track);
  SendMessageW(track, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(track, WM_KEYUP, VK_RIGHT, 0);
  PumpMessages();
  EXPECT_EQ(window.state(cid::deb_a), before + 1);
  EXPECT_TRUE(saw(cid::deb_a, EventKind::Scrolled));
}

TEST_F(WindowEventsTest, ClickingAJobLineSelectsItAndReportsTheSelection) {
  window.addItem(cid::jobList, "@echo.");
  window.addItem(cid::jobList, "@echo+");
  ClickTab(window.tabs(), 4);
  HWND list = window.control(cid::jobList);
  RECT line{};
  SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&line));
  LPARAM point = MAKELPARAM(line.left + 5, (line.top + line.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(list, WM_LBUTTONUP, 0, point);
  PumpMessages();
  EXPECT_EQ(window.state(cid::jobList), 1);
  EXPECT_EQ(window.text(cid::jobList), "@echo+");
  EXPECT_TRUE(saw(cid::jobList, EventKind::SelectionChanged));
}

TEST_F(WindowEventsTest, EnterPressesTheFocusedButton) {
  HWND add = window.control(cid::add);
  SetFocus(add);
  PostMessageW(add, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(window.handle(), WM_CLOSE, 0, 0);
  window.runMessageLoop();
  EXPECT_TRUE(saw(cid::add, EventKind::Clicked));
}

TEST_F(WindowEventsTest, TabWalksTheShownPageThenTheControlsBelowItLeftToRight) {
  auto focused = [&] {  // the text part of an editable list is a window of its own
    ComeBackTo(window.handle());
    HWND focus = GetFocus();
    return FindControl(
        GetDlgCtrlID(ClassOf(GetParent(focus)) == L"ComboBox" ? GetParent(focus) : focus));
  };
  ClickTab(window.tabs(), 0);  // leaves the focus on the tab control
  std::vector<const ControlSpec*> stops;
  // Tab until the focus comes round to the first stop again.
  for (PressKey(window, VK_TAB); stops.size() < 50 && (stops.empty() || focused() != stops[0]);
       PressKey(window, VK_TAB))
    stops.push_back(focused());
  auto on = [](Page page) {
    return [page](const ControlSpec* row) { return row && row->page == page; };
  };
  const auto below = std::find_if(stops.begin(), stops.end(), on(Page::Outside));
  ASSERT_NE(below, stops.begin());
  EXPECT_TRUE(std::all_of(stops.begin(), below, on(Page::Bitrate)));
  ASSERT_TRUE(std::all_of(below, stops.end(), on(Page::Outside)));
  EXPECT_EQ(stops.end() - below,
            std::ranges::count(ControlTable(), Page::Outside, &ControlSpec::page));
  EXPECT_TRUE(std::is_sorted(below, stops.end(), [](auto* a, auto* b) { return a->x < b->x; }));
  ClickTab(window.tabs(), 0);
  PressKey(window, VK_TAB, {VK_SHIFT});
  EXPECT_EQ(focused(), stops.back()) << "Shift+Tab on the tabs goes round to the last stop";
}

// The user leaves the window for another one and comes back: the field
// that had the keyboard has it again.
TEST_F(WindowEventsTest, TheFocusedControlHasTheKeyboardAgainOnReturn) {
  HWND value = window.control(cid::value);
  ComeBackTo(window.handle());
  SetFocus(value);
  const HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 0, 0,
                                     100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  PumpMessages();
  ASSERT_NE(GetFocus(), value);
  ComeBackTo(window.handle());
  EXPECT_EQ(GetFocus(), value);
  DestroyWindow(other);
}

TEST_F(WindowEventsTest, CtrlTabAndCtrlPageKeysTurnThePagesRound) {
  SetFocus(window.control(cid::value));
  const std::vector<int> none, ctrl{VK_CONTROL}, ctrlShift{VK_CONTROL, VK_SHIFT};
  const struct {
    WPARAM key;
    const std::vector<int>& held;
    int page;
  } presses[] = {{VK_TAB, ctrl, 1},   {VK_NEXT, ctrl, 2},     {VK_TAB, ctrl, 3},
                 {VK_TAB, ctrl, 4},   {VK_NEXT, ctrl, 0},     {VK_TAB, ctrlShift, 4},
                 {VK_PRIOR, ctrl, 3}, {VK_TAB, ctrlShift, 2}, {VK_TAB, none, 2}};
  for (const auto& press : presses) {
    PressKey(window, press.key, press.held);
    EXPECT_EQ(SendMessageW(window.tabs(), TCM_GETCURSEL, 0, 0), press.page) << press.key;
    EXPECT_TRUE(IsWindowVisible(window.page(press.page))) << press.page;
    EXPECT_TRUE(IsWindowVisible(GetFocus())) << "the focus stays on a control that shows";
  }
}

namespace {

// The handle the shell sends with WM_DROPFILES: a DROPFILES header followed
// by the wide paths, each ended by a NUL, and a final NUL.
HGLOBAL DropOf(const std::vector<std::wstring>& paths) {
  size_t chars = 1;
  for (const std::wstring& path : paths) chars += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(header + 1);
  for (const std::wstring& path : paths) {
    std::copy(path.begin(), path.end(), text);
    text += path.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

TEST_F(WindowEventsTest, FilesDroppedOntoTheWindowAreReportedInOrder) {
  SendMessageW(window.handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(DropOf({L"D:\\v\\one.avs", L"D:\\v\\two ö.mkv"})), 0);
  ASSERT_EQ(recorder.dropped.size(), 1u);
  EXPECT_EQ(recorder.dropped[0], (std::vector<std::string>{"D:\\v\\one.avs", "D:\\v\\two ö.mkv"}));
  EXPECT_TRUE(GetWindowLongW(window.handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST(WindowLifetime, OnlyClosingTheWindowEndsTheEventLoop) {
  PumpMessages();
  { Win32Window discarded(GetModuleHandleW(nullptr), nullptr); }
  MSG message{};
  EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
      << "a window object going away posts no quit message";
  Win32Window closed(GetModuleHandleW(nullptr), nullptr);
  SendMessageW(closed.handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(WindowEventsTest, AFailureInAHandlerIsShownNotSwallowed) {
  struct Failing final : WindowEvents {
    void onEvent(ControlId, EventKind) override { throw std::runtime_error("the disk is full"); }
    void onClose() override {}
    void onFilesDropped(const std::vector<std::string>&) override {}
  } failing;
  window.setEvents(&failing);
  std::wstring shown;
  std::thread answer = AnswerBox(window.handle(), L"quorvel", [&](HWND box) {
    shown = TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  Click(window.control(cid::add));
  answer.join();
  EXPECT_EQ(shown, L"quorvel could not finish what it was doing:\n\nthe disk is full");
  window.setEvents(&recorder);
}
