#include "settings/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "settings/fixed_lists.h"
#include "support/memory_window.h"
#include "ui/control_id.h"
#include "ui/control_table.h"

namespace {

// Every setting the settings file holds, in file order:
// key | id | kind | default set ("none": no line) | value when missing | load check
// The load check is "int min max", "dec min max" ("-" for no bound), "mode" or empty.
constexpr std::string_view kExpectedNumberSettings = R"(
upstat    | 27  | check | none | 1 |
a1        | 6   | check | 1    | 0 |
a2        | 7   | check | 1    | 0 |
a3        | 8   | check | 1    | 0 |
a4        | 9   | check | 0    | 0 |
a5        | 10  | check | 1    | 0 |
a6        | 11  | check | 1    | 0 |
cab       | 71  | check | 1    | 0 |
mxref     | 62  | check | 0    | 0 |
tre       | 129 | list  | 0    | 0 |
fil       | 75  | check | 1    | 0 |
bref      | 17  | check | 0    | 0 |
ba        | 18  | check | 1    | 0 |
bwb       | 19  | check | 1    | 0 |
mode      | 22  | list  | 1    | 0 |
dm        | 82  | list  | 0    | 0 |
m         | 53  | list  | 4    | 0 |
ms        | 54  | list  | 1    | 0 |
aud       | 107 | check | 0    | 0 |
ae        | 110 | list  | 1    | 0 |
apin      | 112 | check | 0    | 0 |
muxer     | 111 | list  | 0    | 0 |
deb-a     | 78  | track | none | 6 |
deb-b     | 79  | track | none | 6 |
fastpsk   | 118 | check | none | 1 |
dctd      | 119 | check | none | 1 |
crelog    | 127 | check | none | 1 |
sizemode  | 124 | check | none | 0 |
aq        | 146 | list  | none | 1 |
directpm  | 155 | list  | none | 0 |
psnr      | 157 | check | none | 0 |
ssim      | 156 | check | none | 0 |
level     | 158 | list  | none | 0 |
bfoptimal | 159 | check | none | 0 |
)";

constexpr std::string_view kExpectedTextSettings = R"(
cqm            | 123 | edit-list | none | "flat"  |
aub            | 108 | field     | 64   | "64000" |
fa             | 80  | label     | 0    | "0"     |
mb             | 15  | digits    | 2    | "0"     | int 0 16
bias           | 16  | field     | 0    | "0"     |
fb             | 81  | label     | 0    | "0"     |
value          | 24  | field     | 26   | "0"     | mode
range          | 59  | digits    | 16   | "0"     | int 0 64
ref            | 60  | digits    | 1    | "0"     | int 0 16
arx            | 66  | digits    | 1    | "0"     |
ary            | 67  | digits    | 1    | "0"     |
thr            | 70  | field     | 1    | "0"     | int 0 4
nr             | 74  | field     | 0    | "0"     |
kfb            | 37  | digits    | 40   | "0"     | int 0 900
bfr            | 38  | digits    | 30   | "0"     | int 0 900
vbr            | 39  | digits    | 60   | "0"     | int 0 100
minqp          | 43  | digits    | 10   | "0"     | int 1 51
maxqp          | 44  | digits    | 51   | "0"     | int 1 51
qps            | 45  | digits    | 4    | "0"     | int 1 50
vbs            | 130 | field     | none | "0"     | int 0 240000
vmb            | 131 | field     | none | "0"     | int 0 -
vib            | 132 | field     | none | "0.9"   | dec 0 1
bv             | 133 | digits    | none | "100"   | int 10 1000
sct            | 49  | digits    | 40   | "0"     | int 0 100
mingop         | 50  | digits    | 25   | "0"     |
maxgop         | 51  | digits    | 250  | "0"     |
auto1pcrf      | 120 | field     | none | "16"    |
avsinc         | 128 | list      | none | ""      |
maxsize        | 138 | field     | none | "110"   |
minsize        | 140 | field     | none | "90"    |
dzinter        | 150 | field     | none | "21"    |
dzintra        | 151 | field     | none | "11"    |
aq1            | 144 | field     | none | "1"     | dec 0.5 1.5
chromaqpoffset | 152 | field     | none | "0"     |
psyrd_rdo      | 163 | field     | none | "1.0"   |
psyrd_tre      | 164 | field     | none | "0.0"   |
)";

