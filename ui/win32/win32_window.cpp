#include "ui/win32/win32_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "platform/win32/wide_text.h"
#include "ui/win32/control_class.h"

namespace {

constexpr wchar_t kMainClass[] = L"quorvelMain";
constexpr wchar_t kPageClass[] = L"quorvelPage";
constexpr int kClientWidth = 308;
constexpr int kClientHeight = 440;
constexpr int kTabWidth = 310;
constexpr int kTabHeight = 405;
constexpr UINT kDeferredSelection = WM_APP + 1;
constexpr UINT kMakeToolTips = WM_APP + 2;
constexpr UINT kRunPosted = WM_APP + 3;
// The item of the system menu that tells which x264 the jobs are written for.
constexpr UINT kEncoderInfoCommand = 0x0010;
constexpr DWORD kMainStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

bool IsCombo(ControlKind kind) {
  return kind == ControlKind::List || kind == ControlKind::EditList;
}
bool IsEdit(ControlKind kind) { return kind == ControlKind::Field || kind == ControlKind::Digits; }

std::optional<EventKind> Translate(ControlKind kind, int code) {
  switch (kind) {
    case ControlKind::Button:
    case ControlKind::Check:
      if (code == BN_CLICKED) return EventKind::Clicked;
      break;
    case ControlKind::Field:
    case ControlKind::Digits:
      if (code == EN_CHANGE) return EventKind::TextChanged;
      if (code == EN_KILLFOCUS) return EventKind::FocusLost;
      break;
    case ControlKind::List:
      if (code == CBN_SELCHANGE) return EventKind::SelectionChanged;
      break;
    case ControlKind::EditList:
      if (code == CBN_SELCHANGE) return EventKind::SelectionChanged;
      if (code == CBN_EDITCHANGE) return EventKind::TextChanged;
      break;
    case ControlKind::ListBox:
      if (code == LBN_SELCHANGE) return EventKind::SelectionChanged;
      break;
    default:
      break;
  }
  return std::nullopt;
}

std::wstring WindowTextOf(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<size_t>(std::max(n, 0)));
  return text;
}

std::wstring ComboItem(HWND combo, int index) {
  LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (n == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(n == CB_ERR ? 0 : static_cast<size_t>(n));
  return text;
}

std::wstring ListBoxItem(HWND list, int index) {
  LRESULT n = SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (n == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
  return text;
}

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
    createTabs();
    createControls();
  } catch (...) {
    // The destructor will not run: take the half-built window down here.
    quitOnDestroy_ = false;
    DestroyWindow(hwnd_);
    throw;
  }
  selectPage(0);
  // Which x264 the jobs are written for is told from the system menu, where
  // it moves no control and changes no caption.
  if (HMENU system = GetSystemMenu(hwnd_, FALSE)) {
    AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(system, MF_STRING, kEncoderInfoCommand, L"x264 for the jobs...");
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
  finishPages();
  PostMessageW(hwnd_, kMakeToolTips, 0, 0);
}

void Win32Window::finishPages() {
  for (const auto& [child, font] : pendingFonts_)
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  pendingFonts_.clear();
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
  HFONT font = row.systemFont ? dialogFont_.get() : tahoma_.get();
  // The controls of the pages behind the first get their font once the
  // window is on screen: nothing shows them before.
  if (row.page == Page::Outside || row.page == Page::Bitrate)
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  else
    pendingFonts_.emplace_back(child, font);
  if (row.maxLength > 0) SendMessageW(child, EM_SETLIMITTEXT, row.maxLength, 0);
  if (row.kind == ControlKind::Track) {
    SendMessageW(child, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(child, TBM_SETRANGEMAX, TRUE, row.trackMax);
  }
  if (row.kind == ControlKind::Picture && banner_)
    SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_));
  if (row.startsDisabled) EnableWindow(child, FALSE);
  return child;
}

