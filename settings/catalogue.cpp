#include "settings/catalogue.h"

#include <algorithm>
#include <climits>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/ascii.h"
#include "core/text_number.h"
#include "settings/fixed_lists.h"

namespace {

using enum ControlKind;
using enum StoredForm;

constexpr Clamp kNone{};
constexpr Clamp kByMode{ClampKind::ByMode, false, 0, {}, false, 0, {}};

constexpr Clamp Between(double min, std::string_view minText, double max,
                        std::string_view maxText) {
  return {ClampKind::Integer, true, min, minText, true, max, maxText};
}

constexpr Clamp AtLeast(double min, std::string_view minText) {
  return {ClampKind::Integer, true, min, minText, false, 0, {}};
}

constexpr Clamp DecimalBetween(double min, std::string_view minText, double max,
                               std::string_view maxText) {
  return {ClampKind::Decimal, true, min, minText, true, max, maxText};
}

// Every keyed setting in the order of the settings file. Columns: key,
// control, stored form, its line in the built-in default set (0: none), its
// value there, value when a file lacks the key, range check after a load,
// place in the settings value, the control whose caption names it.
// clang-format off
constexpr SettingSpec kSettings[] = {
    // Number settings: the control's state.
    {"upstat",         cid::upstat,         Number,  0, "",    "1",     kNone,                                  &Settings::upstat,         cid::upstat},
    {"a1",             cid::a1,             Number,  1, "1",   "0",     kNone,                                  &Settings::a1,             cid::a1},
    {"a2",             cid::a2,             Number,  2, "1",   "0",     kNone,                                  &Settings::a2,             cid::a2},
    {"a3",             cid::a3,             Number,  3, "1",   "0",     kNone,                                  &Settings::a3,             cid::a3},
    {"a4",             cid::a4,             Number,  4, "0",   "0",     kNone,                                  &Settings::a4,             cid::a4},
    {"a5",             cid::a5,             Number,  5, "1",   "0",     kNone,                                  &Settings::a5,             cid::a5},
    {"a6",             cid::a6,             Number,  6, "1",   "0",     kNone,                                  &Settings::a6,             cid::a6},
    {"cab",            cid::cab,            Number,  7, "1",   "0",     kNone,                                  &Settings::cab,            cid::cab},
    {"mxref",          cid::mxref,          Number,  8, "0",   "0",     kNone,                                  &Settings::mxref,          cid::mxref},
    {"tre",            cid::tre,            Number,  9, "0",   "0",     kNone,                                  &Settings::tre,            cid::treLabel},
    {"fil",            cid::fil,            Number, 10, "1",   "0",     kNone,                                  &Settings::fil,            cid::fil},
    {"bref",           cid::bref,           Number, 11, "0",   "0",     kNone,                                  &Settings::bref,           cid::bref},
    {"ba",             cid::ba,             Number, 13, "1",   "0",     kNone,                                  &Settings::ba,             cid::ba},
    {"bwb",            cid::bwb,            Number, 14, "1",   "0",     kNone,                                  &Settings::bwb,            cid::bwb},
    {"mode",           cid::mode,           Number, 15, "1",   "0",     kNone,                                  &Settings::mode,           cid::mode},
    {"dm",             cid::dm,             Number, 16, "0",   "0",     kNone,                                  &Settings::dm,             cid::dmLabel},
    {"m",              cid::m,              Number, 17, "4",   "0",     kNone,                                  &Settings::m,              cid::mLabel},
    {"ms",             cid::ms,             Number, 18, "1",   "0",     kNone,                                  &Settings::ms,             cid::msLabel},
    {"aud",            cid::aud,            Number, 19, "0",   "0",     kNone,                                  &Settings::aud,            cid::aud},
    {"ae",             cid::ae,             Number, 20, "1",   "0",     kNone,                                  &Settings::ae,             cid::aeLabel},
    {"apin",           cid::apin,           Number, 21, "0",   "0",     kNone,                                  &Settings::apin,           cid::apin},
    {"muxer",          cid::muxer,          Number, 43, "0",   "0",     kNone,                                  &Settings::muxer,          cid::muxerLabel},
    {"deb-a",          cid::deb_a,          Number,  0, "",    "6",     kNone,                                  &Settings::deb_a,          cid::deb_aLabel},
    {"deb-b",          cid::deb_b,          Number,  0, "",    "6",     kNone,                                  &Settings::deb_b,          cid::deb_bLabel},
    {"fastpsk",        cid::fastpsk,        Number,  0, "",    "1",     kNone,                                  &Settings::fastpsk,        cid::fastpsk},
    {"dctd",           cid::dctd,           Number,  0, "",    "1",     kNone,                                  &Settings::dctd,           cid::dctd},
    {"crelog",         cid::crelog,         Number,  0, "",    "1",     kNone,                                  &Settings::crelog,         cid::crelog},
    {"sizemode",       cid::sizemode,       Number,  0, "",    "0",     kNone,                                  &Settings::sizemode,       cid::sizemode},
    {"aq",             cid::aq,             Number,  0, "",    "1",     kNone,                                  &Settings::aq,             cid::aqLabel},
    {"directpm",       cid::directpm,       Number,  0, "",    "0",     kNone,                                  &Settings::directpm,       cid::directpmLabel},
    {"psnr",           cid::psnr,           Number,  0, "",    "0",     kNone,                                  &Settings::psnr,           cid::psnr},
    {"ssim",           cid::ssim,           Number,  0, "",    "0",     kNone,                                  &Settings::ssim,           cid::ssim},
    {"level",          cid::level,          Number,  0, "",    "0",     kNone,                                  &Settings::level,          cid::level},
    {"bfoptimal",      cid::bfoptimal,      Number,  0, "",    "0",     kNone,                                  &Settings::bfoptimal,      cid::bfoptimal},

    // Text settings: the control's text.
    {"cqm",            cid::cqm,            Text,    0, "",    kFlatMatrix, kNone,                             &Settings::cqm,            cid::cqmLabel},
    {"aub",            cid::aub,            Text,   22, "64",  "64000", kNone,                                  &Settings::aub,            cid::aubLabel},
    {"fa",             cid::fa,             Text,   23, "0",   "0",     kNone,                                  &Settings::fa,             cid::deb_aLabel},
    {"mb",             cid::mb,             Text,   24, "2",   "0",     Between(0, "0", 16, "16"),              &Settings::mb,             cid::mbLabel},
    {"bias",           cid::bias,           Text,   25, "0",   "0",     kNone,                                  &Settings::bias,           cid::biasLabel},
    {"fb",             cid::fb,             Text,   26, "0",   "0",     kNone,                                  &Settings::fb,             cid::deb_bLabel},
    {"value",          cid::value,          Text,   27, "26",  "0",     kByMode,                                &Settings::value,          cid::valueLabel},
    {"range",          cid::range,          Text,   28, "16",  "0",     Between(0, "0", 64, "64"),              &Settings::range,          cid::merangeLabel},
    {"ref",            cid::ref,            Text,   29, "1",   "0",     Between(0, "0", 16, "16"),              &Settings::ref,            cid::refLabel},
    {"arx",            cid::arx,            Text,   30, "1",   "0",     kNone,                                  &Settings::arx,            cid::sarLabel},
    {"ary",            cid::ary,            Text,   31, "1",   "0",     kNone,                                  &Settings::ary,            cid::sarLabel},
    {"thr",            cid::thr,            Text,   32, "1",   "0",     Between(0, "0", 4, "4"),                &Settings::thr,            cid::thrLabel},
    {"nr",             cid::nr,             Text,   33, "0",   "0",     kNone,                                  &Settings::nr,             cid::nrLabel},
    {"kfb",            cid::kfb,            Text,   34, "40",  "0",     Between(0, "0", 900, "900"),            &Settings::kfb,            cid::kfbLabel},
    {"bfr",            cid::bfr,            Text,   35, "30",  "0",     Between(0, "0", 900, "900"),            &Settings::bfr,            cid::bfrLabel},
    {"vbr",            cid::vbr,            Text,   36, "60",  "0",     Between(0, "0", 100, "100"),            &Settings::vbr,            cid::vbrLabel},
    {"minqp",          cid::minqp,          Text,   37, "10",  "0",     Between(1, "1", 51, "51"),              &Settings::minqp,          cid::minqpLabel},
    {"maxqp",          cid::maxqp,          Text,   38, "51",  "0",     Between(1, "1", 51, "51"),              &Settings::maxqp,          cid::maxqpLabel},
    {"qps",            cid::qps,            Text,   39, "4",   "0",     Between(1, "1", 50, "50"),              &Settings::qps,            cid::qpsLabel},
    {"vbs",            cid::vbs,            Text,    0, "",    "0",     Between(0, "0", 240000, "240000"),      &Settings::vbs,            cid::vbsLabel},
    {"vmb",            cid::vmb,            Text,    0, "",    "0",     AtLeast(0, "0"),                        &Settings::vmb,            cid::vmbLabel},
    {"vib",            cid::vib,            Text,    0, "",    "0.9",   DecimalBetween(0.0, "0", 1.0, "1"),     &Settings::vib,            cid::vibLabel},
    // After a load the lower bound is 10; editing the field allows 0.
    {"bv",             cid::bv,             Text,    0, "",    "100",   Between(10, "10", 1000, "1000"),        &Settings::bv,             cid::bvLabel},
    {"sct",            cid::sct,            Text,   40, "40",  "0",     Between(0, "0", 100, "100"),            &Settings::sct,            cid::sctLabel},
    {"mingop",         cid::mingop,         Text,   41, "25",  "0",     kNone,                                  &Settings::mingop,         cid::mingopLabel},
    {"maxgop",         cid::maxgop,         Text,   42, "250", "0",     kNone,                                  &Settings::maxgop,         cid::maxgopLabel},
    {"auto1pcrf",      cid::auto1pcrf,      Text,    0, "",    "16",    kNone,                                  &Settings::auto1pcrf,      cid::auto1pcrfLabel},
    {"avsinc",         cid::avsinc,         Text,    0, "",    "",      kNone,                                  &Settings::avsinc,         cid::avsincLabel},
    {"maxsize",        cid::maxsize,        Text,    0, "",    "110",   kNone,                                  &Settings::maxsize,        cid::maxsizeLabel},
    {"minsize",        cid::minsize,        Text,    0, "",    "90",    kNone,                                  &Settings::minsize,        cid::minsizeLabel},
    {"dzinter",        cid::dzinter,        Text,    0, "",    "21",    kNone,                                  &Settings::dzinter,        cid::dzinterLabel},
    {"dzintra",        cid::dzintra,        Text,    0, "",    "11",    kNone,                                  &Settings::dzintra,        cid::dzintraLabel},
    {"aq1",            cid::aq1,            Text,    0, "",    "1",     DecimalBetween(0.5, "0.5", 1.5, "1.5"), &Settings::aq1,            cid::aq1Label},
    {"chromaqpoffset", cid::chromaqpoffset, Text,    0, "",    "0",     kNone,                                  &Settings::chromaqpoffset, cid::chromaqpoffsetLabel},
    {"psyrd_rdo",      cid::psyrd_rdo,      Text,    0, "",    "1.0",   kNone,                                  &Settings::psyrd_rdo,      cid::psyrd_rdoLabel},
    {"psyrd_tre",      cid::psyrd_tre,      Text,    0, "",    "0.0",   kNone,                                  &Settings::psyrd_tre,      cid::psyrd_treLabel},
};

constexpr KeylessControl kKeyless[] = {
    {"input",      cid::input,      &Settings::input,     cid::inputLabel},
    {"output",     cid::output,     &Settings::output,    cid::outputLabel},
    {"statsfile",  cid::statsfile,  &Settings::statsfile, cid::statsfileLabel},
    {"logfile",    cid::logfile,    &Settings::logfile,   cid::crelog},
    {"chromame",   cid::chromame,   &Settings::chromame,  cid::chromame},
    {"JobList",    cid::jobList,    {},                   cid::none},
    {"presetname", cid::presetname, {},                   cid::presetsLabel},
    {"biasbar",    cid::biasbar,    {},                   cid::biasLabel},
};
// clang-format on

static_assert(std::size(kSettings) == kNumberSettingCount + kTextSettingCount);
static_assert(std::all_of(std::begin(kSettings), std::begin(kSettings) + kNumberSettingCount,
                          [](const SettingSpec& s) { return s.form == Number; }));
static_assert(std::all_of(std::begin(kSettings) + kNumberSettingCount, std::end(kSettings),
                          [](const SettingSpec& s) { return s.form == Text; }));

// A line of the built-in default set that no setting has.
struct UnusedDefault {
  int line;
  std::string_view key;
  std::string_view value;
};
constexpr UnusedDefault kUnusedDefaults[] = {{12, "bme", "0"}};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// A stored number that does not fit a control's state is pinned to the
// nearest int: a list then simply has no entry selected.
int ToState(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// The smallest integer not below v / 2, for any v.
std::int64_t HalfRoundedUp(std::int64_t v) { return v / 2 + (v > 0 && v % 2 != 0 ? 1 : 0); }

// Calls `f` with the member pointer of a place in the settings value; not
// for a control that has none.
template <class F>
void VisitMember(const SettingMember& member, F&& f) {
  std::visit(
      [&](auto pointer) {
        if constexpr (!std::is_same_v<decltype(pointer), std::monostate>) f(pointer);
      },
      member);
}

// A member as its control's state, and back.
int StateOf(bool value) { return value ? 1 : 0; }
int StateOf(int value) { return value; }
template <class Enumeration>
requires std::is_enum_v<Enumeration>
int StateOf(Enumeration value) { return static_cast<int>(value); }
void AssignState(bool& member, int state) { member = state == 1; }
void AssignState(int& member, int state) { member = state; }
template <class Enumeration>
requires std::is_enum_v<Enumeration>
void AssignState(Enumeration& member, int state) { member = static_cast<Enumeration>(state); }
void AssignState(std::string&, int) {}

// The place in the settings value of a keyed or key-less control.
SettingMember MemberOf(ControlId id) {
  for (const SettingSpec& setting : kSettings)
    if (setting.id == id) return setting.member;
  for (const KeylessControl& control : kKeyless)
    if (control.id == id) return control.member;
  return {};
}

void Assign(bool& member, const Window& window, ControlId id) { member = window.state(id) == 1; }
void Assign(int& member, const Window& window, ControlId id) { member = window.state(id); }
void Assign(std::string& member, const Window& window, ControlId id) { member = window.text(id); }
template <class Enumeration>
requires std::is_enum_v<Enumeration>
void Assign(Enumeration& member, const Window& window, ControlId id) {
  member = static_cast<Enumeration>(window.state(id));
}

void ReadInto(Settings& settings, const SettingMember& member, const Window& window, ControlId id) {
  VisitMember(member, [&](auto pointer) { Assign(settings.*pointer, window, id); });
}

}  // namespace

std::span<const SettingSpec> SettingsCatalogue() { return kSettings; }

const SettingSpec* FindSetting(std::string_view key) {
  const auto* found =
      std::find_if(std::begin(kSettings), std::end(kSettings),
                   [key](const SettingSpec& s) { return EqualIgnoringCase(s.key, key); });
  return found == std::end(kSettings) ? nullptr : found;
}

std::span<const KeylessControl> KeylessControls() { return kKeyless; }

Settings ReadSettings(const Window& window) {
  Settings settings;
  for (const SettingSpec& setting : kSettings)
    ReadInto(settings, setting.member, window, setting.id);
  for (const KeylessControl& control : kKeyless)
    ReadInto(settings, control.member, window, control.id);
  return settings;
}

const std::string& DefaultSettingsText() {
  static const std::string text = [] {
    std::vector<std::pair<int, std::string>> lines;
    for (const SettingSpec& setting : kSettings)
      if (setting.defaultLine > 0)
        lines.emplace_back(setting.defaultLine,
                           std::string(setting.key) + " = " + std::string(setting.defaultIni));
    for (const UnusedDefault& unused : kUnusedDefaults)
      lines.emplace_back(unused.line, std::string(unused.key) + " = " + std::string(unused.value));
    std::sort(lines.begin(), lines.end());
    std::string joined;
    for (const auto& [line, text] : lines) joined += (joined.empty() ? "" : "\r\n") + text;
    return joined;
  }();
  return text;
}

std::string FieldLabel(const Window& window, ControlId field) {
  ControlId label = field;
  for (const SettingSpec& setting : kSettings)
    if (setting.id == field) label = setting.label;
  for (const KeylessControl& control : kKeyless)
    if (control.id == field) label = control.label;
  std::string caption = window.text(label);
  for (size_t at = caption.find("&&"); at != std::string::npos; at = caption.find("&&", at + 1))
    caption.erase(at, 1);
  while (!caption.empty() && (caption.back() == ':' || caption.back() == ' ')) caption.pop_back();
  while (!caption.empty() && caption.front() == ' ') caption.erase(0, 1);
  return caption;
}

std::string StoredValue(const ControlValues& from, const SettingSpec& setting) {
  if (setting.form == Text) return from.text(setting.id);
  std::int64_t value = from.state(setting.id);
  if (setting.id == cid::ae) value *= 2;
  return IntegerText(value);
}

void SetStoredNumber(Settings& settings, const SettingSpec& setting, std::int64_t stored) {
  if (setting.form != Number) return;
  std::int64_t state = stored;
  if (setting.id == cid::ae) {
    state = HalfRoundedUp(stored);
  } else if (setting.id == cid::aq) {
    state = stored != 0 ? 1 : 0;
  }
  // What the control makes of the number.
  const ControlSpec& control = *FindControl(setting.id);
  if (control.kind == Check) {
    state = state != 0 ? 1 : 0;
  } else if (control.kind == Track) {
    state = std::clamp<std::int64_t>(state, 0, control.trackMax);
  } else if (const FixedList* list = FindFixedList(setting.id)) {
    if (state < 0 || state >= static_cast<std::int64_t>(list->entries.size())) state = -1;
  }
  VisitMember(setting.member,
              [&](auto pointer) { AssignState(settings.*pointer, ToState(state)); });
}

void SetStoredText(Settings& settings, const SettingSpec& setting, std::string_view text) {
  if (setting.form != Text) return;
  VisitMember(setting.member, [&](auto pointer) {
    if constexpr (std::is_same_v<decltype(pointer), std::string Settings::*>)
      settings.*pointer = std::string(text);
  });
}

std::string SettingsValues::text(ControlId id) const {
  std::string text;
  VisitMember(MemberOf(id), [&](auto pointer) {
    if constexpr (std::is_same_v<decltype(pointer), std::string Settings::*>)
      text = settings_.*pointer;
    else
      text = std::string(EntryOf(id, StateOf(settings_.*pointer)));
  });
  return text;
}

int SettingsValues::state(ControlId id) const {
  int state = 0;
  VisitMember(MemberOf(id), [&](auto pointer) {
    if constexpr (!std::is_same_v<decltype(pointer), std::string Settings::*>)
      state = StateOf(settings_.*pointer);
  });
  return state;
}
