#include "ui/win32/control_adapter.h"

#include <algorithm>
#include <vector>

#include "platform/win32/wide_text.h"
#include "ui/win32/controls.h"
#include "ui/win32/text_measure.h"

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

// A control of entries, one of them selected: what a drop-down list and a
// list box share, over the wrapper `List` of either.
template <class List>
class ItemsControl : public ControlAdapter {
 public:
  using ControlAdapter::ControlAdapter;

  std::string text() const override {
    const List list{hwnd_};
    const int selected = list.selection();
    return selected >= 0 ? Narrow(list.item(selected)) : std::string();
  }
  // Selects the entry that reads exactly the text (the controls' own search
  // ignores case), or none.
  void setText(std::string_view text) override { selectExactly(Widen(text)); }
  int state() const override { return List{hwnd_}.selection(); }
  void setState(int value) override {
    const List list{hwnd_};
    list.select(value >= 0 && value < list.count() ? value : -1);
  }
  int itemCount() const override { return List{hwnd_}.count(); }
  std::string item(int index) const override { return Narrow(List{hwnd_}.item(index)); }
  void insertItem(int index, std::string_view text) override { insertWide(index, Widen(text)); }
  void removeItem(int index) override { List{hwnd_}.remove(index); }
  void clearItems() override { List{hwnd_}.clear(); }

 protected:
  bool selectExactly(const std::wstring& wanted) const {
    const List list{hwnd_};
    int found = -1;
    for (int i = 0, n = list.count(); i < n && found < 0; ++i)
      if (list.item(i) == wanted) found = i;
    list.select(found);
    return found >= 0;
  }
  // An index beyond the entries adds at the end.
  void insertWide(int index, const std::wstring& text) const {
    const List list{hwnd_};
    list.insert(index < 0 || index > list.count() ? -1 : index, text);
  }
};

// A drop-down list; an editable one keeps a text that no entry may equal.
// It opens wide enough to show its widest entry in full, beside its scroll
// bar; a removed entry leaves it as wide as it was.
class ListControl final : public ItemsControl<ComboBox> {
 public:
  ListControl(HWND hwnd, bool editable, HFONT font, int padding)
      : ItemsControl(hwnd),
        editable_(editable),
        font_(font),
        room_(padding + GetSystemMetrics(SM_CXVSCROLL)) {}

  std::string text() const override {
    return editable_ ? ControlAdapter::text() : ItemsControl::text();
  }
  void setText(std::string_view text) override {
    const std::wstring wanted = Widen(text);
    if (!selectExactly(wanted) && editable_) SetWindowTextW(hwnd_, wanted.c_str());
  }
  void insertItem(int index, std::string_view text) override {
    const std::wstring wide = Widen(text);
    insertWide(index, wide);
    const int width = TextMeasure(hwnd_, font_).width(wide) + room_;
    if (width > dropped_) openAs(width);
  }
  void clearItems() override {
    ItemsControl::clearItems();
    openAs(0);
  }
  std::optional<EventKind> eventOf(int code) const override {
    if (code == CBN_SELCHANGE) return EventKind::SelectionChanged;
    if (editable_ && code == CBN_EDITCHANGE) return EventKind::TextChanged;
    return std::nullopt;
  }

 private:
  // The list opens `width` wide, or as wide as the control when that is
  // wider. (Wine keeps the width it had when asked for 0.)
  void openAs(int width) {
    RECT own{};
    GetWindowRect(hwnd_, &own);
    dropped_ = width;
    ComboBox{hwnd_}.setDroppedWidth(std::max(width, static_cast<int>(own.right - own.left)));
  }

  bool editable_;
  HFONT font_;
  int room_;  // beside the text: the scroll bar and the padding
  int dropped_ = 0;
};

// The job list: one selection, and as wide as its widest line, so that a
// long line can be scrolled sideways. It draws its lines itself, with a note
// beside a line (a job's state) in the colour of grey text.
class JobListControl final : public ItemsControl<ListBox> {
 public:
  JobListControl(HWND hwnd, HFONT font, int padding)
      : ItemsControl(hwnd), font_(font), padding_(padding) {}

  void insertItem(int index, std::string_view text) override {
    const std::wstring wide = Widen(text);
    const int count = ListBox{hwnd_}.count();
    insertWide(index, wide);
    notes_.insert(notes_.begin() + (index < 0 || index > count ? count : index), std::wstring());
    widenFor(wide);
  }
  void removeItem(int index) override {
    ItemsControl::removeItem(index);
    if (index >= 0 && static_cast<size_t>(index) < notes_.size())
      notes_.erase(notes_.begin() + index);
  }
  void clearItems() override {
    ItemsControl::clearItems();
    notes_.clear();
    extent_ = 0;
    longest_ = 0;
    ListBox{hwnd_}.setHorizontalExtent(0);
  }
  void setNote(int index, std::string_view note) override {
    if (index < 0 || static_cast<size_t>(index) >= notes_.size()) return;
    std::wstring wide = Widen(note);
    if (notes_[index] == wide) return;
    notes_[index] = std::move(wide);
    RECT item{};
    if (SendMessageW(hwnd_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR)
      InvalidateRect(hwnd_, &item, TRUE);
  }
  bool draw(const DRAWITEMSTRUCT& item) override {
    if (item.itemID == static_cast<UINT>(-1)) {
      if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
      return true;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const HGDIOBJ old =
        SelectObject(item.hDC, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring line = ListBox{hwnd_}.item(static_cast<int>(item.itemID));
    RECT text = item.rcItem;
    text.left += 2;
    constexpr UINT kFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS;
    DrawTextW(item.hDC, line.c_str(), static_cast<int>(line.size()), &text, kFormat);
    const std::wstring& note = item.itemID < notes_.size() ? notes_[item.itemID] : std::wstring();
    if (!note.empty()) {
      RECT measured = text;
      DrawTextW(item.hDC, line.c_str(), static_cast<int>(line.size()), &measured,
                kFormat | DT_CALCRECT);
      RECT beside = text;
      beside.left = measured.right + padding_ * 2;
      SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
      DrawTextW(item.hDC, note.c_str(), static_cast<int>(note.size()), &beside, kFormat);
    }
    SelectObject(item.hDC, old);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
    return true;
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
    const int width = TextMeasure(hwnd_, font_).width(line) + padding_;
    if (width > extent_) {
      extent_ = width;
      ListBox{hwnd_}.setHorizontalExtent(extent_);
    }
  }

  HFONT font_;
  int padding_;
  int extent_ = 0;
  size_t longest_ = 0;
  std::vector<std::wstring> notes_;  // beside each line
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

std::unique_ptr<ControlAdapter> AdapterFor(const ControlSpec& row, HWND hwnd, HFONT font,
                                           int listPadding) {
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
      return std::make_unique<ListControl>(hwnd, row.kind == ControlKind::EditList, font,
                                           listPadding);
    case ControlKind::ListBox:
      return std::make_unique<JobListControl>(hwnd, font, listPadding);
    case ControlKind::Track:
      return std::make_unique<TrackControl>(hwnd, row.trackMax);
    default:  // labels, frames, the picture
      return std::make_unique<ControlAdapter>(hwnd);
  }
}
