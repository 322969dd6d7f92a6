// Properties of the control table, its lookups and the in-memory window
// built on it, checked over every row. Where each control sits is the
// business of control_layout_test.cpp.

#include "ui/control_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "support/memory_window.h"
#include "ui/control_id.h"

namespace {

std::string Describe(const ControlSpec& row) {
  return "control " + std::to_string(row.id) + " \"" + std::string(row.caption) + "\" (" +
         std::string(row.setting) + ")";
}

bool IsList(ControlKind kind) {
  return kind == ControlKind::List || kind == ControlKind::EditList || kind == ControlKind::ListBox;
}

bool TakesText(ControlKind kind) {
  return kind == ControlKind::Field || kind == ControlKind::Digits;
}

// The window builder gives every row without an id the one window id it
// keeps for them, and nothing can address such a row: neither the settings
// (they go by id) nor the tool tips (they are added by id). So at most one
// row goes without an id, and it names no setting and has no tool tip.
TEST(ControlTable, AtMostOneRowGoesWithoutAnIdAndNothingRefersToIt) {
  int withoutId = 0;
  for (const ControlSpec& row : ControlTable()) {
    if (row.id != cid::none) continue;
    SCOPED_TRACE(Describe(row));
    ++withoutId;
    EXPECT_TRUE(row.setting.empty());
    EXPECT_TRUE(row.toolTip.empty()) << "a tool tip is added by id";
  }
  EXPECT_LE(withoutId, 1);
}

TEST(ControlTable, FindControlFindsEveryRowByItsId) {
  for (const ControlSpec& row : ControlTable()) {
    if (row.id == cid::none) continue;
    EXPECT_EQ(FindControl(row.id), &row) << Describe(row);
  }
}

TEST(ControlTable, FindControlGivesNullForIdsNoControlHas) {
  std::set<ControlId> ids;
  for (const ControlSpec& row : ControlTable()) ids.insert(row.id);
  ASSERT_FALSE(ids.empty());
  const ControlId highest = *ids.rbegin();
  int unused = 0;
  for (ControlId id = -2; id <= highest + 2; ++id) {
    if (id != cid::none && ids.contains(id)) continue;
    ++unused;
    EXPECT_EQ(FindControl(id), nullptr) << "id " << id;
  }
  EXPECT_GT(unused, 4) << "ids below, between and above the table's were asked";
  for (ControlId id : {INT_MIN, -1000000, 1000000, INT_MAX})
    EXPECT_EQ(FindControl(id), nullptr) << "id " << id;
}

TEST(ControlTable, EveryTabHasADistinctCaptionAndControls) {
  const std::span<const std::string_view> captions = PageCaptions();
  ASSERT_EQ(captions.size(), static_cast<size_t>(kPageCount));
  std::set<std::string_view> distinct;
  for (std::string_view caption : captions) {
    EXPECT_FALSE(caption.empty());
    EXPECT_TRUE(distinct.insert(caption).second) << caption << " names two tabs";
  }
  std::set<int> pagesWithControls;
  for (const ControlSpec& row : ControlTable()) {
    const int page = static_cast<int>(row.page);
    EXPECT_GE(page, 0) << Describe(row);
    EXPECT_LE(page, kPageCount) << Describe(row) << " is on no tab";
    pagesWithControls.insert(page);
  }
  for (int tab = 1; tab <= kPageCount; ++tab)
    EXPECT_TRUE(pagesWithControls.contains(tab)) << "tab " << captions[tab - 1] << " is empty";
}

// The options of a row go with its kind: a typing limit with a field, a
// range with a track bar.
TEST(ControlTable, OptionsBelongToTheKindsThatUseThem) {
  for (const ControlSpec& row : ControlTable()) {
    SCOPED_TRACE(Describe(row));
    EXPECT_GE(row.maxLength, 0);
    if (row.maxLength > 0) {
      EXPECT_TRUE(TakesText(row.kind)) << "only a field is typed into";
    }
    EXPECT_EQ(row.trackMax > 0, row.kind == ControlKind::Track) << "a track bar has a range";
  }
}

TEST(MemoryWindowFromTable, StartsWithEveryControlShowingItsCaptionAndEmptyLists) {
  const MemoryWindow window;
  EXPECT_FALSE(window.has(cid::none));
  for (const ControlSpec& row : ControlTable()) {
    if (row.id == cid::none) continue;
    SCOPED_TRACE(Describe(row));
    ASSERT_TRUE(window.has(row.id));
    EXPECT_TRUE(window.visible(row.id));
    EXPECT_EQ(window.enabled(row.id), !row.startsDisabled);
    if (IsList(row.kind)) {
      EXPECT_EQ(window.state(row.id), -1);
      EXPECT_EQ(window.itemCount(row.id), 0);
      EXPECT_EQ(window.text(row.id), "");
    } else if (row.kind == ControlKind::Track) {
      EXPECT_EQ(window.state(row.id), 0);
      EXPECT_EQ(window.text(row.id), "") << "a track bar has no text";
    } else {
      EXPECT_EQ(window.text(row.id), row.caption);
      EXPECT_EQ(window.state(row.id), row.startsTicked ? 1 : 0);
    }
  }
}

// Typing a field is limited as its row says: a typing limit cuts what is
// typed beyond it, a digits field drops what is no digit, and a field with
// neither keeps all it is given.
TEST(MemoryWindowFromTable, TypingFollowsTheRowsLimits) {
  const std::string mixed = "-1a 2.5x";
  const std::string digitsOfMixed = "125";
  int fields = 0;
  for (const ControlSpec& row : ControlTable()) {
    if (!TakesText(row.kind)) continue;
    SCOPED_TRACE(Describe(row));
    ++fields;
    MemoryWindow window;
    const std::string typed = row.kind == ControlKind::Digits ? digitsOfMixed : mixed;
    const std::string held = row.maxLength > 0 ? typed.substr(0, row.maxLength) : typed;
    EXPECT_EQ(window.type(row.id, mixed), held);

    const std::string longText(std::max(row.maxLength, 1) * 40, '7');
    const std::string longHeld = row.maxLength > 0 ? longText.substr(0, row.maxLength) : longText;
    EXPECT_EQ(window.type(row.id, longText), longHeld);
  }
  EXPECT_GT(fields, 0);
}

TEST(MemoryWindowFromTable, TrackBarsKeepToTheirRowsRange) {
  int tracks = 0;
  for (const ControlSpec& row : ControlTable()) {
    if (row.kind != ControlKind::Track) continue;
    SCOPED_TRACE(Describe(row));
    ++tracks;
    MemoryWindow window;
    for (int position = 0; position <= row.trackMax; ++position) {
      window.setState(row.id, position);
      EXPECT_EQ(window.state(row.id), position);
    }
    window.setState(row.id, row.trackMax + 1);
    EXPECT_EQ(window.state(row.id), row.trackMax);
    window.setState(row.id, INT_MAX);
    EXPECT_EQ(window.state(row.id), row.trackMax);
    window.setState(row.id, -1);
    EXPECT_EQ(window.state(row.id), 0);
    window.setState(row.id, INT_MIN);
    EXPECT_EQ(window.state(row.id), 0);
  }
  EXPECT_GT(tracks, 0);
}

}  // namespace
