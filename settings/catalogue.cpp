#include "settings/catalogue.h"

#include <algorithm>
#include <climits>
#include <type_traits>

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
// file lacks the key, range check after a load, place in the settings value,
// the control whose caption names it.
// clang-format off
constexpr SettingSpec kSettings[] = {
    // Number settings: the control's state.
    {"upstat",         cid::upstat,         Check,    Number, kNoDefault, "",    "1",     kNone,                                  &Settings::upstat,         cid::upstat},
    {"a1",             cid::a1,             Check,    Number, kDefault,   "1",   "0",     kNone,                                  &Settings::a1,             cid::a1},
    {"a2",             cid::a2,             Check,    Number, kDefault,   "1",   "0",     kNone,                                  &Settings::a2,             cid::a2},
    {"a3",             cid::a3,             Check,    Number, kDefault,   "1",   "0",     kNone,                                  &Settings::a3,             cid::a3},
    {"a4",             cid::a4,             Check,    Number, kDefault,   "0",   "0",     kNone,                                  &Settings::a4,             cid::a4},
    {"a5",             cid::a5,             Check,    Number, kDefault,   "1",   "0",     kNone,                                  &Settings::a5,             cid::a5},
    {"a6",             cid::a6,             Check,    Number, kDefault,   "1",   "0",     kNone,                                  &Settings::a6,             cid::a6},
    {"cab",            cid::cab,            Check,    Number, kDefault,   "1",   "0",     kNone,                                  &Settings::cab,            cid::cab},
    {"mxref",          cid::mxref,          Check,    Number, kDefault,   "0",   "0",     kNone,                                  &Settings::mxref,          cid::mxref},
    {"tre",            cid::tre,            List,     Number, kDefault,   "0",   "0",     kNone,                                  &Settings::tre,            cid::treLabel},
    {"fil",            cid::fil,            Check,    Number, kDefault,   "1",   "0",     kNone,                                  &Settings::fil,            cid::fil},
    {"bref",           cid::bref,           Check,    Number, kDefault,   "0",   "0",     kNone,                                  &Settings::bref,           cid::bref},
    {"ba",             cid::ba,             Check,    Number, kDefault,   "1",   "0",     kNone,                                  &Settings::ba,             cid::ba},
    {"bwb",            cid::bwb,            Check,    Number, kDefault,   "1",   "0",     kNone,                                  &Settings::bwb,            cid::bwb},
    {"mode",           cid::mode,           List,     Number, kDefault,   "1",   "0",     kNone,                                  &Settings::mode,           cid::mode},
    {"dm",             cid::dm,             List,     Number, kDefault,   "0",   "0",     kNone,                                  &Settings::dm,             cid::dmLabel},
    {"m",              cid::m,              List,     Number, kDefault,   "4",   "0",     kNone,                                  &Settings::m,              cid::mLabel},
    {"ms",             cid::ms,             List,     Number, kDefault,   "1",   "0",     kNone,                                  &Settings::ms,             cid::msLabel},
    {"aud",            cid::aud,            Check,    Number, kDefault,   "0",   "0",     kNone,                                  &Settings::aud,            cid::aud},
    {"ae",             cid::ae,             List,     Number, kDefault,   "1",   "0",     kNone,                                  &Settings::ae,             cid::aeLabel},
    {"apin",           cid::apin,           Check,    Number, kDefault,   "0",   "0",     kNone,                                  &Settings::apin,           cid::apin},
    {"muxer",          cid::muxer,          List,     Number, kDefault,   "0",   "0",     kNone,                                  &Settings::muxer,          cid::muxerLabel},
    {"deb-a",          cid::deb_a,          Track,    Number, kNoDefault, "",    "6",     kNone,                                  &Settings::deb_a,          cid::deb_aLabel},
    {"deb-b",          cid::deb_b,          Track,    Number, kNoDefault, "",    "6",     kNone,                                  &Settings::deb_b,          cid::deb_bLabel},
    {"fastpsk",        cid::fastpsk,        Check,    Number, kNoDefault, "",    "1",     kNone,                                  &Settings::fastpsk,        cid::fastpsk},
    {"dctd",           cid::dctd,           Check,    Number, kNoDefault, "",    "1",     kNone,                                  &Settings::dctd,           cid::dctd},
    {"crelog",         cid::crelog,         Check,    Number, kNoDefault, "",    "1",     kNone,                                  &Settings::crelog,         cid::crelog},
    {"sizemode",       cid::sizemode,       Check,    Number, kNoDefault, "",    "0",     kNone,                                  &Settings::sizemode,       cid::sizemode},
    {"aq",             cid::aq,             List,     Number, kNoDefault, "",    "1",     kNone,                                  &Settings::aq,             cid::aqLabel},
    {"directpm",       cid::directpm,       List,     Number, kNoDefault, "",    "0",     kNone,                                  &Settings::directpm,       cid::directpmLabel},
    {"psnr",           cid::psnr,           Check,    Number, kNoDefault, "",    "0",     kNone,                                  &Settings::psnr,           cid::psnr},
    {"ssim",           cid::ssim,           Check,    Number, kNoDefault, "",    "0",     kNone,                                  &Settings::ssim,           cid::ssim},
    {"level",          cid::level,          List,     Number, kNoDefault, "",    "0",     kNone,                                  &Settings::level,          cid::level},
    {"bfoptimal",      cid::bfoptimal,      Check,    Number, kNoDefault, "",    "0",     kNone,                                  &Settings::bfoptimal,      cid::bfoptimal},

    // Text settings: the control's text.
    {"cqm",            cid::cqm,            EditList, Text,   kNoDefault, "",    "flat",  kNone,                                  &Settings::cqm,            cid::cqmLabel},
    {"aub",            cid::aub,            Field,    Text,   kDefault,   "64",  "64000", kNone,                                  &Settings::aub,            cid::aubLabel},
    {"fa",             cid::fa,             Label,    Text,   kDefault,   "0",   "0",     kNone,                                  &Settings::fa,             cid::deb_aLabel},
    {"mb",             cid::mb,             Digits,   Text,   kDefault,   "2",   "0",     Between(0, "0", 16, "16"),              &Settings::mb,             cid::mbLabel},
    {"bias",           cid::bias,           Field,    Text,   kDefault,   "0",   "0",     kNone,                                  &Settings::bias,           cid::biasLabel},
    {"fb",             cid::fb,             Label,    Text,   kDefault,   "0",   "0",     kNone,                                  &Settings::fb,             cid::deb_bLabel},
    {"value",          cid::value,          Field,    Text,   kDefault,   "26",  "0",     kByMode,                                &Settings::value,          cid::valueLabel},
    {"range",          cid::range,          Digits,   Text,   kDefault,   "16",  "0",     Between(0, "0", 64, "64"),              &Settings::range,          cid::merangeLabel},
    {"ref",            cid::ref,            Digits,   Text,   kDefault,   "1",   "0",     Between(0, "0", 16, "16"),              &Settings::ref,            cid::refLabel},
    {"arx",            cid::arx,            Digits,   Text,   kDefault,   "1",   "0",     kNone,                                  &Settings::arx,            cid::sarLabel},
    {"ary",            cid::ary,            Digits,   Text,   kDefault,   "1",   "0",     kNone,                                  &Settings::ary,            cid::sarLabel},
    {"thr",            cid::thr,            Field,    Text,   kDefault,   "1",   "0",     Between(0, "0", 4, "4"),                &Settings::thr,            cid::thrLabel},
    {"nr",             cid::nr,             Field,    Text,   kDefault,   "0",   "0",     kNone,                                  &Settings::nr,             cid::nrLabel},
    {"kfb",            cid::kfb,            Digits,   Text,   kDefault,   "40",  "0",     Between(0, "0", 900, "900"),            &Settings::kfb,            cid::kfbLabel},
    {"bfr",            cid::bfr,            Digits,   Text,   kDefault,   "30",  "0",     Between(0, "0", 900, "900"),            &Settings::bfr,            cid::bfrLabel},
    {"vbr",            cid::vbr,            Digits,   Text,   kDefault,   "60",  "0",     Between(0, "0", 100, "100"),            &Settings::vbr,            cid::vbrLabel},
    {"minqp",          cid::minqp,          Digits,   Text,   kDefault,   "10",  "0",     Between(1, "1", 51, "51"),              &Settings::minqp,          cid::minqpLabel},
    {"maxqp",          cid::maxqp,          Digits,   Text,   kDefault,   "51",  "0",     Between(1, "1", 51, "51"),              &Settings::maxqp,          cid::maxqpLabel},
    {"qps",            cid::qps,            Digits,   Text,   kDefault,   "4",   "0",     Between(1, "1", 50, "50"),              &Settings::qps,            cid::qpsLabel},
    {"vbs",            cid::vbs,            Field,    Text,   kNoDefault, "",    "0",     Between(0, "0", 240000, "240000"),      &Settings::vbs,            cid::vbsLabel},
    {"vmb",            cid::vmb,            Field,    Text,   kNoDefault, "",    "0",     AtLeast(0, "0"),                        &Settings::vmb,            cid::vmbLabel},
    {"vib",            cid::vib,            Field,    Text,   kNoDefault, "",    "0.9",   DecimalBetween(0.0, "0", 1.0, "1"),     &Settings::vib,            cid::vibLabel},
    // After a load the lower bound is 10; editing the field allows 0.
    {"bv",             cid::bv,             Digits,   Text,   kNoDefault, "",    "100",   Between(10, "10", 1000, "1000"),        &Settings::bv,             cid::bvLabel},
    {"sct",            cid::sct,            Digits,   Text,   kDefault,   "40",  "0",     Between(0, "0", 100, "100"),            &Settings::sct,            cid::sctLabel},
    {"mingop",         cid::mingop,         Digits,   Text,   kDefault,   "25",  "0",     kNone,                                  &Settings::mingop,         cid::mingopLabel},
    {"maxgop",         cid::maxgop,         Digits,   Text,   kDefault,   "250", "0",     kNone,                                  &Settings::maxgop,         cid::maxgopLabel},
    {"auto1pcrf",      cid::auto1pcrf,      Field,    Text,   kNoDefault, "",    "16",    kNone,                                  &Settings::auto1pcrf,      cid::auto1pcrfLabel},
    {"avsinc",         cid::avsinc,         List,     Text,   kNoDefault, "",    "",      kNone,                                  &Settings::avsinc,         cid::avsincLabel},
    {"maxsize",        cid::maxsize,        Field,    Text,   kNoDefault, "",    "110",   kNone,                                  &Settings::maxsize,        cid::maxsizeLabel},
    {"minsize",        cid::minsize,        Field,    Text,   kNoDefault, "",    "90",    kNone,                                  &Settings::minsize,        cid::minsizeLabel},
    {"dzinter",        cid::dzinter,        Field,    Text,   kNoDefault, "",    "21",    kNone,                                  &Settings::dzinter,        cid::dzinterLabel},
    {"dzintra",        cid::dzintra,        Field,    Text,   kNoDefault, "",    "11",    kNone,                                  &Settings::dzintra,        cid::dzintraLabel},
    {"aq1",            cid::aq1,            Field,    Text,   kNoDefault, "",    "1",     DecimalBetween(0.5, "0.5", 1.5, "1.5"), &Settings::aq1,            cid::aq1Label},
    {"chromaqpoffset", cid::chromaqpoffset, Field,    Text,   kNoDefault, "",    "0",     kNone,                                  &Settings::chromaqpoffset, cid::chromaqpoffsetLabel},
    {"psyrd_rdo",      cid::psyrd_rdo,      Field,    Text,   kNoDefault, "",    "1.0",   kNone,                                  &Settings::psyrd_rdo,      cid::psyrd_rdoLabel},
    {"psyrd_tre",      cid::psyrd_tre,      Field,    Text,   kNoDefault, "",    "0.0",   kNone,                                  &Settings::psyrd_tre,      cid::psyrd_treLabel},
};

