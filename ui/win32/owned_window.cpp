#include "ui/win32/owned_window.h"

#include <exception>
#include <string>

#include "platform/win32/wide_text.h"

namespace {

// Tells the user that what a message asked for failed, once at a time: the
// box runs messages of its own, which may fail again meanwhile.
void ReportFailure(HWND hwnd, const char* what) {
  static bool reporting = false;
  if (reporting) return;
  reporting = true;
  const std::wstring text =
      L"quorvel could not finish what it was doing:\n\n" + Widen(what ? what : "unknown failure");
  MessageBoxW(GetAncestor(hwnd, GA_ROOT), text.c_str(), L"quorvel", MB_OK | MB_ICONERROR);
  reporting = false;
}

}  // namespace

LRESULT CALLBACK OwnedWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<OwnedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  try {
    return self->handleMessage(hwnd, message, wParam, lParam);
  } catch (const std::exception& failure) {
    ReportFailure(hwnd, failure.what());
  } catch (...) {
    ReportFailure(hwnd, nullptr);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
