#include "ui/win32/controls.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// An entry of a list, read by its length and text messages.
std::wstring Entry(HWND hwnd, UINT lengthMessage, UINT textMessage, int index, LRESULT error) {
  LRESULT n = SendMessageW(hwnd, lengthMessage, index, 0);
  if (n == error) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(hwnd, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(n == error ? 0 : static_cast<size_t>(n));
  return text;
}

int Count(HWND hwnd, UINT message) {
  const LRESULT n = SendMessageW(hwnd, message, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<size_t>(std::max(n, 0)));
  return text;
}

bool CheckBox::checked() const { return SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void CheckBox::check(bool on) const {
  SendMessageW(hwnd, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::wstring EditField::text() const { return WindowText(hwnd); }
void EditField::setText(const std::wstring& text) const { SetWindowTextW(hwnd, text.c_str()); }
int EditField::length() const { return GetWindowTextLengthW(hwnd); }
void EditField::select(int from, int to) const { SendMessageW(hwnd, EM_SETSEL, from, to); }
void EditField::limitText(int characters) const {
  SendMessageW(hwnd, EM_SETLIMITTEXT, characters, 0);
}

int ComboBox::selection() const { return static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)); }
void ComboBox::select(int index) const { SendMessageW(hwnd, CB_SETCURSEL, index, 0); }
int ComboBox::count() const { return Count(hwnd, CB_GETCOUNT); }
std::wstring ComboBox::item(int index) const {
  return Entry(hwnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, CB_ERR);
}
void ComboBox::insert(int index, const std::wstring& text) const {
  SendMessageW(hwnd, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
}
void ComboBox::remove(int index) const { SendMessageW(hwnd, CB_DELETESTRING, index, 0); }
void ComboBox::clear() const { SendMessageW(hwnd, CB_RESETCONTENT, 0, 0); }

int ListBox::selection() const { return static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0)); }
void ListBox::select(int index) const { SendMessageW(hwnd, LB_SETCURSEL, index, 0); }
int ListBox::count() const { return Count(hwnd, LB_GETCOUNT); }
std::wstring ListBox::item(int index) const {
  return Entry(hwnd, LB_GETTEXTLEN, LB_GETTEXT, index, LB_ERR);
}
void ListBox::insert(int index, const std::wstring& text) const {
  SendMessageW(hwnd, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
}
void ListBox::remove(int index) const { SendMessageW(hwnd, LB_DELETESTRING, index, 0); }
void ListBox::clear() const { SendMessageW(hwnd, LB_RESETCONTENT, 0, 0); }
void ListBox::setHorizontalExtent(int pixels) const {
  SendMessageW(hwnd, LB_SETHORIZONTALEXTENT, pixels, 0);
}

int TrackBar::position() const { return static_cast<int>(SendMessageW(hwnd, TBM_GETPOS, 0, 0)); }
void TrackBar::setPosition(int position) const { SendMessageW(hwnd, TBM_SETPOS, TRUE, position); }
void TrackBar::setRange(int lowest, int highest) const {
  SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, lowest);
  SendMessageW(hwnd, TBM_SETRANGEMAX, TRUE, highest);
}
