#pragma once

#include <windows.h>

// Base of the windows the program owns. The object pointer travels in the
// creation parameter and is kept in GWLP_USERDATA from WM_NCCREATE on; no
// exception ever leaves the window procedure: one that stops there is shown
// to the user in a message box.
class OwnedWindow {
 public:
  virtual ~OwnedWindow() = default;

 protected:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};
