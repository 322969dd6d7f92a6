#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "ui/win32/win32_window.h"

// Handles every message waiting for this thread.
void PumpMessages();

// Types characters into a control as the keyboard would deliver them.
void TypeChars(HWND control, const std::wstring& chars);

// Clicks the tab of a page with the mouse.
void ClickTab(HWND tabs, int index);

// Makes `window` the one the user works in again, if another program's
// window has taken the keyboard (the test suites run two at a time).
void ComeBackTo(HWND window);

// Presses a key as the keyboard delivers it to the focused control, with the
// keys `held` (VK_CONTROL, VK_SHIFT) down, and lets the window's event loop
// answer it, in `window` made the foreground one first.
void PressKey(Win32Window& window, WPARAM key, const std::vector<int>& held = {});

// Replaces a field's text by typing, as the keyboard delivers it.
void TypeInto(HWND field, const std::wstring& text);

// Chooses an entry of a drop-down list as the user does: the list shows it
// and tells its parent that the selection changed.
void ChooseListEntry(HWND list, int index);

// Presses a button or toggles a check box as a click does.
void Click(HWND button);

// Answers the next file requester that this process opens over `owner` with
// `path`, from another thread, by typing the name and pressing OK. Join the
// thread after the requester has returned.
std::thread AnswerFileRequester(std::wstring path, HWND owner);

// Waits on another thread for the box titled `title` over `owner`, then
// hands it to `answer`; gives up after `timeoutMs`. Join the thread after
// the box has closed.
std::thread AnswerBox(HWND owner, const wchar_t* title, std::function<void(HWND)> answer,
                      int timeoutMs = 60000);

// The box titled `title` that `owner` shows now, or nullptr.
HWND FindBox(HWND owner, const wchar_t* title);

// Waits until `condition` holds, looking every few milliseconds; false when
// it still does not after `timeoutMs`.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

// Returns once the thread of `window` has handled everything sent to it
// before: start-up done, or a modal box of its own running.
void WaitUntilHandled(HWND window);

std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);

// The tool tip text registered for a control, empty when it has none.
std::wstring ToolTipOf(HWND tips, HWND control);

// Saves what the screen shows of a window's client area as a 24-bit BMP.
// Returns false when nothing could be captured.
bool SaveClientScreenshot(HWND hwnd, const std::wstring& path, int* distinctColours);

// The folder that holds the test program, ending with a backslash.
std::wstring TestProgramFolder();

// Whole files, byte for byte; nothing when the file cannot be read.
std::optional<std::string> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool Exists(const std::wstring& path);
// Removes a folder (ending with a backslash) with everything in it.
void RemoveFolder(const std::wstring& folder);

// The shown main window of the program running as that process, or nullptr.
HWND FindShownProgramWindow(DWORD process);

// The process ids of the command interpreters this process started.
std::vector<DWORD> StartedInterpreters();

// The control of a window with that id, among all its descendants.
HWND ControlOf(HWND window, ControlId id);

// A program file started as a user starts it, with `folder` as its current
// directory, and its main window once shown (nullptr when it did not show).
// Ended by force when the object goes and it still runs.
class StartedProgram {
 public:
  StartedProgram(const std::wstring& program, const std::wstring& folder);
  ~StartedProgram();
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  HWND control(ControlId id) const { return ControlOf(window, id); }
  // Closes the window; the exit code, or nothing when it did not end.
  std::optional<DWORD> close();
  // Ends it as a crash or a kill does.
  void kill();

  HWND window = nullptr;

 private:
  PROCESS_INFORMATION process_{};
  // Holds the program and every process it starts (the encoder it asks, the
  // batches it runs): what still runs when this goes is ended with it, and
  // no process of a test outlives the test.
  KernelHandle job_;
};

// Records what the window reports.
struct RecordedEvent {
  ControlId id;
  EventKind kind;
  bool operator==(const RecordedEvent&) const = default;
};

class EventRecorder final : public WindowEvents {
 public:
  void onEvent(ControlId id, EventKind kind) override { events.push_back({id, kind}); }
  void onClose() override { ++closes; }
  void onFilesDropped(const std::vector<std::string>& paths) override { dropped.push_back(paths); }
  std::vector<RecordedEvent> events;
  std::vector<std::vector<std::string>> dropped;
  int closes = 0;
};
