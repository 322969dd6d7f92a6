#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ui/control_id.h"

// What the user did to a control. A change the program makes itself never
// raises one of these.
enum class EventKind {
  Clicked,           // button or check box pressed
  SelectionChanged,  // a list, edit-list or list box got another entry
  TextChanged,       // the text of a field or edit-list was edited
  FocusLost,         // a field lost the keyboard focus
  Scrolled,          // a track bar moved
};

// What controls hold, read by ControlId: the window itself, or a settings
// value that is about to be shown in it.
class ControlValues {
 public:
  virtual ~ControlValues() = default;

  // The caption of buttons, check boxes, labels and frames; the text of
  // fields and edit-lists; the selected entry of a list ("" for none).
  virtual std::string text(ControlId) const = 0;

  // Check box 0/1, selected index of a list or list box (-1: none), track
  // bar position.
  virtual int state(ControlId) const = 0;
};

// The state of the entries of the window's system menu that steer the
// batches of the program folder, for their check marks.
struct BatchMenu {
  bool runs = false;         // a batch of the folder runs, whichever window started it
  bool paused = false;       // "Pause batch" checked
  bool stopPending = false;  // "Stop after this job" checked
  int jobsAtOnce = 1;        // the entry of "Jobs at once" checked
};

// The largest choice of "Jobs at once".
inline constexpr int kMostJobsAtOnce = 16;

// The main window as the program logic sees it: every setting lives in one
// control, read and written by ControlId. Texts are UTF-8.
class Window : public ControlValues {
 public:
  // Sets what text() returns. For a list it selects the first entry equal to
  // the text (none when no entry is). An edit-list also selects an equal entry.
  virtual void setText(ControlId, std::string_view) = 0;

  // Sets what state() returns.
  virtual void setState(ControlId, int) = 0;

  virtual bool enabled(ControlId) const = 0;
  virtual void setEnabled(ControlId, bool) = 0;
  // The control's own visibility, whatever its page shows.
  virtual bool visible(ControlId) const = 0;
  virtual void setVisible(ControlId, bool) = 0;

  // Entries of lists, edit-lists and the job list box.
  virtual int itemCount(ControlId) const = 0;
  virtual std::string item(ControlId, int index) const = 0;
  virtual void addItem(ControlId, std::string_view) = 0;
  virtual void insertItem(ControlId, int index, std::string_view) = 0;
  virtual void removeItem(ControlId, int index) = 0;
  virtual void clearItems(ControlId) = 0;
  // A note shown beside an entry of the job list box ("" for none); it moves
  // with its entry when entries are inserted or removed before it.
  virtual void setItemNote(ControlId, int /*index*/, std::string_view /*note*/) {}

  // Suspends (false) and resumes (true) redrawing a control while many
  // items are added; the in-memory window ignores it.
  virtual void setRedraw(ControlId, bool) {}

  // Runs `task` on the window's thread, after the events waiting there; may
  // be called from any thread. Tasks still waiting when the window goes are
  // dropped.
  virtual void post(std::function<void()> task) = 0;

  // What the window says of a started batch: its title, and its button on
  // the taskbar, where the taskbar can show a progress (`permille` of the
  // whole; `failed` shows it in the error state).
  virtual void setTitle(std::string_view title) = 0;
  enum class Progress { None, Running, Paused, Failed, Done };
  virtual void setProgress(Progress state, int permille) = 0;

  // Tells the program's other windows that the batches of the folder
  // changed, so that they look.
  virtual void announceBatches() {}

  // Runs `tick` on the window's thread every `intervalMs` until stopTicking;
  // while nothing ticks, the window only waits for the user.
  virtual void startTicking(int intervalMs, std::function<void()> tick) = 0;
  virtual void stopTicking() = 0;
};
