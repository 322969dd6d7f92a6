#pragma once

#include <windows.h>

#include <string>

// Thin wrappers of the standard controls: the handle and one small method per
// message, nothing held of their own.

struct CheckBox {
  HWND hwnd;
  bool checked() const;
  void check(bool on) const;
};

struct EditField {
  HWND hwnd;
  std::wstring text() const;
  void setText(const std::wstring& text) const;
  int length() const;
  void select(int from, int to) const;
  void limitText(int characters) const;
};

// A drop-down list and a list box hold entries and take the same requests,
// each under its own message numbers.
struct EntryMessages {
  UINT getSelection, setSelection, count, textLength, text, insert, remove, reset;
  LRESULT error;
};
inline constexpr EntryMessages kComboBoxMessages{CB_GETCURSEL,    CB_SETCURSEL,    CB_GETCOUNT,
                                                 CB_GETLBTEXTLEN, CB_GETLBTEXT,    CB_INSERTSTRING,
                                                 CB_DELETESTRING, CB_RESETCONTENT, CB_ERR};
inline constexpr EntryMessages kListBoxMessages{LB_GETCURSEL,    LB_SETCURSEL,    LB_GETCOUNT,
                                                LB_GETTEXTLEN,   LB_GETTEXT,      LB_INSERTSTRING,
                                                LB_DELETESTRING, LB_RESETCONTENT, LB_ERR};

template <const EntryMessages& M>
struct EntryControl {
  HWND hwnd;
  int selection() const { return static_cast<int>(SendMessageW(hwnd, M.getSelection, 0, 0)); }
  void select(int index) const { SendMessageW(hwnd, M.setSelection, index, 0); }
  int count() const {
    const LRESULT n = SendMessageW(hwnd, M.count, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
  }
  std::wstring item(int index) const {
    LRESULT n = SendMessageW(hwnd, M.textLength, index, 0);
    if (n == M.error) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = SendMessageW(hwnd, M.text, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(n == M.error ? 0 : static_cast<size_t>(n));
    return text;
  }
  void insert(int index, const std::wstring& text) const {
    SendMessageW(hwnd, M.insert, index, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void remove(int index) const { SendMessageW(hwnd, M.remove, index, 0); }
  void clear() const { SendMessageW(hwnd, M.reset, 0, 0); }
};

struct ComboBox : EntryControl<kComboBoxMessages> {
  // How wide the list opens; the control opens it no narrower than itself.
  void setDroppedWidth(int pixels) const;
};

struct ListBox : EntryControl<kListBoxMessages> {
  void setHorizontalExtent(int pixels) const;
};

struct TrackBar {
  HWND hwnd;
  int position() const;
  void setPosition(int position) const;
  void setRange(int lowest, int highest) const;
};

// The text a window shows (the caption of a label or button, a field's text).
std::wstring WindowText(HWND hwnd);
