// Every control of the table lies inside the area that shows it: a tab page
// or, below the tabs, the window's client area. The Wine tests check that
// the real window puts each control where its row says; this checks that
// where the rows say is inside the area that holds the control.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ui/control_table.h"

namespace {

// The main window at 96 dots per inch, as ui/win32/window_constants.h has it
// (that header needs <windows.h>): a client area of 308 x 440 with the tab
// control at its top left, 310 x 405.
constexpr int kClientWidth = 308;
constexpr int kClientHeight = 440;
constexpr int kTabWidth = 310;
constexpr int kTabHeight = 405;

// The builder makes each page the tab control's display area, as
// TCM_ADJUSTRECT gives it: the tab control less its border and padding, 4
// pixels on every side, and less one row of tabs above, 18 pixels high in
// the 8-point Tahoma of the tabs (under Wine, where the window tests run).
constexpr int kTabMargin = 4;
constexpr int kTabRowHeight = 18;

// A list's row gives the height of its opened list; closed, the list is one
// line high, which the window tests hold to 25 pixels at most.
constexpr int kClosedListHeight = 25;

struct Area {
  int left, top, right, bottom;
};

// In the page's own coordinates, where its rows are placed. Only what lies
// within the client area of the window shows.
constexpr Area kPage{0, 0, std::min(kTabWidth - kTabMargin, kClientWidth) - kTabMargin,
                     kTabHeight - 2 * kTabMargin - kTabRowHeight};

// Below the tabs, in the client area's coordinates.
constexpr Area kOutside{0, kTabHeight, kClientWidth, kClientHeight};

std::string Describe(const ControlSpec& row) {
  return "control " + std::to_string(row.id) + " \"" + std::string(row.caption) + "\" (" +
         std::string(row.setting) + ")";
}

int ShownHeight(const ControlSpec& row) {
  const bool list = row.kind == ControlKind::List || row.kind == ControlKind::EditList;
  return list ? kClosedListHeight : row.h;
}

TEST(ControlLayout, EveryControlLiesInsideItsPage) {
  for (const ControlSpec& row : ControlTable()) {
    SCOPED_TRACE(Describe(row));
    const Area& area = row.page == Page::Outside ? kOutside : kPage;
    EXPECT_GT(row.w, 0);
    EXPECT_GT(row.h, 0);
    EXPECT_GE(row.x, area.left);
    EXPECT_GE(row.y, area.top);
    EXPECT_LE(row.x + row.w, area.right) << "sticks out to the right";
    EXPECT_LE(row.y + ShownHeight(row), area.bottom) << "sticks out at the bottom";
  }
}

}  // namespace
