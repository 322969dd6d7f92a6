#pragma once

#include <cstdint>
#include <functional>
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
// ignored. Only the values of the catalogue's keys are kept: a file of any
// size costs no more memory than they do.
class SettingsFile {
 public:
  static SettingsFile Parse(std::string_view text);

  // Reads the file piece by piece: feed() the bytes in order, then
  // finish(). Once complete() (a group line was read) the rest counts no
  // more and need not be fed.
  void feed(std::string_view bytes);
  void finish();
  bool complete() const { return complete_; }

  // Whether the file began with the UTF-8 byte-order mark (which is not
  // part of the first line).
  bool utf8() const { return utf8_; }

  // Replaces every value by `convert(value)`: the values as the file holds
  // them, brought to the program's text.
  void convertValues(const std::function<std::string(std::string_view)>& convert);

  // A number key: the value's leading decimal integer (optional sign, then
  // digits; none gives 0). Nothing when the key is absent.
  std::optional<std::int64_t> number(std::string_view key) const;

  // A text key: the value with trailing blanks and tabs removed. Nothing
  // when the key is absent.
  std::optional<std::string> text(std::string_view key) const;

  size_t size() const { return values_.size(); }

 private:
  enum class LineState { Start, Key, ValueStart, Value, Skip };
  void scan(std::string_view bytes);
  void endLine();
  // The first character of a line that is not a blank, a character of the
  // key, and one of the value.
  void startLine(char c);
  void takeKey(char c, bool blank);
  void takeValue(char c, bool blank);

  std::unordered_map<std::string, std::string> values_;  // lower-case key -> value
  std::string head_;  // the first bytes, until the mark is ruled in or out
  LineState state_ = LineState::Start;
  std::string key_;       // the key read so far
  size_t blanks_ = 0;     // blanks after it, not yet known to be inside it
  std::string valueKey_;  // the key whose value is being read
  std::string value_;     // the value read so far
  std::string pending_;   // blanks after it, not yet known to be inside it
  bool started_ = false;  // the first bytes have been looked at for the mark
  bool complete_ = false;
  bool utf8_ = false;
};

// The whole settings file for the controls (or a settings value): the 70 key lines in
// catalogue order, "key = value", each ended by CR LF.
std::string SettingsFileText(const ControlValues& from);
