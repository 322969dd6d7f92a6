// The keys the main window answers itself, before the dialog manager moves
// the focus among its controls: Enter on a push button, the keys that turn
// the pages, and Tab on the tab control; and the control that has the
// keyboard when the user leaves the window, which has it again on return.
#include <windows.h>

#include <commctrl.h>

#include "ui/win32/win32_window.h"

namespace {

bool Held(int key) { return GetKeyState(key) < 0; }

bool IsPushButton(HWND hwnd) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  const LONG type = GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
  return _wcsicmp(name, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// The pages a key held with Ctrl turns, as in every dialog with tabs: Tab
// and Page Down to the next, Shift+Tab and Page Up to the one before; 0 for
// another key.
int PageStepOf(WPARAM key) {
  switch (key) {
    case VK_TAB:
      return Held(VK_SHIFT) ? -1 : 1;
    case VK_NEXT:
      return 1;
    case VK_PRIOR:
      return -1;
  }
  return 0;
}

// Moves the focus to a control as Tab does: a field's text is selected.
void FocusStop(HWND control) {
  if (!control) return;
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageW(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

}  // namespace

bool Win32Window::answerKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  const WPARAM key = message.wParam;
  if (key == VK_RETURN && IsPushButton(message.hwnd)) {
    // Enter presses the focused push button, as in a dialog.
    SendMessageW(message.hwnd, BM_CLICK, 0, 0);
    return true;
  }
  if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
  if (Held(VK_CONTROL)) {
    const int step = PageStepOf(key);
    // A control that wants the key keeps it.
    if (step == 0 ||
        (SendMessageW(message.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&message)) &
         DLGC_WANTMESSAGE))
      return false;
    turnPage(step);
    return true;
  }
  if (key == VK_TAB && message.hwnd == tabs_ && !Held(VK_SHIFT)) {
    // The tab control, which a click on a tab focuses, leads the tab order:
    // Tab goes on to the first control of the shown page, where the dialog
    // manager would go on to the tab control's next sibling below the panel
    // and pass the page over. (Shift+Tab goes back round to the window's
    // last control, as the dialog manager has it.)
    FocusStop(GetNextDlgTabItem(hwnd_, nullptr, FALSE));
    return true;
  }
  return false;
}

void Win32Window::turnPage(int step) {
  const int shown = static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
  const int next = ((shown + step) % kPageCount + kPageCount) % kPageCount;
  // Chosen as a click on its tab chooses it: the tab control reports the
  // change, and the page shows.
  SendMessageW(tabs_, TCM_SETCURFOCUS, next, 0);
  // A focus left on a control of the page now hidden goes to the tab
  // control, where the click would have put it.
  HWND focus = GetFocus();
  if (focus && !IsWindowVisible(focus)) SetFocus(tabs_);
}

void Win32Window::keepFocus() {
  if (HWND focus = GetFocus(); focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

bool Win32Window::giveFocusBack() {
  if (!lastFocus_ || !IsChild(hwnd_, lastFocus_) || !IsWindowVisible(lastFocus_) ||
      !IsWindowEnabled(lastFocus_))
    return false;
  SetFocus(lastFocus_);
  return true;
}
