#include "settings/catalogue.h"

#include <algorithm>
#include <climits>

#include "core/text_number.h"

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

// Whether the built-in default set has a line for the key.
constexpr bool kDefault = true;
constexpr bool kNoDefault = false;

// Every keyed setting in the order of the settings file. Columns: key,
// control, kind, stored form, in the default set, value there, value when a
// file lacks the key, range check after a load.
// clang-format off
constexpr SettingSpec kSettings[] = {
    // Number settings: the control's state.
    {"upstat",         cid::upstat,         Check,    Number, kNoDefault, "",    "1",     kNone},
    {"a1",             cid::a1,             Check,    Number, kDefault,   "1",   "0",     kNone},
    {"a2",             cid::a2,             Check,    Number, kDefault,   "1",   "0",     kNone},
    {"a3",             cid::a3,             Check,    Number, kDefault,   "1",   "0",     kNone},
    {"a4",             cid::a4,             Check,    Number, kDefault,   "0",   "0",     kNone},
    {"a5",             cid::a5,             Check,    Number, kDefault,   "1",   "0",     kNone},
    {"a6",             cid::a6,             Check,    Number, kDefault,   "1",   "0",     kNone},
    {"cab",            cid::cab,            Check,    Number, kDefault,   "1",   "0",     kNone},
    {"mxref",          cid::mxref,          Check,    Number, kDefault,   "0",   "0",     kNone},
    {"tre",            cid::tre,            List,     Number, kDefault,   "0",   "0",     kNone},
    {"fil",            cid::fil,            Check,    Number, kDefault,   "1",   "0",     kNone},
    {"bref",           cid::bref,           Check,    Number, kDefault,   "0",   "0",     kNone},
    {"ba",             cid::ba,             Check,    Number, kDefault,   "1",   "0",     kNone},
    {"bwb",            cid::bwb,            Check,    Number, kDefault,   "1",   "0",     kNone},
    {"mode",           cid::mode,           List,     Number, kDefault,   "1",   "0",     kNone},
    {"dm",             cid::dm,             List,     Number, kDefault,   "0",   "0",     kNone},
    {"m",              cid::m,              List,     Number, kDefault,   "4",   "0",     kNone},
    {"ms",             cid::ms,             List,     Number, kDefault,   "1",   "0",     kNone},
    {"aud",            cid::aud,            Check,    Number, kDefault,   "0",   "0",     kNone},
    {"ae",             cid::ae,             List,     Number, kDefault,   "1",   "0",     kNone},
    {"apin",           cid::apin,           Check,    Number, kDefault,   "0",   "0",     kNone},
    {"muxer",          cid::muxer,          List,     Number, kDefault,   "0",   "0",     kNone},
    {"deb-a",          cid::deb_a,          Track,    Number, kNoDefault, "",    "6",     kNone},
    {"deb-b",          cid::deb_b,          Track,    Number, kNoDefault, "",    "6",     kNone},
    {"fastpsk",        cid::fastpsk,        Check,    Number, kNoDefault, "",    "1",     kNone},
    {"dctd",           cid::dctd,           Check,    Number, kNoDefault, "",    "1",     kNone},
    {"crelog",         cid::crelog,         Check,    Number, kNoDefault, "",    "1",     kNone},
    {"sizemode",       cid::sizemode,       Check,    Number, kNoDefault, "",    "0",     kNone},
    {"aq",             cid::aq,             List,     Number, kNoDefault, "",    "1",     kNone},
    {"directpm",       cid::directpm,       List,     Number, kNoDefault, "",    "0",     kNone},
    {"psnr",           cid::psnr,           Check,    Number, kNoDefault, "",    "0",     kNone},
    {"ssim",           cid::ssim,           Check,    Number, kNoDefault, "",    "0",     kNone},
    {"level",          cid::level,          List,     Number, kNoDefault, "",    "0",     kNone},
    {"bfoptimal",      cid::bfoptimal,      Check,    Number, kNoDefault, "",    "0",     kNone},

    // Text settings: the control's text.
    {"cqm",            cid::cqm,            EditList, Text,   kNoDefault, "",    "flat",  kNone},
    {"aub",            cid::aub,            Field,    Text,   kDefault,   "64",  "64000", kNone},
    {"fa",             cid::fa,             Label,    Text,   kDefault,   "0",   "0",     kNone},
    {"mb",             cid::mb,             Digits,   Text,   kDefault,   "2",   "0",     Between(0, "0", 16, "16")},
    {"bias",           cid::bias,           Field,    Text,   kDefault,   "0",   "0",     kNone},
    {"fb",             cid::fb,             Label,    Text,   kDefault,   "0",   "0",     kNone},
    {"value",          cid::value,          Field,    Text,   kDefault,   "26",  "0",     kByMode},
    {"range",          cid::range,          Digits,   Text,   kDefault,   "16",  "0",     Between(0, "0", 64, "64")},
    {"ref",            cid::ref,            Digits,   Text,   kDefault,   "1",   "0",     Between(0, "0", 16, "16")},
    {"arx",            cid::arx,            Digits,   Text,   kDefault,   "1",   "0",     kNone},
    {"ary",            cid::ary,            Digits,   Text,   kDefault,   "1",   "0",     kNone},
    {"thr",            cid::thr,            Field,    Text,   kDefault,   "1",   "0",     Between(0, "0", 4, "4")},
    {"nr",             cid::nr,             Field,    Text,   kDefault,   "0",   "0",     kNone},
    {"kfb",            cid::kfb,            Digits,   Text,   kDefault,   "40",  "0",     Between(0, "0", 900, "900")},
    {"bfr",            cid::bfr,            Digits,   Text,   kDefault,   "30",  "0",     Between(0, "0", 900, "900")},
    {"vbr",            cid::vbr,            Digits,   Text,   kDefault,   "60",  "0",     Between(0, "0", 100, "100")},
    {"minqp",          cid::minqp,          Digits,   Text,   kDefault,   "10",  "0",     Between(1, "1", 51, "51")},
    {"maxqp",          cid::maxqp,          Digits,   Text,   kDefault,   "51",  "0",     Between(1, "1", 51, "51")},
    {"qps",            cid::qps,            Digits,   Text,   kDefault,   "4",   "0",     Between(1, "1", 50, "50")},
    {"vbs",            cid::vbs,            Field,    Text,   kNoDefault, "",    "0",     Between(0, "0", 240000, "240000")},
    {"vmb",            cid::vmb,            Field,    Text,   kNoDefault, "",    "0",     AtLeast(0, "0")},
    {"vib",            cid::vib,            Field,    Text,   kNoDefault, "",    "0.9",   DecimalBetween(0.0, "0", 1.0, "1")},
    // After a load the lower bound is 10; editing the field allows 0.
    {"bv",             cid::bv,             Digits,   Text,   kNoDefault, "",    "100",   Between(10, "10", 1000, "1000")},
    {"sct",            cid::sct,            Digits,   Text,   kDefault,   "40",  "0",     Between(0, "0", 100, "100")},
    {"mingop",         cid::mingop,         Digits,   Text,   kDefault,   "25",  "0",     kNone},
    {"maxgop",         cid::maxgop,         Digits,   Text,   kDefault,   "250", "0",     kNone},
    {"auto1pcrf",      cid::auto1pcrf,      Field,    Text,   kNoDefault, "",    "16",    kNone},
    {"avsinc",         cid::avsinc,         List,     Text,   kNoDefault, "",    "",      kNone},
    {"maxsize",        cid::maxsize,        Field,    Text,   kNoDefault, "",    "110",   kNone},
    {"minsize",        cid::minsize,        Field,    Text,   kNoDefault, "",    "90",    kNone},
    {"dzinter",        cid::dzinter,        Field,    Text,   kNoDefault, "",    "21",    kNone},
    {"dzintra",        cid::dzintra,        Field,    Text,   kNoDefault, "",    "11",    kNone},
    {"aq1",            cid::aq1,            Field,    Text,   kNoDefault, "",    "1",     DecimalBetween(0.5, "0.5", 1.5, "1.5")},
    {"chromaqpoffset", cid::chromaqpoffset, Field,    Text,   kNoDefault, "",    "0",     kNone},
    {"psyrd_rdo",      cid::psyrd_rdo,      Field,    Text,   kNoDefault, "",    "1.0",   kNone},
    {"psyrd_tre",      cid::psyrd_tre,      Field,    Text,   kNoDefault, "",    "0.0",   kNone},
};

