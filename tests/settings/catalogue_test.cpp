// Properties of the settings catalogue over all its rows: how keys meet the
// controls that hold them, how keys are found, and how stored values go into
// and out of the controls.

#include "settings/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/control_rules.h"
#include "settings/fixed_lists.h"
#include "settings/settings_file.h"
#include "support/memory_window.h"
#include "ui/control_id.h"
#include "ui/control_table.h"

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t k2To32 = std::int64_t{1} << 32;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

// Every other letter upper case, starting with the first.
std::string Alternating(std::string_view text) {
  std::string mixed(text);
  for (size_t i = 0; i < mixed.size(); i += 2) mixed[i] = Upper(mixed.substr(i, 1))[0];
  return mixed;
}

const SettingSpec& Setting(std::string_view key) {
  const SettingSpec* setting = FindSetting(key);
  if (setting == nullptr) throw std::invalid_argument("no setting " + std::string(key));
  return *setting;
}

std::string_view KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button:
      return "button";
    case ControlKind::Check:
      return "check box";
    case ControlKind::Label:
      return "label";
    case ControlKind::Field:
      return "field";
    case ControlKind::Digits:
      return "digits field";
    case ControlKind::List:
      return "list";
    case ControlKind::EditList:
      return "edit-list";
    case ControlKind::Track:
      return "track bar";
    case ControlKind::Frame:
      return "frame";
    case ControlKind::ListBox:
      return "list box";
    case ControlKind::Picture:
      return "picture";
  }
  return "?";
}

ControlKind KindOf(const SettingSpec& setting) {
  const ControlSpec* control = FindControl(setting.id);
  if (control == nullptr) throw std::invalid_argument("no control for " + std::string(setting.key));
  return control->kind;
}

// A window with the entries of the fixed lists.
void FillFixedLists(MemoryWindow& window) {
  for (const FixedList& list : FixedLists())
    for (std::string_view entry : list.entries) window.addItem(list.id, entry);
}

// A stored number or text as a load takes it: into the settings value the
// window holds, then shown in its control. What the value holds is what the
// control then shows.
void SetStoredNumber(MemoryWindow& window, const SettingSpec& setting, std::int64_t stored) {
  Settings value = ReadSettings(window);
  SetStoredNumber(value, setting, stored);
  const int state = SettingsValues(value).state(setting.id);
  window.setState(setting.id, state);
  EXPECT_EQ(window.state(setting.id), state) << "the value holds what the control shows";
}

void SetStoredText(MemoryWindow& window, const SettingSpec& setting, std::string_view text) {
  Settings value = ReadSettings(window);
  SetStoredText(value, setting, text);
  if (setting.id == cid::avsinc)
    SelectAvsincItem(window, SettingsValues(value).text(setting.id));
  else
    window.setText(setting.id, SettingsValues(value).text(setting.id));
}

// ---------------------------------------------------------------------------
// Keys and controls.

// Every name in the control table is one key of the catalogue or one
// key-less control, never both, whatever the case; each is named by exactly
// one row, the control the catalogue gives it.
TEST(SettingsCatalogue, EveryNameIsOneKeyOrKeylessControlOfOneRow) {
  std::map<std::string, std::vector<ControlId>> rows;  // by lower-case name
  for (const ControlSpec& row : ControlTable())
    if (!row.setting.empty()) rows[Lower(row.setting)].push_back(row.id);
  std::map<std::string, ControlId> named;
  for (const SettingSpec& s : SettingsCatalogue())
    EXPECT_TRUE(named.emplace(Lower(s.key), s.id).second) << s.key << " is there twice";
  for (const KeylessControl& c : KeylessControls())
    EXPECT_TRUE(named.emplace(Lower(c.name), c.id).second) << c.name << " is also a key";
  for (const auto& [name, id] : named) {
    EXPECT_NE(id, cid::none) << name;
    EXPECT_EQ(rows[name], std::vector<ControlId>{id}) << "the rows that name " << name;
  }
  for (const auto& [name, ids] : rows) EXPECT_TRUE(named.contains(name)) << name;
}