void Win32Window::createControls() {
  for (const ControlSpec& row : ControlTable()) {
    HWND child = createControl(row);
    if (row.id == cid::none) continue;
    if (static_cast<size_t>(row.id) >= controls_.size()) controls_.resize(row.id + 1, nullptr);
    controls_[row.id] = child;
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
    HWND child = controls_[row.id];
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

LRESULT Win32Window::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      hwnd_ = hwnd;
      break;
    case WM_COMMAND:
      if (lParam != 0) onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_HSCROLL:
      if (lParam != 0) {
        HWND child = reinterpret_cast<HWND>(lParam);
        int id = GetDlgCtrlID(child);
        const ControlSpec* found = FindControl(id);
        if (!muted_ && events_ && found && found->kind == ControlKind::Track &&
            controls_[id] == child)
          events_->onEvent(id, EventKind::Scrolled);
      }
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE)
        selectPage(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == kEncoderInfoCommand) {
        if (events_) events_->onEncoderInfo();
        return 0;
      }
      break;
    case kMakeToolTips:
      createToolTips();
      return 0;
    case kRunPosted: {
      std::vector<std::function<void()>> tasks;
      {
        std::lock_guard lock(postedMutex_);
        tasks.swap(posted_);
      }
      for (const auto& task : tasks) task();
      return 0;
    }
    case kDeferredSelection:
      if (!muted_ && events_)
        events_->onEvent(static_cast<ControlId>(wParam), EventKind::SelectionChanged);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows is logging off or shutting down (a queued "Shut" line does
      // this too): the settings are saved as on closing, and the job list
      // is kept for the next start.
      if (wParam && events_) events_->onEndSession();
      return 0;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wParam);
      std::vector<std::string> paths;
      const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(Narrow(path));
      }
      DragFinish(drop);
      if (events_ && !paths.empty()) events_->onFilesDropped(paths);
      return 0;
    }
    case WM_CLOSE:
      if (events_) events_->onClose();
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      // What was posted and has not run goes with the window.
      std::lock_guard lock(postedMutex_);
      posted_.clear();
      hwnd_ = nullptr;
      break;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Win32Window::PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_NOTIFY:
      // The pages hand what their controls report to the main window.
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32Window::onCommand(HWND child, int code) {
  if (muted_) return;
  int id = GetDlgCtrlID(child);
  const ControlSpec* found = FindControl(id);
  if (!found || static_cast<size_t>(id) >= controls_.size() || controls_[id] != child) return;
  std::optional<EventKind> kind = Translate(found->kind, code);
  if (!kind) return;
  if (found->kind == ControlKind::EditList && *kind == EventKind::SelectionChanged) {
    // The edit part of the list takes the chosen entry only after this
    // notification: the handler runs once the list has finished, so that it
    // reads the new text and what it writes is not overwritten.
    PostMessageW(hwnd_, kDeferredSelection, static_cast<WPARAM>(id), 0);
    return;
  }
  if (events_) events_->onEvent(id, *kind);
}