// The built-in default set, line by line in its own order.
constexpr std::string_view kDefaultSetLines[] = {
    "a1=1",      "a2=1",       "a3=1",     "a4=0",     "a5=1",     "a6=1",     "cab=1",  "mxref=0",
    "tre=0",     "fil=1",      "bref=0",   "bme=0",    "ba=1",     "bwb=1",    "mode=1", "dm=0",
    "m=4",       "ms=1",       "aud=0",    "ae=1",     "apin=0",   "aub=64",   "fa=0",   "mb=2",
    "bias=0",    "fb=0",       "value=26", "range=16", "ref=1",    "arx=1",    "ary=1",  "thr=1",
    "nr=0",      "kfb=40",     "bfr=30",   "vbr=60",   "minqp=10", "maxqp=51", "qps=4",  "sct=40",
    "mingop=25", "maxgop=250", "muxer=0",
};

// The keys the built-in default set lacks.
constexpr std::string_view kKeysMissingFromDefaultSet[] = {
    "upstat",  "deb-a",    "deb-b",   "fastpsk", "dctd",           "crelog",    "sizemode",
    "aq",      "directpm", "psnr",    "ssim",    "level",          "bfoptimal", "cqm",
    "vbs",     "vmb",      "vib",     "bv",      "auto1pcrf",      "avsinc",    "maxsize",
    "minsize", "dzinter",  "dzintra", "aq1",     "chromaqpoffset", "psyrd_rdo", "psyrd_tre",
};

struct Bound {
  bool has = false;
  double value = 0;
  std::string text;
};

struct ExpectedSetting {
  std::string key;
  int id = 0;
  ControlKind kind = ControlKind::Button;
  StoredForm form = StoredForm::Number;
  bool inDefaults = false;
  std::string defaultIni;
  std::string missing;
  ClampKind clamp = ClampKind::None;
  Bound min, max;
};

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

