// The main window at work: the messages it routes to the program, its event
// loop, and the Window interface, which each control's adapter carries out.
#include "ui/win32/win32_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <stdexcept>

#include "platform/win32/wide_text.h"
#include "ui/win32/window_constants.h"

using namespace window_constants;

LRESULT Win32Window::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // What the user does reaches the controls as they are written.
  const bool fromUser = message == WM_COMMAND || message == WM_HSCROLL || message == WM_NOTIFY ||
                        message == WM_DROPFILES;
  if (fromUser && !muted_) endStartUp();
  if (const std::optional<LRESULT> handled = handleRegistered(hwnd, message)) return *handled;
  switch (message) {
    case WM_NCCREATE:
      hwnd_ = hwnd;
      break;
    case WM_COMMAND:
      if (lParam != 0)
        onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      else if (HIWORD(wParam) == 0)
        // An entry of a submenu of the system menu ("Jobs at once"), which
        // Wine reports as a command of the window.
        onSystemCommand(LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      if (lParam != 0) onScroll(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE)
        selectPage(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_SYSCOMMAND:
      if (onSystemCommand(static_cast<UINT>(wParam & 0xFFF0))) return 0;
      break;
    case WM_DRAWITEM:
      if (draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) keepFocus();
      break;
    case WM_SETFOCUS:
      if (giveFocusBack()) return 0;
      break;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam) && events_) showBatchMenu(events_->batchMenu());
      break;
    case WM_TIMER:
      if (wParam == kTickTimer && tick_) {
        // A tick that shows a box must not have the next one run inside it.
        std::function<void()> tick = tick_;
        tick();
      }
      return 0;
    case kMakeToolTips:
      createToolTips();
      return 0;
    case kRunPosted:
      runPosted();
      return 0;
    case kDeferredSelection:
      if (!muted_ && events_)
        events_->onEvent(static_cast<ControlId>(wParam), EventKind::SelectionChanged);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows is logging off or shutting down (a queued "Shut" line does
      // this too): the settings are saved as on closing, and the job list
      // is kept for the next start.
      if (wParam && events_) events_->onEndSession();
      return 0;
    case WM_DROPFILES:
      onDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      if (events_) events_->onClose();
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      // What was posted and has not run goes with the window.
      std::lock_guard lock(postedMutex_);
      posted_.clear();
      hwnd_ = nullptr;
      break;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::optional<LRESULT> Win32Window::handleRegistered(HWND hwnd, UINT message) {
  // The taskbar made the window's button anew.
  if (message == TaskbarProgress::ButtonMadeMessage()) {
    taskbar_.buttonMade(hwnd);
    return 0;
  }
  // Another window started a batch.
  if (message == BatchesChangedMessage()) {
    if (events_) events_->onBatchesChanged();
    return 0;
  }
  return std::nullopt;
}

void Win32Window::onScroll(HWND child) {
  const int id = GetDlgCtrlID(child);
  const ControlSpec* found = FindControl(id);
  if (!muted_ && events_ && found && found->kind == ControlKind::Track && handleOf(id) == child)
    events_->onEvent(id, EventKind::Scrolled);
}

bool Win32Window::draw(const DRAWITEMSTRUCT& item) {
  const int id = static_cast<int>(item.CtlID);
  return id > 0 && static_cast<size_t>(id) < adapters_.size() && adapters_[id] &&
         adapters_[id]->hwnd() == item.hwndItem && adapters_[id]->draw(item);
}

void Win32Window::runPosted() {
  std::vector<std::function<void()>> tasks;
  {
    std::lock_guard lock(postedMutex_);
    tasks.swap(posted_);
  }
  for (const auto& task : tasks) task();
}

void Win32Window::onDropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(Narrow(path));
  }
  DragFinish(drop);
  if (events_ && !paths.empty()) events_->onFilesDropped(paths);
}

UINT Win32Window::BatchesChangedMessage() {
  static const UINT message = RegisterWindowMessageW(L"quorvel: the batches changed");
  return message;
}