// How a setting is stored decides what its control must be able to hold.
// A number setting is the control's state (SetStoredNumber sets it,
// StoredValue writes it): a check box (0 or 1), a track bar (its position)
// or a drop-down list whose entries never change (its entry index: only a
// fixed list's index means the same entry in every file). A text setting is
// the control's text (SetStoredText, StoredValue): a field, a digits field,
// an edit-list or a label keeps any text it is given; a drop-down list keeps
// a text only as its selected entry, so the texts the program gives it
// unasked (its default and the value of a missing key) are entries of it or
// empty, which leaves the selection as it is.
TEST(SettingsCatalogue, EveryKeysControlCanHoldItsValue) {
  for (const SettingSpec& s : SettingsCatalogue()) {
    SCOPED_TRACE(s.key);
    const ControlKind kind = KindOf(s);
    if (kind != ControlKind::Check) {
      EXPECT_EQ(FindControl(s.id)->caption, "") << "what it shows comes with the settings";
    }
    if (s.form == StoredForm::Number) {
      const bool holdsNumber = kind == ControlKind::Check || kind == ControlKind::Track ||
                               (kind == ControlKind::List && FindFixedList(s.id) != nullptr);
      EXPECT_TRUE(holdsNumber) << "a number held by a " << KindName(kind);
      continue;
    }
    const bool holdsAnyText = kind == ControlKind::Field || kind == ControlKind::Digits ||
                              kind == ControlKind::EditList || kind == ControlKind::Label;
    if (holdsAnyText) continue;
    ASSERT_TRUE(kind == ControlKind::List) << "a text held by a " << KindName(kind);
    std::vector<std::string_view> given = {s.missing};
    if (s.defaultLine > 0) given.push_back(s.defaultIni);
    for (std::string_view text : given) {
      if (text.empty()) continue;
      const FixedList* list = FindFixedList(s.id);
      ASSERT_NE(list, nullptr) << "\"" << text << "\" can be no entry of a list filled later";
      EXPECT_NE(std::find(list->entries.begin(), list->entries.end(), text), list->entries.end())
          << "\"" << text << "\" is no entry";
    }
  }
}

// ---------------------------------------------------------------------------
// The built-in default set.

// The default set, written by the program as a settings file and read back,
// gives every control the value the default gave it; and that value is the
// default itself: a text as written, a number as a state the control shows
// (a check box's 0 or 1, a track position, a list's entry).
TEST(SettingsCatalogue, DefaultSetRoundTripsThroughTheSettingsFile) {
  const SettingsFile defaults = SettingsFile::Parse(DefaultSettingsText());
  MemoryWindow loaded;
  FillFixedLists(loaded);
  int withDefault = 0;
  for (const SettingSpec& s : SettingsCatalogue()) {
    if (s.defaultLine == 0) continue;
    SCOPED_TRACE(s.key);
    ++withDefault;
    if (s.form == StoredForm::Number) {
      const std::optional<std::int64_t> number = defaults.number(s.key);
      ASSERT_TRUE(number.has_value());
      EXPECT_EQ(std::to_string(*number), s.defaultIni) << "read whole";
      SetStoredNumber(loaded, s, *number);
      if (KindOf(s) == ControlKind::List) {
        EXPECT_GE(loaded.state(s.id), 0) << "selects an entry";
      } else {
        EXPECT_EQ(loaded.state(s.id), *number);
      }
    } else {
      const std::optional<std::string> text = defaults.text(s.key);
      ASSERT_TRUE(text.has_value());
      EXPECT_EQ(*text, s.defaultIni);
      SetStoredText(loaded, s, *text);
      EXPECT_EQ(loaded.text(s.id), s.defaultIni);
    }
  }
  ASSERT_GT(withDefault, 0);

  const std::string written = SettingsFileText(loaded);
  const SettingsFile readBack = SettingsFile::Parse(written);
  MemoryWindow reloaded;
  FillFixedLists(reloaded);
  for (const SettingSpec& s : SettingsCatalogue()) {
    if (s.defaultLine == 0) continue;
    SCOPED_TRACE(s.key);
    if (s.form == StoredForm::Number) {
      ASSERT_TRUE(readBack.number(s.key).has_value());
      SetStoredNumber(reloaded, s, *readBack.number(s.key));
    } else {
      ASSERT_TRUE(readBack.text(s.key).has_value());
      SetStoredText(reloaded, s, *readBack.text(s.key));
    }
    EXPECT_EQ(reloaded.state(s.id), loaded.state(s.id));
    EXPECT_EQ(reloaded.text(s.id), loaded.text(s.id));
  }
  EXPECT_EQ(SettingsFileText(reloaded), written);
}

// ---------------------------------------------------------------------------
// Finding a key.

TEST(FindSetting, FindsEveryKeyInAnyCase) {
  for (const SettingSpec& s : SettingsCatalogue()) {
    EXPECT_EQ(s.key, Lower(s.key)) << "a key is written in lower case";
    for (const std::string& asked :
         {std::string(s.key), Upper(s.key), Alternating(s.key), Alternating(Upper(s.key))}) {
      EXPECT_EQ(FindSetting(asked), &s) << asked;
    }
  }
}