std::vector<std::string> Split(std::string_view line, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t end = line.find(separator, start);
    parts.push_back(Trim(line.substr(start, end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

ControlKind KindNamed(const std::string& name) {
  if (name == "check") return ControlKind::Check;
  if (name == "list") return ControlKind::List;
  if (name == "edit-list") return ControlKind::EditList;
  if (name == "field") return ControlKind::Field;
  if (name == "digits") return ControlKind::Digits;
  if (name == "track") return ControlKind::Track;
  if (name == "label") return ControlKind::Label;
  if (name == "list box") return ControlKind::ListBox;
  ADD_FAILURE() << "unknown kind in the test table: " << name;
  return ControlKind::Button;
}

Bound BoundNamed(const std::string& text) {
  if (text == "-") return {};
  return {true, std::stod(text), text};
}

std::vector<ExpectedSetting> Parse(std::string_view table, StoredForm form) {
  std::vector<ExpectedSetting> rows;
  for (const std::string& line : Split(table, '\n')) {
    if (line.empty()) continue;
    std::vector<std::string> cells = Split(line, '|');
    if (cells.size() != 6) {
      ADD_FAILURE() << "bad test table line: " << line;
      continue;
    }
    ExpectedSetting row;
    row.key = cells[0];
    row.id = std::stoi(cells[1]);
    row.kind = KindNamed(cells[2]);
    row.form = form;
    row.inDefaults = cells[3] != "none";
    if (row.inDefaults) row.defaultIni = cells[3];
    row.missing = cells[4];
    if (row.missing.size() >= 2 && row.missing.front() == '"') {
      row.missing = row.missing.substr(1, row.missing.size() - 2);
    }
    std::vector<std::string> check = Split(cells[5], ' ');
    if (check[0] == "mode") {
      row.clamp = ClampKind::ByMode;
    } else if (check[0] == "int" || check[0] == "dec") {
      row.clamp = check[0] == "int" ? ClampKind::Integer : ClampKind::Decimal;
      row.min = BoundNamed(check.at(1));
      row.max = BoundNamed(check.at(2));
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<ExpectedSetting> ExpectedSettings() {
  std::vector<ExpectedSetting> rows = Parse(kExpectedNumberSettings, StoredForm::Number);
  std::vector<ExpectedSetting> text = Parse(kExpectedTextSettings, StoredForm::Text);
  rows.insert(rows.end(), text.begin(), text.end());
  return rows;
}

std::vector<std::string> CatalogueKeys() {
  std::vector<std::string> keys;
  for (const SettingSpec& s : SettingsCatalogue()) keys.emplace_back(s.key);
  return keys;
}

const SettingSpec& Setting(std::string_view key) {
  const SettingSpec* setting = FindSetting(key);
  if (setting == nullptr) throw std::invalid_argument("no setting " + std::string(key));
  return *setting;
}

// A window as start-up leaves it before a settings file is loaded, as far as
// the lists go.
void FillFixedLists(MemoryWindow& window) {
  for (const FixedList& list : FixedLists()) {
    for (std::string_view entry : list.entries) window.addItem(list.id, entry);
    window.setState(list.id, list.selected);
  }
}

TEST(SettingsCatalogue, HasTheKeysInFileOrder) {
  std::vector<std::string> expected;
  for (const ExpectedSetting& row : ExpectedSettings()) expected.push_back(row.key);
  ASSERT_EQ(expected.size(), 70u);
  EXPECT_EQ(CatalogueKeys(), expected);
}

TEST(SettingsCatalogue, HoldsThirtyFourNumbersThenThirtySixTexts) {
  auto catalogue = SettingsCatalogue();
  ASSERT_EQ(catalogue.size(), 70u);
  EXPECT_EQ(kNumberSettingCount, 34);
  EXPECT_EQ(kTextSettingCount, 36);
  for (size_t i = 0; i < catalogue.size(); ++i) {
    StoredForm expected = i < 34 ? StoredForm::Number : StoredForm::Text;
    EXPECT_EQ(catalogue[i].form, expected) << catalogue[i].key;
  }
}

TEST(SettingsCatalogue, RowsHoldEachKeysControlKindDefaultAndCheck) {
  std::vector<ExpectedSetting> expected = ExpectedSettings();
  for (const ExpectedSetting& row : expected) {
    SCOPED_TRACE(row.key);
    const SettingSpec* setting = FindSetting(row.key);
    ASSERT_NE(setting, nullptr);
    EXPECT_EQ(setting->id, row.id);
    EXPECT_EQ(FindControl(setting->id)->kind, row.kind);
    EXPECT_EQ(setting->form, row.form);
    EXPECT_EQ(setting->defaultLine > 0, row.inDefaults);
    if (row.inDefaults) {
      EXPECT_EQ(setting->defaultIni, row.defaultIni);
    }
    EXPECT_EQ(setting->missing, row.missing);
    EXPECT_EQ(setting->clamp.kind, row.clamp);
    EXPECT_EQ(setting->clamp.hasMin, row.min.has);
    EXPECT_EQ(setting->clamp.hasMax, row.max.has);
    if (row.min.has) {
      EXPECT_DOUBLE_EQ(setting->clamp.min, row.min.value);
      EXPECT_EQ(setting->clamp.minText, row.min.text);
    }
    if (row.max.has) {
      EXPECT_DOUBLE_EQ(setting->clamp.max, row.max.value);
      EXPECT_EQ(setting->clamp.maxText, row.max.text);
    }
  }
}

TEST(SettingsCatalogue, KeysAndControlsAreUnique) {
  std::set<std::string_view> keys;
  std::set<ControlId> ids;
  for (const SettingSpec& s : SettingsCatalogue()) {
    EXPECT_TRUE(keys.insert(s.key).second) << s.key;
    EXPECT_TRUE(ids.insert(s.id).second) << s.key;
    EXPECT_TRUE(
        std::none_of(s.key.begin(), s.key.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        << s.key << " is written in lower case";
  }
  for (const KeylessControl& c : KeylessControls()) {
    EXPECT_EQ(ids.count(c.id), 0u) << c.name << " has no key";
  }
}

TEST(SettingsCatalogue, DefaultSetLinesAreTheSettingsMarkedAsDefaults) {
  ASSERT_EQ(std::size(kDefaultSetLines), 43u);  // the transcription itself
  std::set<std::string> expectedKeys;
  for (std::string_view line : kDefaultSetLines) {
    std::vector<std::string> pair = Split(line, '=');
    if (pair[0] == "bme") {
      EXPECT_EQ(FindSetting(pair[0]), nullptr) << "bme belongs to no control";
      continue;
    }
    expectedKeys.insert(pair[0]);
    const SettingSpec* setting = FindSetting(pair[0]);
    ASSERT_NE(setting, nullptr) << pair[0];
    EXPECT_EQ(setting->defaultIni, pair[1]) << pair[0];
  }
  EXPECT_EQ(expectedKeys.size(), 42u);

  std::set<std::string> marked;
  std::set<std::string> unmarked;
  for (const SettingSpec& s : SettingsCatalogue())
    (s.defaultLine > 0 ? marked : unmarked).emplace(s.key);
  EXPECT_EQ(marked, expectedKeys);
  EXPECT_EQ(unmarked, std::set<std::string>(std::begin(kKeysMissingFromDefaultSet),
                                            std::end(kKeysMissingFromDefaultSet)));
}

TEST(SettingsCatalogue, EverySettingIsTheControlOfTheSameName) {
  for (const SettingSpec& s : SettingsCatalogue()) {
    SCOPED_TRACE(s.key);
    const ControlSpec* control = FindControl(s.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->setting, s.key);
  }
}

TEST(KeylessControls, AreTheControlsNoKeyStores) {
  struct Expected {
    std::string_view name;
    ControlId id;
    ControlKind kind;
  };
  const Expected expected[] = {
      {"input", 88, ControlKind::Field},          {"output", 89, ControlKind::Field},
      {"statsfile", 29, ControlKind::Field},      {"logfile", 125, ControlKind::Field},
      {"chromame", 61, ControlKind::Check},       {"JobList", 94, ControlKind::ListBox},
      {"presetname", 114, ControlKind::EditList}, {"biasbar", 14, ControlKind::Track},
  };
  auto keyless = KeylessControls();
  ASSERT_EQ(keyless.size(), std::size(expected));
  for (size_t i = 0; i < keyless.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(keyless[i].name, expected[i].name);
    EXPECT_EQ(keyless[i].id, expected[i].id);
    const ControlSpec* control = FindControl(keyless[i].id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->kind, expected[i].kind);
    EXPECT_EQ(control->setting, keyless[i].name);
    EXPECT_EQ(FindSetting(keyless[i].name), nullptr) << "never stored";
  }
}

TEST(FindSetting, MatchesKeysWithoutRegardToCase) {
  struct Case {
    std::string_view asked;
    std::string_view found;  // empty: none
  };
  const Case cases[] = {
      {"mode", "mode"},
      {"MODE", "mode"},
      {"Deb-A", "deb-a"},
      {"deb-b", "deb-b"},
      {"PSYRD_rdo", "psyrd_rdo"},
      {"ChromaQPOffset", "chromaqpoffset"},
      {"m", "m"},
      {"M", "m"},
      {"bfoptimal", "bfoptimal"},
      {"bme", ""},
      {"", ""},
      {"mode ", ""},
      {" mode", ""},
      {"deb_a", ""},
      {"a", ""},
      {"a10", ""},
      {"input", ""},
      {"chromame", ""},
      {"biasbar", ""},
      {"m\xC4", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    const SettingSpec* setting = FindSetting(c.asked);
    if (c.found.empty()) {
      EXPECT_EQ(setting, nullptr);
    } else {
      ASSERT_NE(setting, nullptr);
      EXPECT_EQ(setting->key, c.found);
    }
  }
}

TEST(FindSetting, ReturnsTheCatalogueRow) {
  for (const SettingSpec& s : SettingsCatalogue()) EXPECT_EQ(FindSetting(s.key), &s) << s.key;
}

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t k2To32 = std::int64_t{1} << 32;

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

TEST(StoredNumber, ListsChecksAndTrackBarsKeepTheirState) {
  const NumberCase cases[] = {
      {"mode", 13, 13, "13"},
      {"mode", 0, 0, "0"},
      {"mode", 14, -1, "-1"},
      {"mode", -1, -1, "-1"},
      {"mode", k2To32 + 1, -1, "-1"},  // not entry 1
      {"mode", -k2To32 + 1, -1, "-1"},
      {"level", 15, 15, "15"},
      {"tre", 2, 2, "2"},
      {"m", 8, 8, "8"},
      {"muxer", 4, 4, "4"},
      {"directpm", 2, 2, "2"},
      {"a1", 0, 0, "0"},
      {"a1", 1, 1, "1"},
      {"upstat", 0, 0, "0"},
      {"upstat", k2To32, 1, "1"},  // not cleared by cutting off the high bits
      {"deb-a", 0, 0, "0"},
      {"deb-a", 3, 3, "3"},
      {"deb-b", 12, 12, "12"},
      {"deb-b", 13, 12, "12"},
      {"deb-a", k2To32, 12, "12"},
      {"deb-a", -k2To32, 0, "0"},
  };
  CheckNumberCases(cases);
}

TEST(StoredNumber, DefaultAndMissingValuesSelectAnEntry) {
  for (const SettingSpec& s : SettingsCatalogue()) {
    if (s.form != StoredForm::Number || FindControl(s.id)->kind != ControlKind::List) continue;
    SCOPED_TRACE(s.key);
    std::vector<std::string_view> values = {s.missing};
    if (s.defaultLine > 0) values.push_back(s.defaultIni);
    for (std::string_view value : values) {
      MemoryWindow window;
      FillFixedLists(window);
      SetStoredNumber(window, s, std::stoll(std::string(value)));
      EXPECT_GE(window.state(s.id), 0) << value;
    }
  }
}

TEST(StoredText, TextSettingsKeepTheirTextUnchanged) {
  struct Case {
    std::string_view key;
    std::string_view text;
    int state;  // for lists: the selected entry afterwards
  };
  const Case cases[] = {
      {"aub", "64000", 0},  {"aub", "", 0},          {"bias", "-5", 0},
      {"value", "1000", 0}, {"mb", "abc", 0},  // only typing is filtered
      {"fa", "-3", 0},      {"psyrd_rdo", "1.0", 0}, {"vib", " 0.9 ", 0},
      {"cqm", "jvt", 1},    {"cqm", "custom...", 2}, {"cqm", "\"C:\\matrices\\my matrix.cfg\"", -1},
      {"cqm", "JVT", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.key << " = " << c.text);
    MemoryWindow window;
    FillFixedLists(window);
    const SettingSpec& setting = Setting(c.key);
    SetStoredText(window, setting, c.text);
    EXPECT_EQ(window.text(setting.id), c.text);
    EXPECT_EQ(StoredValue(window, setting), c.text);
    if (FindControl(setting.id)->kind == ControlKind::EditList) {
      EXPECT_EQ(window.state(setting.id), c.state);
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