bool Win32Window::onSystemCommand(UINT command) {
  if (!events_) return false;
  switch (command) {
    case kEncoderInfoCommand:
      events_->onEncoderInfo();
      return true;
    case kLastBatchCommand:
      events_->onLastBatch();
      return true;
    case kPauseCommand:
      events_->onPauseBatch();
      return true;
    case kStopAfterJobCommand:
      events_->onStopAfterJob();
      return true;
    case kStopNowCommand:
      events_->onStopNow();
      return true;
  }
  if (const int jobs = JobsAtOnceOf(command)) {
    events_->onJobsAtOnce(jobs);
    return true;
  }
  return false;
}

void Win32Window::showBatchMenu(const BatchMenu& state) {
  HMENU system = GetSystemMenu(hwnd_, FALSE);
  if (!system) return;
  const UINT enabled = state.runs ? MF_ENABLED : MF_GRAYED;
  for (UINT command : {kPauseCommand, kStopAfterJobCommand, kStopNowCommand})
    EnableMenuItem(system, command, MF_BYCOMMAND | enabled);
  CheckMenuItem(system, kPauseCommand, MF_BYCOMMAND | (state.paused ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(system, kStopAfterJobCommand,
                MF_BYCOMMAND | (state.stopPending ? MF_CHECKED : MF_UNCHECKED));
  for (int n = 1; n <= kMostJobsAtOnce; ++n)
    CheckMenuItem(system, JobsAtOnceCommand(n),
                  MF_BYCOMMAND | (n == state.jobsAtOnce ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Window::announceBatches() {
  EnumWindows(
      [](HWND other, LPARAM self) -> BOOL {
        wchar_t name[64] = {};
        if (other != reinterpret_cast<HWND>(self) && GetClassNameW(other, name, 64) &&
            wcscmp(name, kMainClass) == 0)
          PostMessageW(other, BatchesChangedMessage(), 0, 0);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(hwnd_));
}

LRESULT CALLBACK Win32Window::PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_NOTIFY:
    case WM_DRAWITEM:
      // The pages hand what their controls report, and the drawing of the
      // controls the program draws, to the main window.
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32Window::onCommand(HWND child, int code) {
  if (muted_) return;
  const int id = GetDlgCtrlID(child);
  const ControlSpec* row = FindControl(id);
  if (!row || static_cast<size_t>(id) >= adapters_.size() || !adapters_[id] ||
      adapters_[id]->hwnd() != child)
    return;
  std::optional<EventKind> kind = adapters_[id]->eventOf(code);
  if (!kind) return;
  if (row->kind == ControlKind::EditList && *kind == EventKind::SelectionChanged) {
    // The edit part of the list takes the chosen entry only after this
    // notification: the handler runs once the list has finished, so that it
    // reads the new text and what it writes is not overwritten.
    PostMessageW(hwnd_, kDeferredSelection, static_cast<WPARAM>(id), 0);
    return;
  }
  if (events_) events_->onEvent(id, *kind);
}

int Win32Window::runMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (hwnd_ && (answerKey(message) || IsDialogMessageW(hwnd_, &message))) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

HWND Win32Window::control(ControlId id) const {
  endStartUp();
  return handleOf(id);
}

HWND Win32Window::handleOf(ControlId id) const {
  return id > 0 && static_cast<size_t>(id) < adapters_.size() && adapters_[id]
             ? adapters_[id]->hwnd()
             : nullptr;
}

ControlAdapter& Win32Window::adapter(ControlId id) const {
  if (id <= 0 || static_cast<size_t>(id) >= adapters_.size() || !adapters_[id])
    throw std::invalid_argument("no control with id " + std::to_string(id));
  return *adapters_[id];
}

template <class Change>
void Win32Window::write(ControlId id, Change change) {
  ControlAdapter& target = adapter(id);
  if (!onScreen_ && behindFirstPage_[id]) {
    pendingWrites_.push_back({id, [&target, change] { change(target); }});
    return;
  }
  catchUp(id);
  Mute mute(*this);
  change(target);
}

void Win32Window::catchUp(ControlId id) const {
  if (pendingWrites_.empty() || id <= 0 || static_cast<size_t>(id) >= behindFirstPage_.size() ||
      !behindFirstPage_[id])
    return;
  Mute mute(*this);
  std::vector<PendingWrite> pending = std::move(pendingWrites_);
  pendingWrites_.clear();
  for (PendingWrite& write : pending) {
    if (write.id == id)
      write.change();
    else
      pendingWrites_.push_back(std::move(write));
  }
}

void Win32Window::endStartUp() const {
  if (onScreen_) return;
  onScreen_ = true;
  catchUpAll();
}

void Win32Window::catchUpAll() const {
  Mute mute(*this);
  std::vector<PendingWrite> pending = std::move(pendingWrites_);
  pendingWrites_.clear();
  for (const PendingWrite& write : pending) write.change();
}

std::string Win32Window::text(ControlId id) const {
  catchUp(id);
  return adapter(id).text();
}

void Win32Window::setText(ControlId id, std::string_view text) {
  write(id, [text = std::string(text)](ControlAdapter& control) {
    // Writing the text a control holds would only redraw it.
    if (control.text() != text) control.setText(text);
  });
}

int Win32Window::state(ControlId id) const {
  catchUp(id);
  return adapter(id).state();
}

void Win32Window::setState(ControlId id, int value) {
  // Selecting the job line already selected still scrolls it into view.
  const ControlSpec* row = FindControl(id);
  const bool always = row && row->kind == ControlKind::ListBox;
  write(id, [value, always](ControlAdapter& control) {
    if (always || control.state() != value) control.setState(value);
  });
}

bool Win32Window::enabled(ControlId id) const {
  catchUp(id);
  return IsWindowEnabled(adapter(id).hwnd()) != FALSE;
}

void Win32Window::setEnabled(ControlId id, bool on) {
  write(id, [on](ControlAdapter& control) { EnableWindow(control.hwnd(), on ? TRUE : FALSE); });
}

bool Win32Window::visible(ControlId id) const {
  catchUp(id);
  return (GetWindowLongW(adapter(id).hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Window::setVisible(ControlId id, bool on) {
  write(id, [on](ControlAdapter& control) {
    const bool shown = (GetWindowLongW(control.hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != on) ShowWindow(control.hwnd(), on ? SW_SHOWNA : SW_HIDE);
  });
}

int Win32Window::itemCount(ControlId id) const {
  catchUp(id);
  return adapter(id).itemCount();
}

std::string Win32Window::item(ControlId id, int index) const {
  catchUp(id);
  return adapter(id).item(index);
}

void Win32Window::addItem(ControlId id, std::string_view text) { insertItem(id, -1, text); }

void Win32Window::insertItem(ControlId id, int index, std::string_view text) {
  write(id, [index, text = std::string(text)](ControlAdapter& control) {
    control.insertItem(index, text);
  });
}

void Win32Window::removeItem(ControlId id, int index) {
  write(id, [index](ControlAdapter& control) { control.removeItem(index); });
}

void Win32Window::setItemNote(ControlId id, int index, std::string_view note) {
  write(id, [index, note = std::string(note)](ControlAdapter& control) {
    control.setNote(index, note);
  });
}

void Win32Window::clearItems(ControlId id) {
  write(id, [](ControlAdapter& control) { control.clearItems(); });
}

void Win32Window::post(std::function<void()> task) {
  std::lock_guard lock(postedMutex_);
  if (!hwnd_) return;
  posted_.push_back(std::move(task));
  PostMessageW(hwnd_, kRunPosted, 0, 0);
}

void Win32Window::setRedraw(ControlId id, bool on) {
  HWND child = adapter(id).hwnd();
  SendMessageW(child, WM_SETREDRAW, on ? TRUE : FALSE, 0);
  if (on) InvalidateRect(child, nullptr, TRUE);
}

void Win32Window::setTitle(std::string_view title) { SetWindowTextW(hwnd_, Widen(title).c_str()); }

void Win32Window::setProgress(Progress state, int permille) {
  taskbar_.show(hwnd_, state, permille);
}

void Win32Window::startTicking(int intervalMs, std::function<void()> tick) {
  tick_ = std::move(tick);
  SetTimer(hwnd_, kTickTimer, static_cast<UINT>(intervalMs), nullptr);
}

void Win32Window::stopTicking() {
  KillTimer(hwnd_, kTickTimer);
  tick_ = nullptr;
}
