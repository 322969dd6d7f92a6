// floorwin.exe: the floor of quorvel's start-up. The same window with the
// same controls (classes, places and captions, from the same control
// table), built and shown, and nothing else: no fonts, no tool tips, no
// settings, no files. The start-up benchmark compares quorvel.exe with it.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/control_table.h"
#include "ui/win32/control_class.h"

namespace {

std::wstring Wide(std::string_view text) {
  std::wstring wide(text.size() * 2 + 1, L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return wide;
}

LRESULT CALLBACK MainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Create(const ControlSpec& row, HWND parent) {
  const ControlClass made = ClassOfControl(row);
  const std::wstring caption = row.kind == ControlKind::Picture ? L"" : Wide(row.caption);
  CreateWindowExW(made.exStyle, made.name, caption.c_str(), made.style, row.x, row.y, row.w,
                  made.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                  GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW main{};
  main.cbSize = sizeof main;
  main.lpfnWndProc = MainProcedure;
  main.hInstance = instance;
  main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  main.lpszClassName = L"quorvelFloor";
  RegisterClassExW(&main);
  WNDCLASSEXW page = main;
  page.lpfnWndProc = DefWindowProcW;
  page.lpszClassName = L"quorvelFloorPage";
  RegisterClassExW(&page);

  RECT frame{0, 0, 308, 440};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  HWND window =
      CreateWindowExW(0, L"quorvelFloor", L"quorvel", style, 0, 0, frame.right - frame.left,
                      frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              310, 405, window, nullptr, instance, nullptr);
  HWND pages[kPageCount] = {};
  int index = 0;
  for (std::string_view caption : PageCaptions()) {
    std::wstring text = Wide(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(tabs, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    pages[index] =
        CreateWindowExW(0, L"quorvelFloorPage", L"", WS_CHILD | (index == 0 ? WS_VISIBLE : 0), 2,
                        24, 304, 378, tabs, nullptr, instance, nullptr);
    ++index;
  }
  for (const ControlSpec& row : ControlTable())
    Create(row, row.page == Page::Outside ? window : pages[static_cast<int>(row.page) - 1]);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