// Whatever it finds is the key asked for, case aside: a key with a blank,
// "=", a tab or another byte added, a key cut short, an empty text and a
// key-less control's name find nothing unless they spell another key.
TEST(FindSetting, FindsOnlyTheKeyAsked) {
  std::vector<std::string> asked = {"", " ", "="};
  for (const SettingSpec& s : SettingsCatalogue()) {
    const std::string key(s.key);
    for (const std::string& variant :
         {key + " ", " " + key, key + "=", key + "\t", key + "\xC4", key.substr(1),
          key.substr(0, key.size() - 1), key + key.back(), "x" + key}) {
      asked.push_back(variant);
    }
  }
  for (const KeylessControl& c : KeylessControls()) asked.emplace_back(c.name);
  int foundNothing = 0;
  for (const std::string& key : asked) {
    const SettingSpec* found = FindSetting(key);
    if (found == nullptr) {
      ++foundNothing;
      continue;
    }
    EXPECT_EQ(Lower(found->key), Lower(key)) << "asked \"" << key << "\"";
  }
  EXPECT_GT(foundNothing, static_cast<int>(SettingsCatalogue().size()) * 5);
}

// ---------------------------------------------------------------------------
// Stored numbers.

struct NumberCase {
  std::string_view key;
  std::int64_t stored;
  int state;              // the control's state afterwards
  std::string_view back;  // what the settings file gets again
};

void CheckNumberCases(std::span<const NumberCase> cases) {
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.key << " stored as " << c.stored);
    MemoryWindow window;
    FillFixedLists(window);
    const SettingSpec& setting = Setting(c.key);
    SetStoredNumber(window, setting, c.stored);
    EXPECT_EQ(window.state(setting.id), c.state);
    EXPECT_EQ(StoredValue(window, setting), c.back);
  }
}

TEST(StoredNumber, AudioEncoderIsStoredAsTwiceItsIndex) {
  const NumberCase cases[] = {
      {"ae", 0, 0, "0"},
      {"ae", 1, 1, "2"},
      {"ae", 2, 1, "2"},
      {"ae", 3, 2, "4"},
      {"ae", 4, 2, "4"},
      {"ae", 5, 3, "6"},
      {"ae", 6, 3, "6"},
      {"ae", 7, 4, "8"},
      {"ae", 8, 4, "8"},
      {"ae", 9, -1, "-2"},  // index 5: the list has no such entry
      {"ae", -1, 0, "0"},   // half of -1 rounded up is 0
      {"ae", -2, -1, "-2"},
      {"ae", -3, -1, "-2"},
      {"ae", 2 * k2To32 + 2, -1, "-2"},  // index 2^32 + 1 is no entry, not entry 1
      {"ae", kInt64Max, -1, "-2"},
      {"ae", kInt64Min, -1, "-2"},
  };
  CheckNumberCases(cases);
}

TEST(StoredNumber, AnyNonZeroAqModeSelectsVarianceAq) {
  const NumberCase cases[] = {
      {"aq", 0, 0, "0"},  {"aq", 1, 1, "1"},      {"aq", 5, 1, "1"},
      {"aq", -1, 1, "1"}, {"aq", k2To32, 1, "1"}, {"aq", kInt64Min, 1, "1"},
  };
  CheckNumberCases(cases);
}

