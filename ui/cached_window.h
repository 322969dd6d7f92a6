#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/window.h"

// A window seen through a cache of texts and states, for work that reads
// and writes the same controls many times while nothing but itself changes
// them (one job per input of a long list). Texts of fields and labels and
// states of check boxes are kept here and reach the window once, when the
// work is done (flush() or the end of the object's life); every other change
// goes to the window at once and makes the control be read from it again.
class CachedWindow final : public Window {
 public:
  explicit CachedWindow(Window& window) : window_(window) {}
  ~CachedWindow() override;
  CachedWindow(const CachedWindow&) = delete;
  CachedWindow& operator=(const CachedWindow&) = delete;

  // Gives the window every change kept here.
  void flush();

  std::string text(ControlId id) const override;
  void setText(ControlId id, std::string_view text) override;
  int state(ControlId id) const override;
  void setState(ControlId id, int value) override;
  bool enabled(ControlId id) const override { return window_.enabled(id); }
  void setEnabled(ControlId id, bool on) override { window_.setEnabled(id, on); }
  bool visible(ControlId id) const override { return window_.visible(id); }
  void setVisible(ControlId id, bool on) override { window_.setVisible(id, on); }
  int itemCount(ControlId id) const override { return window_.itemCount(id); }
  std::string item(ControlId id, int index) const override { return window_.item(id, index); }
  void addItem(ControlId id, std::string_view text) override;
  void insertItem(ControlId id, int index, std::string_view text) override;
  void removeItem(ControlId id, int index) override;
  void clearItems(ControlId id) override;
  void setRedraw(ControlId id, bool on) override { window_.setRedraw(id, on); }

 private:
  struct Entry {
    std::optional<std::string> text;
    std::optional<int> state;
    bool textChanged = false;
    bool stateChanged = false;
  };
  Entry& entry(ControlId id) const;
  void forget(ControlId id);

  Window& window_;
  mutable std::vector<Entry> entries_;  // by ControlId
};
