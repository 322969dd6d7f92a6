#pragma once

#include <windows.h>

// What the main window's files share: its classes, size and private messages.
namespace window_constants {

constexpr wchar_t kMainClass[] = L"quorvelMain";
constexpr wchar_t kPageClass[] = L"quorvelPage";
constexpr int kClientWidth = 308;
constexpr int kClientHeight = 440;
constexpr int kTabWidth = 310;
constexpr int kTabHeight = 405;
// The room on either side of a tab's caption, and above and below it. The
// tab control's own 6 on either side makes the five tabs wider than the
// control in Tahoma 8, and the last one hides behind scroll arrows; 3 lets
// them all show. 3 above and below is the control's own, which keeps the
// tab row's height, and so the pages, as they were.
constexpr int kTabPaddingX = 3;
constexpr int kTabPaddingY = 3;
constexpr UINT kDeferredSelection = WM_APP + 1;
constexpr UINT kMakeToolTips = WM_APP + 2;
constexpr UINT kRunPosted = WM_APP + 3;
// The item of the system menu that tells which x264 the jobs are written for.
constexpr UINT kEncoderInfoCommand = 0x0010;
// The item that lists how each job of the last started batch went.
constexpr UINT kLastBatchCommand = 0x0020;
// The items that steer the batches of the program folder.
constexpr UINT kPauseCommand = 0x0030;
constexpr UINT kStopAfterJobCommand = 0x0040;
constexpr UINT kStopNowCommand = 0x0050;
// "Jobs at once": the item of n jobs, and the n an item stands for (0: none).
constexpr UINT JobsAtOnceCommand(int n) { return 0x0100 + static_cast<UINT>(n) * 0x10; }
constexpr int JobsAtOnceOf(UINT command) {
  return command > 0x0100 && command <= JobsAtOnceCommand(16)
             ? static_cast<int>((command - 0x0100) / 0x10)
             : 0;
}
// The timer that ticks while a started batch is followed.
constexpr UINT_PTR kTickTimer = 1;
constexpr DWORD kMainStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace window_constants
