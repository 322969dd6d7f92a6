#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_table.h"
#include "ui/window.h"

// The main window held in memory, built from the same control table as the
// real one and behaving like it: a list's text is its selected entry, track
// bars keep to their range, a list box has one selection, and typing into a
// digits field or the length-limited bias field is filtered as on screen.
// Addressing an id that no control has throws std::invalid_argument.
class MemoryWindow final : public Window {
 public:
  MemoryWindow();

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
  // The note beside an entry, "" for none.
  std::string itemNote(ControlId, int index) const;

  // What typing does: the field's whole text is replaced by `typed`, one
  // character at a time, each refused where the control refuses it (a
  // non-digit in a digits field, a character past the length limit).
  // Returns the text the field holds afterwards.
  std::string type(ControlId, std::string_view typed);

  bool has(ControlId) const;

  // Posted tasks wait here until the test runs them, as the window's thread
  // does between events: runs what waits, after waiting up to `timeoutMs`
  // for a first task when none is there yet; gives how many ran.
  void post(std::function<void()> task) override;
  int runPosted(int timeoutMs = 0);

  void setTitle(std::string_view title) override { title_ = title; }
  void setProgress(Progress state, int permille) override { progress_ = {state, permille}; }
  void startTicking(int intervalMs, std::function<void()> tick) override {
    tickInterval_ = intervalMs;
    tick_ = std::move(tick);
  }
  void stopTicking() override { tick_ = nullptr; }
  const std::string& title() const { return title_; }
  std::pair<Progress, int> progress() const { return progress_; }
  // Whether something ticks, and one tick of it.
  bool ticking() const { return static_cast<bool>(tick_); }
  void tick() {
    if (tick_) tick_();
  }

 private:
  struct Control {
    const ControlSpec* row = nullptr;
    std::string text;
    int state = 0;
    bool enabled = true;
    bool visible = true;
    std::vector<std::string> items;
    std::vector<std::string> notes;  // beside each item
  };

  Control& at(ControlId);
  const Control& at(ControlId) const;
  static bool hasItems(const Control&);

  std::vector<Control> controls_;  // indexed by ControlId
  struct Posted {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::function<void()>> tasks;
  };
  // Shared by copies of the window.
  std::shared_ptr<Posted> posted_ = std::make_shared<Posted>();
  std::string title_;
  std::pair<Progress, int> progress_{Progress::None, 0};
  int tickInterval_ = 0;
  std::function<void()> tick_;
};