int Win32Window::runMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (hwnd_ && message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
      // Enter presses the focused push button, as in a dialog.
      wchar_t cls[16] = {};
      GetClassNameW(message.hwnd, cls, 16);
      LONG style = GetWindowLongW(message.hwnd, GWL_STYLE);
      if (_wcsicmp(cls, L"Button") == 0 &&
          ((style & BS_TYPEMASK) == BS_PUSHBUTTON || (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)) {
        SendMessageW(message.hwnd, BM_CLICK, 0, 0);
        continue;
      }
    }
    if (hwnd_ && IsDialogMessageW(hwnd_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

HWND Win32Window::control(ControlId id) const {
  return id > 0 && static_cast<size_t>(id) < controls_.size() ? controls_[id] : nullptr;
}

HWND Win32Window::at(ControlId id) const {
  HWND child = control(id);
  if (!child) throw std::invalid_argument("no control with id " + std::to_string(id));
  return child;
}

const ControlSpec& Win32Window::rowOf(ControlId id) const {
  const ControlSpec* found = FindControl(id);
  if (!found) throw std::invalid_argument("no control with id " + std::to_string(id));
  return *found;
}

std::string Win32Window::text(ControlId id) const {
  HWND child = at(id);
  switch (rowOf(id).kind) {
    case ControlKind::List: {
      int selected = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
      return selected >= 0 ? Narrow(ComboItem(child, selected)) : std::string();
    }
    case ControlKind::ListBox: {
      int selected = static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
      return selected >= 0 ? Narrow(ListBoxItem(child, selected)) : std::string();
    }
    case ControlKind::Track:
      return {};
    default:
      return Narrow(WindowTextOf(child));
  }
}

void Win32Window::setText(ControlId id, std::string_view text) {
  HWND child = at(id);
  const ControlKind kind = rowOf(id).kind;
  Mute mute(*this);
  if (IsCombo(kind) || kind == ControlKind::ListBox) {
    std::wstring wanted = Widen(text);
    int found = -1;
    for (int i = 0, n = itemCount(id); i < n && found < 0; ++i) {
      std::wstring entry =
          kind == ControlKind::ListBox ? ListBoxItem(child, i) : ComboItem(child, i);
      if (entry == wanted) found = i;
    }
    if (kind == ControlKind::ListBox) {
      SendMessageW(child, LB_SETCURSEL, found, 0);
      return;
    }
    SendMessageW(child, CB_SETCURSEL, found, 0);
    if (kind == ControlKind::EditList && found < 0) SetWindowTextW(child, wanted.c_str());
    return;
  }
  if (kind == ControlKind::Track) return;
  // Rewriting a field lays its text out again, which is slow on some
  // systems: a field that already shows the text is left as it is.
  const std::wstring wanted = Widen(text);
  if (WindowTextOf(child) == wanted) return;
  SetWindowTextW(child, wanted.c_str());
  if (IsEdit(kind)) {
    // A field rewritten while the user types keeps the caret at its end.
    LRESULT length = GetWindowTextLengthW(child);
    SendMessageW(child, EM_SETSEL, length, length);
  }
}

int Win32Window::state(ControlId id) const {
  HWND child = at(id);
  switch (rowOf(id).kind) {
    case ControlKind::Check:
      return SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    case ControlKind::List:
    case ControlKind::EditList:
      return static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
    case ControlKind::ListBox:
      return static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
    case ControlKind::Track:
      return static_cast<int>(SendMessageW(child, TBM_GETPOS, 0, 0));
    default:
      return 0;
  }
}

void Win32Window::setState(ControlId id, int value) {
  HWND child = at(id);
  const ControlSpec& row = rowOf(id);
  Mute mute(*this);
  switch (row.kind) {
    case ControlKind::Check:
      SendMessageW(child, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlKind::List:
    case ControlKind::EditList:
      SendMessageW(child, CB_SETCURSEL, value >= 0 && value < itemCount(id) ? value : -1, 0);
      break;
    case ControlKind::ListBox:
      SendMessageW(child, LB_SETCURSEL, value >= 0 && value < itemCount(id) ? value : -1, 0);
      break;
    case ControlKind::Track:
      SendMessageW(child, TBM_SETPOS, TRUE, std::clamp(value, 0, row.trackMax));
      break;
    default:
      break;
  }
}

bool Win32Window::enabled(ControlId id) const { return IsWindowEnabled(at(id)) != FALSE; }

void Win32Window::setEnabled(ControlId id, bool on) {
  HWND child = at(id);
  Mute mute(*this);
  EnableWindow(child, on ? TRUE : FALSE);
}

bool Win32Window::visible(ControlId id) const {
  return (GetWindowLongW(at(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Window::setVisible(ControlId id, bool on) {
  HWND child = at(id);
  Mute mute(*this);
  ShowWindow(child, on ? SW_SHOWNA : SW_HIDE);
}

int Win32Window::itemCount(ControlId id) const {
  HWND child = at(id);
  const ControlKind kind = rowOf(id).kind;
  LRESULT n = 0;
  if (IsCombo(kind))
    n = SendMessageW(child, CB_GETCOUNT, 0, 0);
  else if (kind == ControlKind::ListBox)
    n = SendMessageW(child, LB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

std::string Win32Window::item(ControlId id, int index) const {
  HWND child = at(id);
  const ControlKind kind = rowOf(id).kind;
  if (IsCombo(kind)) return Narrow(ComboItem(child, index));
  if (kind == ControlKind::ListBox) return Narrow(ListBoxItem(child, index));
  return {};
}

void Win32Window::addItem(ControlId id, std::string_view text) { insertItem(id, -1, text); }

void Win32Window::insertItem(ControlId id, int index, std::string_view text) {
  HWND child = at(id);
  const ControlKind kind = rowOf(id).kind;
  Mute mute(*this);
  std::wstring wide = Widen(text);
  if (index < 0 || index > itemCount(id)) index = -1;
  if (IsCombo(kind)) {
    SendMessageW(child, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str()));
  } else if (kind == ControlKind::ListBox) {
    SendMessageW(child, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str()));
    widenListExtent(child, text);
  }
}

void Win32Window::removeItem(ControlId id, int index) {
  HWND child = at(id);
  const ControlKind kind = rowOf(id).kind;
  Mute mute(*this);
  if (IsCombo(kind))
    SendMessageW(child, CB_DELETESTRING, index, 0);
  else if (kind == ControlKind::ListBox)
    SendMessageW(child, LB_DELETESTRING, index, 0);
}

void Win32Window::clearItems(ControlId id) {
  HWND child = at(id);
  const ControlKind kind = rowOf(id).kind;
  Mute mute(*this);
  if (IsCombo(kind)) {
    SendMessageW(child, CB_RESETCONTENT, 0, 0);
  } else if (kind == ControlKind::ListBox) {
    SendMessageW(child, LB_RESETCONTENT, 0, 0);
    listExtent_ = 0;
    longestLine_ = 0;
    SendMessageW(child, LB_SETHORIZONTALEXTENT, 0, 0);
  }
}

void Win32Window::post(std::function<void()> task) {
  std::lock_guard lock(postedMutex_);
  if (!hwnd_) return;
  posted_.push_back(std::move(task));
  PostMessageW(hwnd_, kRunPosted, 0, 0);
}

void Win32Window::setRedraw(ControlId id, bool on) {
  HWND child = at(id);
  SendMessageW(child, WM_SETREDRAW, on ? TRUE : FALSE, 0);
  if (on) InvalidateRect(child, nullptr, TRUE);
}

void Win32Window::widenListExtent(HWND list, std::string_view text) {
  // Measuring every line costs a device context; a line much shorter than
  // the longest so far cannot be the widest.
  if (text.size() * 4 < longestLine_ * 3) return;
  longestLine_ = std::max(longestLine_, text.size());
  HDC dc = GetDC(list);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
  std::wstring wide = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  if (size.cx + scale(8) > listExtent_) {
    listExtent_ = size.cx + scale(8);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, listExtent_, 0);
  }
}