// Every number setting but the two with a conversion of their own (above)
// stores its control's state as it is: each entry index of a list, 0 and 1
// of a check box, each position of a track bar come back unchanged. A
// number beyond them selects no entry, ticks a check box, or stops a track
// bar at its end; a number beyond 32 bits is pinned, never cut to its low
// bits.
TEST(StoredNumber, EveryOtherNumberSettingKeepsItsControlsState) {
  for (const SettingSpec& s : SettingsCatalogue()) {
    if (s.form != StoredForm::Number || s.id == cid::ae || s.id == cid::aq) continue;
    SCOPED_TRACE(s.key);
    MemoryWindow shape;
    FillFixedLists(shape);
    std::vector<std::pair<std::int64_t, int>> cases;  // stored, state afterwards
    switch (KindOf(s)) {
      case ControlKind::List: {
        const int count = shape.itemCount(s.id);
        ASSERT_GT(count, 0);
        for (int i = 0; i < count; ++i) cases.emplace_back(i, i);
        for (std::int64_t beyond :
             {std::int64_t{count}, std::int64_t{-1}, k2To32 + 1, -k2To32 + 1, kInt64Max, kInt64Min})
          cases.emplace_back(beyond, -1);
        break;
      }
      case ControlKind::Check:
        for (std::int64_t stored : {0, 1}) cases.emplace_back(stored, stored);
        for (std::int64_t ticked : {std::int64_t{2}, std::int64_t{-1}, k2To32, -k2To32})
          cases.emplace_back(ticked, 1);
        break;
      case ControlKind::Track: {
        const int top = FindControl(s.id)->trackMax;
        for (int position = 0; position <= top; ++position) cases.emplace_back(position, position);
        for (std::int64_t above : {std::int64_t{top} + 1, k2To32, kInt64Max})
          cases.emplace_back(above, top);
        for (std::int64_t below : {std::int64_t{-1}, -k2To32, kInt64Min})
          cases.emplace_back(below, 0);
        break;
      }
      default:
        ADD_FAILURE() << "a number held by a " << KindName(KindOf(s));
    }
    for (const auto& [stored, state] : cases) {
      MemoryWindow window;
      FillFixedLists(window);
      SetStoredNumber(window, s, stored);
      EXPECT_EQ(window.state(s.id), state) << "stored " << stored;
      EXPECT_EQ(StoredValue(window, s), std::to_string(state)) << "stored " << stored;
    }
  }
}

TEST(StoredNumber, MissingValueOfAListSelectsAnEntry) {
  for (const SettingSpec& s : SettingsCatalogue()) {
    if (s.form != StoredForm::Number || KindOf(s) != ControlKind::List) continue;
    SCOPED_TRACE(s.key);
    MemoryWindow window;
    FillFixedLists(window);
    SetStoredNumber(window, s, std::stoll(std::string(s.missing)));
    EXPECT_GE(window.state(s.id), 0) << s.missing;
  }
}

// ---------------------------------------------------------------------------
// Stored texts.

// Every text setting whose control takes any text keeps it as given (only
// typing is filtered); an edit-list also selects the entry equal to it.
TEST(StoredText, EveryTextSettingOfAFieldKeepsItsTextUnchanged) {
  const std::vector<std::string> anyText = {
      "", "0", "-5", "64000", "abc", " 0.9 ", "1.0", "\"C:\\matrices\\my matrix.cfg\""};
  for (const SettingSpec& s : SettingsCatalogue()) {
    if (s.form != StoredForm::Text || KindOf(s) == ControlKind::List) continue;
    SCOPED_TRACE(s.key);
    MemoryWindow shape;
    FillFixedLists(shape);
    std::vector<std::string> texts = anyText;
    for (int i = 0; i < shape.itemCount(s.id); ++i) {
      texts.push_back(shape.item(s.id, i));
      texts.push_back(Upper(shape.item(s.id, i)));
    }
    for (const std::string& text : texts) {
      MemoryWindow window;
      FillFixedLists(window);
      SetStoredText(window, s, text);
      EXPECT_EQ(window.text(s.id), text);
      EXPECT_EQ(StoredValue(window, s), text);
      if (KindOf(s) != ControlKind::EditList) continue;
      int equal = -1;
      for (int i = window.itemCount(s.id) - 1; i >= 0; --i)
        if (window.item(s.id, i) == text) equal = i;
      EXPECT_EQ(window.state(s.id), equal) << text;
    }
  }
}

TEST(StoredText, AvsincSelectsTheLastEqualEntryOrKeepsItsSelection) {
  struct Case {
    int before;
    std::string_view text;
    int after;
    std::string_view stored;
  };
  const Case cases[] = {
      {-1, "film", 2, "film"},  // of two equal entries the last
      {3, "film", 2, "film"},
      {-1, "anime", 1, "anime"},
      {0, "Cartoon", 3, "Cartoon"},
      {3, "nothing", 3, "Cartoon"},  // no match: unchanged
      {-1, "nothing", -1, ""},
      {1, "", 1, "anime"},  // empty: unchanged
      {-1, "", -1, ""},
      {0, "FILM", 0, "film"},  // the comparison minds case
      {0, "cartoon", 0, "film"},
      {1, "film ", 1, "anime"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << " then \"" << c.text << '"');
    MemoryWindow window;
    for (std::string_view name : {"film", "anime", "film", "Cartoon"}) {
      window.addItem(cid::avsinc, name);
    }
    window.setState(cid::avsinc, c.before);
    const SettingSpec& setting = Setting("avsinc");
    SetStoredText(window, setting, c.text);
    EXPECT_EQ(window.state(cid::avsinc), c.after);
    EXPECT_EQ(StoredValue(window, setting), c.stored);
  }
}

}  // namespace
