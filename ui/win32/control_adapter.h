#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/control_table.h"
#include "ui/window.h"

// One control of the window as the Window interface sees it, by its kind:
// what it shows as text, state and entries, what it takes, and which of its
// notifications is an event of the user. A kind answers what it has; the
// rest is nothing, and changes it cannot show are left alone.
class ControlAdapter {
 public:
  explicit ControlAdapter(HWND hwnd) : hwnd_(hwnd) {}
  virtual ~ControlAdapter() = default;
  ControlAdapter(const ControlAdapter&) = delete;
  ControlAdapter& operator=(const ControlAdapter&) = delete;

  HWND hwnd() const { return hwnd_; }

  // The caption, or a field's text.
  virtual std::string text() const;
  virtual void setText(std::string_view text);
  virtual int state() const { return 0; }
  virtual void setState(int) {}
  virtual int itemCount() const { return 0; }
  virtual std::string item(int) const { return {}; }
  // `index` -1 (or past the end): at the end.
  virtual void insertItem(int, std::string_view) {}
  virtual void removeItem(int) {}
  virtual void clearItems() {}
  // The note shown beside an entry ("" for none).
  virtual void setNote(int, std::string_view) {}
  // Paints an entry of a control the program draws; false for another.
  virtual bool draw(const DRAWITEMSTRUCT&) { return false; }
  // The event a WM_COMMAND notification of the control stands for.
  virtual std::optional<EventKind> eventOf(int) const { return std::nullopt; }

 protected:
  HWND hwnd_;
};

// The adapter for a control of the table, created as `hwnd`. `font`: the
// font the control shows its text in (it may be given it only later), which
// its entries are measured with. `listPadding`: what the widest entry of a
// list gets on its right, in pixels.
std::unique_ptr<ControlAdapter> AdapterFor(const ControlSpec& row, HWND hwnd, HFONT font,
                                           int listPadding);
