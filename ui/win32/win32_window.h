#pragma once

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "ui/control_table.h"
#include "ui/win32/control_adapter.h"
#include "ui/win32/owned_window.h"
#include "ui/win32/taskbar_progress.h"
#include "ui/window.h"

// Where the real window sends what the user does.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void onEvent(ControlId id, EventKind kind) = 0;
  virtual void onClose() = 0;
  // Windows ends the session (log-off, shut-down, an update restart).
  virtual void onEndSession() {}
  // Files dropped from the file manager onto the window, as full paths.
  virtual void onFilesDropped(const std::vector<std::string>& paths) = 0;
  // The user chose "x264 for the jobs..." from the system menu.
  virtual void onEncoderInfo() {}
  // The user chose "Last batch..." from the system menu.
  virtual void onLastBatch() {}
  // The entries of the system menu that steer the batches of the folder:
  // their state when the menu opens, and the user's choice of one.
  virtual BatchMenu batchMenu() { return {}; }
  virtual void onPauseBatch() {}
  virtual void onStopAfterJob() {}
  virtual void onStopNow() {}
  virtual void onJobsAtOnce(int /*jobs*/) {}
  // Another window of the program started a batch.
  virtual void onBatchesChanged() {}
};

// Ids of the children that no setting refers to; no control has them.
inline constexpr int kTabControlId = 1000;
inline constexpr int kFirstPageId = 1001;  // the five pages: 1001..1005
inline constexpr int kAudioFrameId = 1010;

// The main window: a tab control with five pages and every control of the
// control table as a real child window whose GetDlgCtrlID is its ControlId.
// It is created hidden; show() makes it visible. Built in
// main_window_builder.cpp; what the Window interface asks of a control is
// done by the control's adapter (control_adapter.h).
class Win32Window final : public Window, private OwnedWindow {
 public:
  // Throws std::runtime_error when the window cannot be created. The banner
  // bitmap must outlive the window.
  Win32Window(HINSTANCE instance, HBITMAP banner);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  void setEvents(WindowEvents* events) { events_ = events; }
  void show();

  HWND handle() const { return hwnd_; }
  // A control's handle, holding all the program wrote to it.
  HWND control(ControlId id) const;
  HWND tabs() const { return tabs_; }
  HWND page(int index) const { return pages_[index]; }
  // The tool tips of the controls; made once the window has been shown and
  // drawn (they are not needed before), or when asked for.
  HWND toolTips();

  // Runs the event loop until the window is closed; gives the exit code.
  int runMessageLoop();

  std::string text(ControlId) const override;
  void setText(ControlId, std::string_view) override;
  int state(ControlId) const override;
  void setState(ControlId, int) override;
  bool enabled(ControlId) const override;
  void setEnabled(ControlId, bool) override;
  bool visible(ControlId) const override;
  void setVisible(ControlId, bool) override;
  int itemCount(ControlId) const override;
  std::string item(ControlId, int index) const override;
  void addItem(ControlId, std::string_view) override;
  void insertItem(ControlId, int index, std::string_view) override;
  void removeItem(ControlId, int index) override;
  void clearItems(ControlId) override;
  void setItemNote(ControlId, int index, std::string_view note) override;
  void setRedraw(ControlId, bool) override;
  void post(std::function<void()> task) override;
  void setTitle(std::string_view title) override;
  void setProgress(Progress state, int permille) override;
  void startTicking(int intervalMs, std::function<void()> tick) override;
  void stopTicking() override;
  void announceBatches() override;

  // The message a window of the program posts to the others when it
  // started a batch.
  static UINT BatchesChangedMessage();

 private:
  // Programmatic changes raise no events while one of these lives.
  class Mute {
   public:
    explicit Mute(const Win32Window& w) : w_(w) { ++w_.muted_; }
    ~Mute() { --w_.muted_; }
    Mute(const Mute&) = delete;
    Mute& operator=(const Mute&) = delete;

   private:
    const Win32Window& w_;
  };

  LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  static LRESULT CALLBACK PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  void createFonts();
  void createTabs();
  void createControls();
  void createToolTips();
  // Gives the controls of the pages behind the first their font.
  void finishPages();
  HWND createControl(const ControlSpec& row);
  // The font a control shows its text in.
  HFONT fontOf(const ControlSpec& row) const;
  void selectPage(int index);
  // A key the window answers itself (window_keys.cpp); false for one the
  // dialog manager and the controls handle.
  bool answerKey(const MSG& message);
  // The control that has the keyboard as the window is left, and the
  // keyboard given back to it on return (false: it is gone or hidden).
  void keepFocus();
  bool giveFocusBack();
  // Shows the page `step` pages on, round from the last to the first, as a
  // click on its tab does.
  void turnPage(int step);
  void onCommand(HWND child, int code);
  // The messages registered by name that the window takes; nothing for
  // another message.
  std::optional<LRESULT> handleRegistered(HWND hwnd, UINT message);
  void onScroll(HWND child);
  bool draw(const DRAWITEMSTRUCT& item);
  void runPosted();
  void onDropFiles(HDROP drop);
  // An entry of the system menu the program added; false for another.
  bool onSystemCommand(UINT command);
  void showBatchMenu(const BatchMenu& state);

  // The adapter of a control; throws std::invalid_argument for an id no
  // control has.
  ControlAdapter& adapter(ControlId id) const;

  // Until the window is on screen, what is written to a control of a page
  // behind the first waits, in order, since nothing shows it before; reading
  // such a control first carries out what waits for it. Writes to other
  // controls are done at once. The start-up ends, and everything waiting is
  // written, when the window shows, when the user acts, or when someone
  // takes a control's handle.
  template <class Change>
  void write(ControlId id, Change change);
  void catchUp(ControlId id) const;
  void catchUpAll() const;
  void endStartUp() const;
  HWND handleOf(ControlId id) const;
  int scale(int value) const { return MulDiv(value, dpi_, 96); }

  HINSTANCE instance_;
  HBITMAP banner_;
  HWND hwnd_ = nullptr;
  HWND tabs_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::array<HWND, kPageCount> pages_{};
  HWND tips_ = nullptr;
  std::vector<std::pair<HWND, HFONT>> pendingFonts_;
  struct PendingWrite {
    ControlId id;
    std::function<void()> change;
  };
  mutable std::vector<PendingWrite> pendingWrites_;
  std::vector<bool> behindFirstPage_;  // indexed by ControlId
  mutable bool onScreen_ = false;
  bool tipsMade_ = false;
  std::vector<std::unique_ptr<ControlAdapter>> adapters_;  // indexed by ControlId
  GdiObject<HFONT> tahoma_;
  GdiObject<HFONT> dialogFont_;
  int dpi_ = 96;
  mutable int muted_ = 0;
  bool quitOnDestroy_ = true;
  WindowEvents* events_ = nullptr;
  std::mutex postedMutex_;
  std::vector<std::function<void()>> posted_;
  std::function<void()> tick_;
  TaskbarProgress taskbar_;
};