constexpr KeylessControl kKeyless[] = {
    {"input",      cid::input,      Field,    &Settings::input,     cid::inputLabel},
    {"output",     cid::output,     Field,    &Settings::output,    cid::outputLabel},
    {"statsfile",  cid::statsfile,  Field,    &Settings::statsfile, cid::statsfileLabel},
    {"logfile",    cid::logfile,    Field,    &Settings::logfile,   cid::crelog},
    {"chromame",   cid::chromame,   Check,    &Settings::chromame,  cid::chromame},
    {"JobList",    cid::jobList,    ListBox,  {},                   cid::none},
    {"presetname", cid::presetname, EditList, {},                   cid::presetsLabel},
    {"biasbar",    cid::biasbar,    Track,    {},                   cid::biasLabel},
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

void Assign(bool& member, const Window& window, ControlId id) { member = window.state(id) == 1; }
void Assign(int& member, const Window& window, ControlId id) { member = window.state(id); }
void Assign(std::string& member, const Window& window, ControlId id) { member = window.text(id); }
template <class Enumeration>
requires std::is_enum_v<Enumeration>
void Assign(Enumeration& member, const Window& window, ControlId id) {
  member = static_cast<Enumeration>(window.state(id));
}

void ReadInto(Settings& settings, const SettingMember& member, const Window& window, ControlId id) {
  std::visit(
      [&](auto pointer) {
        if constexpr (!std::is_same_v<decltype(pointer), std::monostate>)
          Assign(settings.*pointer, window, id);
      },
      member);
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
