#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "settings/settings_value.h"
#include "ui/control_table.h"
#include "ui/window.h"

// How a setting is kept in a settings file: a number is the control's state
// (check 0/1, list index, track position), a text is the control's text.
enum class StoredForm { Number, Text };

// The range check a text setting gets after every load.
enum class ClampKind {
  None,     // any text
  Integer,  // compared by TextToInt
  Decimal,  // compared by TextToFloat
  ByMode,   // `value`: bounds follow the encode mode and `sizemode`
};

struct Clamp {
  ClampKind kind = ClampKind::None;
  bool hasMin = false;
  double min = 0;
  std::string_view minText;  // written when the value is below min
  bool hasMax = false;
  double max = 0;
  std::string_view maxText;  // written when the value is above max
};

// Where a control's value goes in the settings value; none for the controls
// a job never reads.
using SettingMember =
    std::variant<std::monostate, bool Settings::*, int Settings::*, std::string Settings::*,
                 EncodeMode Settings::*, AudioEncoder Settings::*, Muxer Settings::*>;

// A setting; what kind of control holds it is the control table's to say.
struct SettingSpec {
  std::string_view key;  // INI key, lower case, as written in a file
  ControlId id;
  StoredForm form;
  int defaultLine;              // its line of the built-in default set, from 1; 0: none
  std::string_view defaultIni;  // its value there (meaningful only with a line)
  std::string_view missing;     // value used when a loaded file lacks the key
  Clamp clamp;                  // range check after a load (text settings)
  SettingMember member;         // its place in the settings value
  ControlId label;              // the control whose caption names it on the window
};

// The 70 keyed settings in file order: the 34 number keys, then the 36 text keys.
std::span<const SettingSpec> SettingsCatalogue();
inline constexpr int kNumberSettingCount = 34;
inline constexpr int kTextSettingCount = 36;

// The built-in default set: a "key = value" line for each setting that has
// one, in the order of its lines, joined by CR LF, without a last line end.
// Its line 12, "bme = 0", belongs to no setting: it is never read.
const std::string& DefaultSettingsText();

// The setting with that key, compared without regard to case; nullptr if none.
const SettingSpec* FindSetting(std::string_view key);

// Controls that hold values but are never stored.
struct KeylessControl {
  std::string_view name;
  ControlId id;
  SettingMember member;
  ControlId label;
};
std::span<const KeylessControl> KeylessControls();

// A setting's value in its stored form, as the controls (or a value) hold
// it: number settings as decimal integer text (`ae` as twice its index),
// text settings as the control's text (the selected entry for `avsinc`, the
// edit text for `cqm`).
std::string StoredValue(const ControlValues& from, const SettingSpec& setting);

// Sets a number setting of a value from its stored number, as its control
// would hold it: a check box 0/1, a track position within its range, a list
// index it has (-1 for none). `ae` takes index ceil(v / 2); `aq` takes 1 for
// any non-zero number.
void SetStoredNumber(Settings& settings, const SettingSpec& setting, std::int64_t stored);

// Sets a text setting of a value from its stored text.
void SetStoredText(Settings& settings, const SettingSpec& setting, std::string_view text);

// Every setting and the key-less values a job uses, read from the window in
// one pass.
Settings ReadSettings(const Window& window);

// A settings value seen as the controls that show it: the state and text of
// each keyed and key-less control that has a place in the value.
class SettingsValues final : public ControlValues {
 public:
  explicit SettingsValues(const Settings& settings) : settings_(settings) {}
  std::string text(ControlId id) const override;
  int state(ControlId id) const override;

 private:
  const Settings& settings_;
};

// How the window names a setting or key-less field to the user: the caption
// of its label as it shows now (the label of `value` follows the encode
// mode), without the "&&" doubling and a trailing ":".
std::string FieldLabel(const Window& window, ControlId field);
