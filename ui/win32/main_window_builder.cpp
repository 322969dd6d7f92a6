// Building the main window: its class, the tab control with its five
// pages, every control of the control table with its font and adapter, and
// the tool tips once the window is on screen.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/win32/wide_text.h"
#include "ui/win32/control_class.h"
#include "ui/win32/controls.h"
#include "ui/win32/win32_window.h"
#include "ui/win32/window_constants.h"

using namespace window_constants;

namespace {

void RegisterClasses(HINSTANCE instance, WNDPROC mainProc, WNDPROC pageProc) {
  WNDCLASSEXW main{};
  main.cbSize = sizeof main;
  main.lpfnWndProc = mainProc;
  main.hInstance = instance;
  main.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  main.hIconSm = main.hIcon;
  main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  main.lpszClassName = kMainClass;
  RegisterClassExW(&main);  // fails harmlessly when a second window registers again

  WNDCLASSEXW page{};
  page.cbSize = sizeof page;
  page.lpfnWndProc = pageProc;
  page.hInstance = instance;
  page.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  page.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  page.lpszClassName = kPageClass;
  RegisterClassExW(&page);
}

}  // namespace

Win32Window::Win32Window(HINSTANCE instance, HBITMAP banner)
    : instance_(instance), banner_(banner) {
  RegisterClasses(instance, &OwnedWindow::Procedure, &Win32Window::PageProcedure);
  HDC screen = GetDC(nullptr);
  dpi_ = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  if (dpi_ <= 0) dpi_ = 96;

  RECT frame{0, 0, scale(kClientWidth), scale(kClientHeight)};
  AdjustWindowRectEx(&frame, kMainStyle, FALSE, 0);
  CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES, kMainClass, L"quorvel", kMainStyle, 0, 0,
                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                  static_cast<OwnedWindow*>(this));
  if (!hwnd_)
    throw std::runtime_error("the main window cannot be created (error " +
                             std::to_string(GetLastError()) + ")");
  // Keep the client area exactly as laid out, whatever the frame metrics.
  RECT client{};
  GetClientRect(hwnd_, &client);
  int dw = scale(kClientWidth) - (client.right - client.left);
  int dh = scale(kClientHeight) - (client.bottom - client.top);
  if (dw != 0 || dh != 0) {
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  Mute mute(*this);
  try {
    createFonts();
    // Tab walks the children in the order they are made: the tab control
    // first, and in it the shown page, then the controls below the panel.
    createTabs();
    createControls();
  } catch (...) {
    // The destructor will not run: take the half-built window down here.
    quitOnDestroy_ = false;
    DestroyWindow(hwnd_);
    throw;
  }
  selectPage(0);
  // Which x264 the jobs are written for, how the last batch went, and the
  // steering of the batches are offered in the system menu, where they move
  // no control and change no caption. Each entry has an access key of its
  // own beside those of the standard entries (R, M, S, N, X, C).
  if (HMENU system = GetSystemMenu(hwnd_, FALSE)) {
    AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(system, MF_STRING, kEncoderInfoCommand, L"x264 &for the jobs...");
    AppendMenuW(system, MF_STRING, kLastBatchCommand, L"&Last batch\u2026");
    AppendMenuW(system, MF_STRING, kPauseCommand, L"&Pause batch");
    AppendMenuW(system, MF_STRING, kStopAfterJobCommand, L"S&top after this job");
    AppendMenuW(system, MF_STRING, kStopNowCommand, L"St&op now");
    // As many jobs at once as the machine has logical processors, at most 16.
    SYSTEM_INFO system_info{};
    GetSystemInfo(&system_info);
    const int most =
        std::clamp(static_cast<int>(system_info.dwNumberOfProcessors), 1, kMostJobsAtOnce);
    HMENU jobs = CreatePopupMenu();
    for (int n = 1; n <= most; ++n)
      AppendMenuW(jobs, MF_STRING, JobsAtOnceCommand(n), (L"&" + std::to_wstring(n)).c_str());
    AppendMenuW(system, MF_POPUP, reinterpret_cast<UINT_PTR>(jobs), L"&Jobs at once");
  }
}

Win32Window::~Win32Window() {
  events_ = nullptr;
  // Only a closed window ends the event loop; an object going away does not.
  quitOnDestroy_ = false;
  if (hwnd_) DestroyWindow(hwnd_);
}

void Win32Window::show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  // What nothing on screen needs waits until the window is there.
  endStartUp();
  finishPages();
  PostMessageW(hwnd_, kMakeToolTips, 0, 0);
}

namespace {

// A list box the program draws has its lines as high as its font's.
void FitLinesToFont(HWND control, HFONT font) {
  if ((GetWindowLongW(control, GWL_STYLE) & LBS_OWNERDRAWFIXED) == 0) return;
  wchar_t name[16] = {};
  if (!GetClassNameW(control, name, 16) || _wcsicmp(name, L"ListBox") != 0) return;
  HDC dc = GetDC(control);
  if (!dc) return;
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  SendMessageW(control, LB_SETITEMHEIGHT, 0, metrics.tmHeight + 2);
}

}  // namespace

