#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "app/banner.h"
#include "app/win32/program.h"
#include "gui/gui_support.h"
#include "platform/win32/wide_text.h"
#include "ui/control_table.h"
#include "ui/win32/bitmap_decoder.h"
#include "ui/win32/text_measure.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every test starts as a first start: no main settings file.
    DeleteFileW((TestProgramFolder() + L"quorvel.ini").c_str());
    program = std::make_unique<Program>(GetModuleHandleW(nullptr));
  }
  void TearDown() override {
    program.reset();
    PumpMessages();
  }

  Win32Window& window() { return program->window(); }

  std::unique_ptr<Program> program;
};

const wchar_t* ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button:
    case ControlKind::Check:
    case ControlKind::Frame:
      return L"Button";
    case ControlKind::Label:
    case ControlKind::Picture:
      return L"Static";
    case ControlKind::Field:
    case ControlKind::Digits:
      return L"Edit";
    case ControlKind::List:
    case ControlKind::EditList:
      return L"ComboBox";
    case ControlKind::Track:
      return L"msctls_trackbar32";
    case ControlKind::ListBox:
      return L"ListBox";
  }
  return L"";
}

// The child with that id under the window that should hold it, found the
// way any tool finds it: by GetDlgItem on its parent.
HWND FindChild(Win32Window& window, const ControlSpec& row) {
  HWND parent =
      row.page == Page::Outside ? window.handle() : window.page(static_cast<int>(row.page) - 1);
  return GetDlgItem(parent, row.id == cid::none ? kAudioFrameId : row.id);
}

int WidthOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect.right - rect.left;
}

std::wstring FaceOf(HFONT font, LONG* height) {
  LOGFONTW logical{};
  GetObjectW(font, sizeof logical, &logical);
  if (height) *height = logical.lfHeight;
  return logical.lfFaceName;
}

}  // namespace

TEST_F(MainWindowTest, WindowHasItsTitleSizePlaceAndFrame) {
  HWND main = window().handle();
  EXPECT_FALSE(IsWindowVisible(main)) << "created hidden";
  EXPECT_EQ(TextOf(main), L"quorvel");
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 308);
  EXPECT_EQ(client.bottom, 440);
  RECT outer{};
  GetWindowRect(main, &outer);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  program->window().show();
  EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(MainWindowTest, TabControlHoldsTheFivePagesInOrder) {
  HWND tabs = GetDlgItem(window().handle(), kTabControlId);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(ClassOf(tabs), WC_TABCONTROLW);
  RECT rect{};
  GetWindowRect(tabs, &rect);
  MapWindowPoints(HWND_DESKTOP, window().handle(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right - rect.left, 310);
  EXPECT_EQ(rect.bottom - rect.top, 405);
  const wchar_t* captions[] = {L"Bitrate", L"Rate Control", L"MBs&&Frames", L"More", L"Job"};
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
  for (int i = 0; i < 5; ++i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, captions[i]);
    HWND page = GetDlgItem(tabs, kFirstPageId + i);
    ASSERT_NE(page, nullptr) << "page " << i;
    bool shown = (GetWindowLongW(page, GWL_STYLE) & WS_VISIBLE) != 0;
    EXPECT_EQ(shown, i == 0) << "only the first page shows at start";
  }
  HFONT tabFont = reinterpret_cast<HFONT>(SendMessageW(tabs, WM_GETFONT, 0, 0));
  EXPECT_EQ(FaceOf(tabFont, nullptr), L"Tahoma");

  // Every tab shows in full: the last ends inside the control, and the
  // control offers no arrows to scroll the tabs.
  RECT client{}, last{};
  GetClientRect(tabs, &client);
  ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&last)));
  std::printf("[ MEASURE  ] the tabs end at %ld of %ld pixels\n", last.right, client.right);
  EXPECT_LE(last.right, client.right);
  HWND arrows = FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
  EXPECT_TRUE(arrows == nullptr || !(GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE))
      << "no scroll arrows";
}

