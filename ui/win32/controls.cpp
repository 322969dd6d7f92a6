#include "ui/win32/controls.h"

#include <commctrl.h>

#include <algorithm>

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

void ComboBox::setDroppedWidth(int pixels) const {
  SendMessageW(hwnd, CB_SETDROPPEDWIDTH, pixels, 0);
}

void ListBox::setHorizontalExtent(int pixels) const {
  SendMessageW(hwnd, LB_SETHORIZONTALEXTENT, pixels, 0);
}

int TrackBar::position() const { return static_cast<int>(SendMessageW(hwnd, TBM_GETPOS, 0, 0)); }
void TrackBar::setPosition(int position) const { SendMessageW(hwnd, TBM_SETPOS, TRUE, position); }
void TrackBar::setRange(int lowest, int highest) const {
  SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, lowest);
  SendMessageW(hwnd, TBM_SETRANGEMAX, TRUE, highest);
}
