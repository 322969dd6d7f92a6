#include "ui/win32/control_adapter.h"

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "ui/win32/controls.h"

namespace {

class PushButton final : public ControlAdapter {
 public:
  using ControlAdapter::ControlAdapter;
  std::optional<EventKind> eventOf(int code) const override {
    return code == BN_CLICKED ? std::optional(EventKind::Clicked) : std::nullopt;
  }
};

class CheckControl final : public ControlAdapter {
 public:
  using ControlAdapter::ControlAdapter;
  int state() const override { return CheckBox{hwnd_}.checked() ? 1 : 0; }
  void setState(int value) override { CheckBox{hwnd_}.check(value != 0); }
  std::optional<EventKind> eventOf(int code) const override {
    return code == BN_CLICKED ? std::optional(EventKind::Clicked) : std::nullopt;
  }
};

class FieldControl final : public ControlAdapter {
 public:
  using ControlAdapter::ControlAdapter;
  void setText(std::string_view text) override {
    const EditField field{hwnd_};
    // Rewriting a field lays its text out again, which is slow on some
    // systems: a field that already shows the text is left as it is.
    const std::wstring wanted = Widen(text);
    if (field.text() == wanted) return;
    field.setText(wanted);
    // A field rewritten while the user types keeps the caret at its end.
    field.select(field.length(), field.length());
  }
  std::optional<EventKind> eventOf(int code) const override {
    if (code == EN_CHANGE) return EventKind::TextChanged;
    if (code == EN_KILLFOCUS) return EventKind::FocusLost;
    return std::nullopt;
  }
};

// A drop-down list; an editable one keeps a text that no entry may equal.
class ListControl final : public ControlAdapter {
 public:
  ListControl(HWND hwnd, bool editable) : ControlAdapter(hwnd), editable_(editable) {}

  std::string text() const override {
    if (editable_) return ControlAdapter::text();
    const ComboBox list{hwnd_};
    const int selected = list.selection();
    return selected >= 0 ? Narrow(list.item(selected)) : std::string();
  }
  void setText(std::string_view text) override {
    const ComboBox list{hwnd_};
    const std::wstring wanted = Widen(text);
    int found = -1;
    for (int i = 0, n = list.count(); i < n && found < 0; ++i)
      if (list.item(i) == wanted) found = i;
    list.select(found);
    if (editable_ && found < 0) SetWindowTextW(hwnd_, wanted.c_str());
  }
  int state() const override { return ComboBox{hwnd_}.selection(); }
  void setState(int value) override {
    const ComboBox list{hwnd_};
    list.select(value >= 0 && value < list.count() ? value : -1);
  }
  int itemCount() const override { return ComboBox{hwnd_}.count(); }
  std::string item(int index) const override { return Narrow(ComboBox{hwnd_}.item(index)); }
  void insertItem(int index, std::string_view text) override {
    const ComboBox list{hwnd_};
    list.insert(index < 0 || index > list.count() ? -1 : index, Widen(text));
  }
  void removeItem(int index) override { ComboBox{hwnd_}.remove(index); }
  void clearItems() override { ComboBox{hwnd_}.clear(); }
  std::optional<EventKind> eventOf(int code) const override {
    if (code == CBN_SELCHANGE) return EventKind::SelectionChanged;
    if (editable_ && code == CBN_EDITCHANGE) return EventKind::TextChanged;
    return std::nullopt;
  }

 private:
  bool editable_;
};

// The job list: one selection, and as wide as its widest line, so that a
// long line can be scrolled sideways.
class JobListControl final : public ControlAdapter {
 public:
  JobListControl(HWND hwnd, int padding) : ControlAdapter(hwnd), padding_(padding) {}

  std::string text() const override {
    const ListBox list{hwnd_};
    const int selected = list.selection();
    return selected >= 0 ? Narrow(list.item(selected)) : std::string();
  }
  void setText(std::string_view text) override {
    const ListBox list{hwnd_};
    const std::wstring wanted = Widen(text);
    int found = -1;
    for (int i = 0, n = list.count(); i < n && found < 0; ++i)
      if (list.item(i) == wanted) found = i;
    list.select(found);
  }
  int state() const override { return ListBox{hwnd_}.selection(); }
  void setState(int value) override {
    const ListBox list{hwnd_};
    list.select(value >= 0 && value < list.count() ? value : -1);
  }
  int itemCount() const override { return ListBox{hwnd_}.count(); }
  std::string item(int index) const override { return Narrow(ListBox{hwnd_}.item(index)); }
  void insertItem(int index, std::string_view text) override {
    const ListBox list{hwnd_};
    const std::wstring wide = Widen(text);
    list.insert(index < 0 || index > list.count() ? -1 : index, wide);
    widenFor(wide);
  }
  void removeItem(int index) override { ListBox{hwnd_}.remove(index); }
  void clearItems() override {
    const ListBox list{hwnd_};
    list.clear();
    extent_ = 0;
    longest_ = 0;
    list.setHorizontalExtent(0);
  }
  std::optional<EventKind> eventOf(int code) const override {
    return code == LBN_SELCHANGE ? std::optional(EventKind::SelectionChanged) : std::nullopt;
  }

 private:
  void widenFor(const std::wstring& line) {
    // Measuring every line costs a device context; a line much shorter than
    // the longest so far cannot be the widest.
    if (line.size() * 4 < longest_ * 3) return;
    longest_ = std::max(longest_, line.size());
    HDC dc = GetDC(hwnd_);
    if (!dc) return;
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    if (size.cx + padding_ > extent_) {
      extent_ = size.cx + padding_;
      ListBox{hwnd_}.setHorizontalExtent(extent_);
    }
  }

  int padding_;
  int extent_ = 0;
  size_t longest_ = 0;
};

class TrackControl final : public ControlAdapter {
 public:
  TrackControl(HWND hwnd, int highest) : ControlAdapter(hwnd), highest_(highest) {}
  std::string text() const override { return {}; }
  void setText(std::string_view) override {}
  int state() const override { return TrackBar{hwnd_}.position(); }
  void setState(int value) override { TrackBar{hwnd_}.setPosition(std::clamp(value, 0, highest_)); }

 private:
  int highest_;
};

}  // namespace

std::string ControlAdapter::text() const { return Narrow(WindowText(hwnd_)); }

void ControlAdapter::setText(std::string_view text) {
  const std::wstring wanted = Widen(text);
  if (WindowText(hwnd_) != wanted) SetWindowTextW(hwnd_, wanted.c_str());
}

std::unique_ptr<ControlAdapter> AdapterFor(const ControlSpec& row, HWND hwnd, int listPadding) {
  switch (row.kind) {
    case ControlKind::Button:
      return std::make_unique<PushButton>(hwnd);
    case ControlKind::Check:
      return std::make_unique<CheckControl>(hwnd);
    case ControlKind::Field:
    case ControlKind::Digits:
      return std::make_unique<FieldControl>(hwnd);
    case ControlKind::List:
    case ControlKind::EditList:
      return std::make_unique<ListControl>(hwnd, row.kind == ControlKind::EditList);
    case ControlKind::ListBox:
      return std::make_unique<JobListControl>(hwnd, listPadding);
    case ControlKind::Track:
      return std::make_unique<TrackControl>(hwnd, row.trackMax);
    default:  // labels, frames, the picture
      return std::make_unique<ControlAdapter>(hwnd);
  }
}