// The window as the builder leaves it and shows it, before any settings are
// loaded.
TEST(BuiltWindow, EveryControlIsAChildWindowAtItsPlaceWithItsCaptionTipAndFont) {
  GdiObject<HBITMAP> banner = DecodeBitmap(BannerBytes());
  Win32Window built(GetModuleHandleW(nullptr), banner.get());
  built.show();
  HFONT tahoma = reinterpret_cast<HFONT>(SendMessageW(built.tabs(), WM_GETFONT, 0, 0));
  for (const ControlSpec& row : ControlTable()) {
    SCOPED_TRACE("control " + std::to_string(row.id) + " " + std::string(row.caption));
    HWND child = FindChild(built, row);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(_wcsicmp(ClassOf(child).c_str(), ExpectedClass(row.kind)), 0);

    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, row.x);
    EXPECT_EQ(rect.top, row.y);
    EXPECT_EQ(rect.right - rect.left, row.w);
    if (row.kind == ControlKind::List || row.kind == ControlKind::EditList)
      EXPECT_LE(rect.bottom - rect.top, 25) << "a closed list fits a one-line slot";
    else
      EXPECT_EQ(rect.bottom - rect.top, row.h);

    LONG style = GetWindowLongW(child, GWL_STYLE);
    switch (row.kind) {
      case ControlKind::Check:
        EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
        break;
      case ControlKind::Button:
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
        break;
      case ControlKind::Frame:
        EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX);
        break;
      case ControlKind::Field:
      case ControlKind::Digits:
        EXPECT_EQ((style & ES_NUMBER) != 0, row.kind == ControlKind::Digits);
        break;
      case ControlKind::List:
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
        break;
      case ControlKind::EditList:
        EXPECT_EQ(style & 3, CBS_DROPDOWN);
        break;
      case ControlKind::ListBox:
        EXPECT_FALSE(style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
        break;
      case ControlKind::Track:
        EXPECT_EQ(SendMessageW(child, TBM_GETRANGEMIN, 0, 0), 0);
        EXPECT_EQ(SendMessageW(child, TBM_GETRANGEMAX, 0, 0), row.trackMax);
        break;
      case ControlKind::Picture:
        EXPECT_NE(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "shows the banner";
        break;
      default:
        break;
    }

    bool hasCaption = row.kind != ControlKind::List && row.kind != ControlKind::EditList &&
                      row.kind != ControlKind::Track && row.kind != ControlKind::ListBox &&
                      row.kind != ControlKind::Picture;
    if (hasCaption) {
      EXPECT_EQ(TextOf(child), Widen(row.caption));
    }
    EXPECT_EQ(ToolTipOf(built.toolTips(), child), Widen(row.toolTip));

    if (row.kind == ControlKind::Picture || row.kind == ControlKind::Track) continue;  // no text
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    if (row.systemFont) {
      EXPECT_NE(font, tahoma) << "keeps the system's dialog font";
    } else {
      LONG height = 0;
      EXPECT_EQ(FaceOf(font, &height), L"Tahoma");
      EXPECT_EQ(height, -MulDiv(8, 96, 72));
    }
  }
}

TEST_F(MainWindowTest, LongJobLinesCanBeScrolledSideways) {
  HWND list = window().control(cid::jobList);
  RECT client{};
  GetClientRect(list, &client);
  window().addItem(cid::jobList, std::string(400, 'x'));
  EXPECT_GT(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), client.right);
  window().clearItems(cid::jobList);
  EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
}