constexpr KeylessControl kKeyless[] = {
    {"input",      cid::input,      Field},
    {"output",     cid::output,     Field},
    {"statsfile",  cid::statsfile,  Field},
    {"logfile",    cid::logfile,    Field},
    {"chromame",   cid::chromame,   Check},
    {"JobList",    cid::jobList,    ListBox},
    {"presetname", cid::presetname, EditList},
    {"biasbar",    cid::biasbar,    Track},
};
// clang-format on

static_assert(std::size(kSettings) == kNumberSettingCount + kTextSettingCount);
static_assert(std::all_of(std::begin(kSettings), std::begin(kSettings) + kNumberSettingCount,
                          [](const SettingSpec& s) { return s.form == Number; }));
static_assert(std::all_of(std::begin(kSettings) + kNumberSettingCount, std::end(kSettings),
                          [](const SettingSpec& s) { return s.form == Text; }));

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

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

}  // namespace

std::span<const SettingSpec> SettingsCatalogue() { return kSettings; }

const SettingSpec* FindSetting(std::string_view key) {
  const auto* found =
      std::find_if(std::begin(kSettings), std::end(kSettings),
                   [key](const SettingSpec& s) { return EqualIgnoringCase(s.key, key); });
  return found == std::end(kSettings) ? nullptr : found;
}

std::span<const KeylessControl> KeylessControls() { return kKeyless; }

std::string StoredValue(const Window& window, const SettingSpec& setting) {
  if (setting.form == Text) return window.text(setting.id);
  std::int64_t value = window.state(setting.id);
  if (setting.id == cid::ae) value *= 2;
  return IntegerText(value);
}

void SetStoredNumber(Window& window, const SettingSpec& setting, std::int64_t stored) {
  if (setting.form != Number) return;
  std::int64_t state = stored;
  if (setting.id == cid::ae) {
    state = HalfRoundedUp(stored);
  } else if (setting.id == cid::aq) {
    state = stored != 0 ? 1 : 0;
  }
  window.setState(setting.id, ToState(state));
}

void SetStoredText(Window& window, const SettingSpec& setting, std::string_view text) {
  if (setting.form != Text) return;
  if (setting.id != cid::avsinc) {
    window.setText(setting.id, text);
    return;
  }
  if (text.empty()) return;
  int last = -1;
  for (int i = 0, n = window.itemCount(setting.id); i < n; ++i) {
    if (window.item(setting.id, i) == text) last = i;
  }
  if (last >= 0) window.setState(setting.id, last);
}
