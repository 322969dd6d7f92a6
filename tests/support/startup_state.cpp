#include "support/startup_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct ListExpectation {
  ControlId id;
  int count;
  int selected;
  const char* first;
  const char* last;
};

// Entry count, selected entry after a first start, first and last entry of
// every fixed list.
const ListExpectation kLists[] = {
    {82, 4, 0, "Temporal", "None"},
    {155, 3, 0, "8x8", "Smallest"},
    {22, 14, 1, "Single Pass - Bitrate", "Conditional Double Passes(1P-CRF)"},
    {53, 9, 4, "1(Fastest)", "9"},
    {110, 5, 1, "CT AAC", "FAAC"},
    {111, 5, 0, "MP4Box", "Audio Only"},
    {54, 5, 1, "Diamond Search", "Hadamard Exhaustive"},
    {123, 3, 0, "flat", "custom..."},
    {129, 3, 0, "0", "2"},
    {146, 2, 1, "Disable", "Variance AQ"},
    {158, 16, 0, "Disable", "Level 5.1"},
};

const std::set<ControlId> kChecked = {27, 6, 7, 8, 10, 11, 18, 19, 61, 71, 75, 118, 119, 127};
const std::set<ControlId> kCheckBoxes = {27, 6,  7,  8,   9,   10,  11,  17,  18,  19,  159, 61,
                                         62, 71, 75, 107, 112, 118, 119, 124, 127, 156, 157};
// Single Pass - Quantizer, one reference frame, audio off.
const std::set<ControlId> kDisabled = {27, 30,  29,  62,  39,  43,  44,
                                       45, 108, 130, 131, 132, 133, 155};
// And no size window.
const std::set<ControlId> kHidden = {120, 121, 124, 138, 139, 140, 141};

}  // namespace

void ExpectStartupState(const Window& window) {
  for (const ListExpectation& list : kLists) {
    SCOPED_TRACE("list " + std::to_string(list.id));
    ASSERT_EQ(window.itemCount(list.id), list.count);
    EXPECT_EQ(window.state(list.id), list.selected);
    EXPECT_EQ(window.item(list.id, 0), list.first);
    EXPECT_EQ(window.item(list.id, list.count - 1), list.last);
  }
  EXPECT_EQ(window.text(22), "Single Pass - Quantizer");
  EXPECT_EQ(window.text(123), "flat");
  EXPECT_EQ(window.text(129), "0");
  EXPECT_EQ(window.text(24), "26");
  EXPECT_EQ(window.text(140), "90");
  EXPECT_EQ(window.itemCount(114), 0);
  EXPECT_EQ(window.itemCount(128), 0);
  EXPECT_EQ(window.itemCount(94), 0);

  for (ControlId id : kCheckBoxes)
    EXPECT_EQ(window.state(id), kChecked.count(id) ? 1 : 0) << "check box " << id;

  for (ControlId id = 1; id <= 168; ++id) {
    bool exists = true;
    bool enabled = false;
    bool visible = false;
    try {
      enabled = window.enabled(id);
      visible = window.visible(id);
    } catch (const std::invalid_argument&) {
      exists = false;
    }
    if (!exists) continue;
    EXPECT_EQ(enabled, !kDisabled.count(id)) << "enabled state of control " << id;
    EXPECT_EQ(visible, !kHidden.count(id)) << "visibility of control " << id;
  }

  EXPECT_EQ(window.state(14), 100);  // the middle of each range: a value of 0
  EXPECT_EQ(window.state(78), 6);
  EXPECT_EQ(window.state(79), 6);
}