TEST_F(MainWindowTest, EveryDropDownListOpensWideEnoughForItsWidestEntry) {
  window().addItem(cid::presetname, std::string(60, 'W'));  // a preset with a long name
  window().show();
  // What the open list's frame and scroll bar take beside an entry.
  const int frame = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);
  for (const ControlSpec& row : ControlTable()) {
    if (row.kind != ControlKind::List && row.kind != ControlKind::EditList) continue;
    HWND list = window().control(row.id);
    const LRESULT dropped = SendMessageW(list, CB_GETDROPPEDWIDTH, 0, 0);
    EXPECT_GE(dropped, WidthOf(list)) << row.setting;
    const TextMeasure text(list, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    for (int i = 0; i < window().itemCount(row.id); ++i)
      EXPECT_GE(dropped, text.width(Widen(window().item(row.id, i))) + frame) << row.setting << i;
  }
  HWND presets = window().control(cid::presetname);
  window().clearItems(cid::presetname);
  EXPECT_EQ(SendMessageW(presets, CB_GETDROPPEDWIDTH, 0, 0), WidthOf(presets)) << "when emptied";
}

TEST_F(MainWindowTest, ControlsOfHiddenPagesAreHiddenWithTheirPage) {
  HWND onMore = window().control(cid::cab);
  EXPECT_FALSE(IsWindowVisible(onMore));
  window().show();
  ClickTab(window().tabs(), 3);
  EXPECT_TRUE(IsWindowVisible(onMore));
  EXPECT_FALSE(IsWindowVisible(window().control(cid::mode)));
}

TEST_F(MainWindowTest, StartsWithTheDefaultsAndCreatesTheFolders) {
  EXPECT_EQ(window().text(cid::mode), "Single Pass - Quantizer");
  EXPECT_EQ(window().text(cid::value), "26");
  EXPECT_EQ(window().state(cid::tre), 0);
  EXPECT_FALSE(window().visible(cid::minsize)) << "the banner shows outside mode 13";
  EXPECT_TRUE(window().visible(cid::banner));
  std::wstring folder = TestProgramFolder();
  for (const wchar_t* name : {L"avs", L"stats", L"configs", L"log", L"avsinc"}) {
    DWORD attributes = GetFileAttributesW((folder + name).c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << name;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << name;
  }
  EXPECT_EQ(GetFileAttributesW((folder + L"default.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindowTest, DigitsFieldRefusesTypedLettersButKeepsProgramText) {
  HWND kfb = window().control(cid::kfb);
  SendMessageW(kfb, EM_SETSEL, 0, -1);
  TypeChars(kfb, L"a-7x5");
  EXPECT_EQ(TextOf(kfb), L"75");
  window().setText(cid::kfb, "abc");
  EXPECT_EQ(window().text(cid::kfb), "abc");
}

TEST_F(MainWindowTest, BiasFieldRefusesAFourthTypedCharacter) {
  HWND bias = window().control(cid::bias);
  SendMessageW(bias, EM_SETSEL, 0, -1);
  TypeChars(bias, L"-123");
  EXPECT_EQ(TextOf(bias), L"-12");
}

TEST_F(MainWindowTest, ScreenshotOfEveryPage) {
  window().show();
  const wchar_t* names[] = {L"bitrate", L"rate-control", L"mbs-frames", L"more", L"job"};
  std::wstring folder = TestProgramFolder() + L"..\\screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < 5; ++i) {
    ClickTab(window().tabs(), i);
    EXPECT_EQ(SendMessageW(window().tabs(), TCM_GETCURSEL, 0, 0), i);
    EXPECT_TRUE(IsWindowVisible(window().page(i)));
    RedrawWindow(window().handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    Sleep(50);
    PumpMessages();
    int colours = 0;
    EXPECT_TRUE(SaveClientScreenshot(
        window().handle(), folder + L"page-" + std::to_wstring(i + 1) + L"-" + names[i] + L".bmp",
        &colours));
    EXPECT_GT(colours, 4) << "the page shows more than a blank area";
  }
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheLoopWithExitCodeZero) {
  HWND main = window().handle();
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program->run(), 0);
  EXPECT_FALSE(IsWindow(main));
}
