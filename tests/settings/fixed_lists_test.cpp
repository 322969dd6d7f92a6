#include "settings/fixed_lists.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/catalogue.h"
#include "ui/control_table.h"

namespace {

// The fixed lists, in the order start-up fills them:
// control | entries...
constexpr std::string_view kExpectedLists = R"(
82  | Temporal | Spatial | Auto | None
155 | 8x8 | 4x4 | Smallest
22  | Single Pass - Bitrate | Single Pass - Quantizer | Single Pass - CRF | Mutipass - First Pass | Mutipass - First Pass(fast) | Mutipass - Nth pass | Automated Double Passes | Automated Double Passes(fast) | Mutipass - First Pass(CRF) | Mutipass - First Pass(CRF-fast) | Automated Double Passes(1P-CRF) | Automated Double Passes(1P-CRF-fast) | Mutipass - First Pass(CRF with output) | Conditional Double Passes(1P-CRF)
53  | 1(Fastest) | 2 | 3 | 4 | 5(Highest) | 6(RDO) | 7(6b)(RDO on B-frames) | 8(7b)(RDO on B-frames) | 9
110 | CT AAC | Nero | Nero(ABR) | Nero(Q) | FAAC
111 | MP4Box | MP4Creator | MKVMerge | No mux | Audio Only
54  | Diamond Search | Hexagonal Search | Uneven Muti-Hexagon | Exhaustive Search | Hadamard Exhaustive
123 | flat | jvt | custom...
129 | 0 | 1 | 2
146 | Disable | Variance AQ
158 | Disable | Level 1 | Level 1.1 | Level 1.2 | Level 1.3 | Level 2 | Level 2.1 | Level 2.2 | Level 3 | Level 3.1 | Level 3.2 | Level 4 | Level 4.1 | Level 4.2 | Level 5 | Level 5.1
)";

struct ExpectedList {
  int id = 0;
  std::vector<std::string> entries;
};

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    parts.push_back(Trim(text.substr(start, end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

std::vector<ExpectedList> ExpectedLists() {
  std::vector<ExpectedList> lists;
  for (const std::string& line : Split(kExpectedLists, '\n')) {
    if (line.empty()) continue;
    std::vector<std::string> cells = Split(line, '|');
    ExpectedList list;
    list.id = std::stoi(cells.at(0));
    list.entries.assign(cells.begin() + 1, cells.end());
    lists.push_back(list);
  }
  return lists;
}

std::vector<std::string> Texts(std::span<const std::string_view> entries) {
  return {entries.begin(), entries.end()};
}

TEST(FixedLists, AreTheExpectedListsInFillOrder) {
  std::vector<ExpectedList> expected = ExpectedLists();
  auto lists = FixedLists();
  ASSERT_EQ(lists.size(), expected.size());
  for (size_t i = 0; i < lists.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "list " << i << ", control " << expected[i].id);
    EXPECT_EQ(lists[i].id, expected[i].id);
    EXPECT_EQ(Texts(lists[i].entries), expected[i].entries);
  }
}

TEST(FixedLists, EncodeModeNamesAreTheModeListEntries) {
  const FixedList* mode = FindFixedList(22);
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->entries.data(), EncodeModeNames().data()) << "one place for the data";
  EXPECT_EQ(EncodeModeNames().size(), 14u);
}

TEST(FixedLists, FindFixedListFindsEachListAndNoOther) {
  for (const FixedList& list : FixedLists()) EXPECT_EQ(FindFixedList(list.id), &list);
  const ControlId without[] = {0, 114, 128, 94, 24, -1, 1000};  // presets, scripts, jobs...
  for (ControlId id : without) EXPECT_EQ(FindFixedList(id), nullptr) << id;
}

TEST(FixedLists, BelongToListControlsOfKeyedSettings) {
  for (const FixedList& list : FixedLists()) {
    SCOPED_TRACE(list.id);
    const ControlSpec* control = FindControl(list.id);
    ASSERT_NE(control, nullptr);
    bool quantMatrix = list.id == 123;
    EXPECT_EQ(control->kind, quantMatrix ? ControlKind::EditList : ControlKind::List);
    const SettingSpec* setting = FindSetting(control->setting);
    ASSERT_NE(setting, nullptr);
    EXPECT_EQ(setting->id, list.id);
    // Every list stores its index except the quant matrices, stored as text.
    EXPECT_EQ(setting->form, quantMatrix ? StoredForm::Text : StoredForm::Number);
  }
}

}  // namespace
