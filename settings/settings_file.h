#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ui/window.h"

// The key lines of a settings file, as read. Lines end at CR, LF or both;
// leading blanks and tabs are skipped; ";" starts a comment; reading stops at
// the first "[" group line; the key ends at the first "=" and blanks and
// tabs around key and value are not part of them; keys compare without
// regard to case and the first occurrence counts. A line without "=" is
// ignored.
class SettingsFile {
 public:
  static SettingsFile Parse(std::string_view text);

  // A number key: the value's leading decimal integer (optional sign, then
  // digits; none gives 0). Nothing when the key is absent.
  std::optional<std::int64_t> number(std::string_view key) const;

  // A text key: the value with trailing blanks and tabs removed. Nothing
  // when the key is absent.
  std::optional<std::string> text(std::string_view key) const;

  size_t size() const { return values_.size(); }

 private:
  std::unordered_map<std::string, std::string> values_;  // lower-case key -> value
};

// The whole settings file for the current controls: the 70 key lines in
// catalogue order, "key = value", each ended by CR LF.
std::string SettingsFileText(const Window& window);

// The built-in default set: 43 key lines separated by CR LF, 403 bytes.
std::string_view DefaultSettingsText();