void Win32Window::finishPages() {
  for (const auto& [child, font] : pendingFonts_) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    FitLinesToFont(child, font);
  }
  pendingFonts_.clear();
  catchUpAll();
}

HWND Win32Window::toolTips() {
  createToolTips();
  return tips_;
}

void Win32Window::createFonts() {
  LOGFONTW tahoma{};
  tahoma.lfHeight = -MulDiv(8, dpi_, 72);
  tahoma.lfWeight = FW_NORMAL;
  tahoma.lfCharSet = DEFAULT_CHARSET;
  tahoma.lfQuality = DEFAULT_QUALITY;
  wcscpy_s(tahoma.lfFaceName, L"Tahoma");
  tahoma_.reset(CreateFontIndirectW(&tahoma));

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    dialogFont_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
  else
    dialogFont_.reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

void Win32Window::createTabs() {
  tabs_ = CreateWindowExW(WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"",
                          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, 0,
                          0, scale(kTabWidth), scale(kTabHeight), hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabControlId)), instance_,
                          nullptr);
  if (!tabs_) throw std::runtime_error("the tab control cannot be created");
  // Before the font and the tabs: the control lays its tabs out with them.
  SendMessageW(tabs_, TCM_SETPADDING, 0, MAKELPARAM(scale(kTabPaddingX), kTabPaddingY));
  SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(tahoma_.get()), FALSE);
  int index = 0;
  for (std::string_view caption : PageCaptions()) {
    std::wstring text = Widen(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(tabs_, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
  }
  RECT inner{};
  GetClientRect(tabs_, &inner);
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inner));
  for (int i = 0; i < kPageCount; ++i) {
    pages_[i] = CreateWindowExW(
        WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, inner.left, inner.top,
        inner.right - inner.left, inner.bottom - inner.top, tabs_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstPageId + i)), instance_, nullptr);
    if (!pages_[i]) throw std::runtime_error("a tab page cannot be created");
  }
}

HFONT Win32Window::fontOf(const ControlSpec& row) const {
  return row.systemFont ? dialogFont_.get() : tahoma_.get();
}

HWND Win32Window::createControl(const ControlSpec& row) {
  const ControlClass made = ClassOfControl(row);
  HWND parent = row.page == Page::Outside ? hwnd_ : pages_[static_cast<int>(row.page) - 1];
  int id = row.id == cid::none ? kAudioFrameId : row.id;
  std::wstring caption = row.kind == ControlKind::Picture ? std::wstring() : Widen(row.caption);
  HWND child =
      CreateWindowExW(made.exStyle, made.name, caption.c_str(), made.style, scale(row.x),
                      scale(row.y), scale(row.w), scale(made.height), parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (!child) throw std::runtime_error("a control cannot be created");
  HFONT font = fontOf(row);
  // The controls of the pages behind the first get their font once the
  // window is on screen: nothing shows them before.
  if (row.page == Page::Outside || row.page == Page::Bitrate) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    FitLinesToFont(child, font);
  } else
    pendingFonts_.emplace_back(child, font);
  if (row.maxLength > 0) EditField{child}.limitText(row.maxLength);
  if (row.kind == ControlKind::Track) TrackBar{child}.setRange(0, row.trackMax);
  if (row.kind == ControlKind::Picture && banner_)
    SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_));
  if (row.startsDisabled) EnableWindow(child, FALSE);
  if (row.startsTicked) CheckBox{child}.check(true);
  return child;
}

void Win32Window::createControls() {
  for (const ControlSpec& row : ControlTable()) {
    HWND child = createControl(row);
    if (row.id == cid::none) continue;
    if (static_cast<size_t>(row.id) >= adapters_.size()) {
      adapters_.resize(row.id + 1);
      behindFirstPage_.resize(row.id + 1);
    }
    adapters_[row.id] = AdapterFor(row, child, fontOf(row), scale(8));
    behindFirstPage_[row.id] = row.page != Page::Outside && row.page != Page::Bitrate;
  }
}

void Win32Window::createToolTips() {
  if (tipsMade_) return;
  tipsMade_ = true;
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
  if (!tips_) return;  // the window works without tool tips
  SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, scale(300));
  for (const ControlSpec& row : ControlTable()) {
    if (row.toolTip.empty() || row.id == cid::none) continue;
    HWND child = adapters_[row.id]->hwnd();
    std::wstring tip = Widen(row.toolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(child);
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.lpszText = tip.data();
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // The text part of an editable list is a window of its own.
    if (row.kind == ControlKind::EditList) {
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (GetComboBoxInfo(child, &info) && info.hwndItem) {
        tool.hwnd = child;
        tool.uId = reinterpret_cast<UINT_PTR>(info.hwndItem);
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
      }
    }
  }
}

void Win32Window::selectPage(int index) {
  if (index != 0) finishPages();
  for (int i = 0; i < kPageCount; ++i) ShowWindow(pages_[i], i == index ? SW_SHOW : SW_HIDE);
}
