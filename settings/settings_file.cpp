#include "settings/settings_file.h"

#include <algorithm>
#include <limits>

#include "core/ascii.h"
#include "settings/catalogue.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Blanks inside a value beyond this many are taken as one run of this
// length: a value with a megabyte of blanks in it is no setting.
constexpr size_t kLongestRunOfBlanks = 1 << 16;

// The longest key of the catalogue: a longer one is none of its keys.
size_t LongestKey() {
  static const size_t longest = [] {
    size_t n = 0;
    for (const SettingSpec& setting : SettingsCatalogue()) n = std::max(n, setting.key.size());
    return n;
  }();
  return longest;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string LowerKey(std::string_view key) {
  std::string lower(key);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The leading decimal integer of a value, held within 64 bits.
std::int64_t LeadingInteger(std::string_view value) {
  size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
  std::int64_t result = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    const int digit = value[i] - '0';
    result = result > (kLimit - digit) / 10 ? kLimit : result * 10 + digit;
  }
  return negative ? -result : result;
}

}  // namespace

SettingsFile SettingsFile::Parse(std::string_view text) {
  SettingsFile file;
  file.feed(text);
  file.finish();
  return file;
}

void SettingsFile::feed(std::string_view bytes) {
  if (!started_) {
    // The mark is looked for in the first three bytes, however they come.
    const size_t wanted = std::min(kByteOrderMark.size() - head_.size(), bytes.size());
    head_.append(bytes.substr(0, wanted));
    bytes.remove_prefix(wanted);
    if (head_.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(head_)) return;
    started_ = true;
    utf8_ = head_ == kByteOrderMark;
    if (!utf8_) scan(head_);
    head_.clear();
  }
  scan(bytes);
}

void SettingsFile::finish() {
  if (!started_) {
    started_ = true;
    scan(head_);
    head_.clear();
  }
  endLine();
}

// One pass over the bytes that keeps only the values of catalogue keys:
// blanks are counted rather than stored until something follows them, and a
// line whose key cannot be one of the catalogue's is passed over to its end.
void SettingsFile::scan(std::string_view bytes) {
  for (char c : bytes) {
    if (complete_) return;
    if (c == '\r' || c == '\n') {
      endLine();
      continue;
    }
    const bool blank = IsBlank(c);
    switch (state_) {
      case LineState::Start:
        if (!blank) startLine(c);
        break;
      case LineState::Key:
        takeKey(c, blank);
        break;
      case LineState::ValueStart:
        if (blank) break;
        state_ = LineState::Value;
        value_ += c;
        break;
      case LineState::Value:
        takeValue(c, blank);
        break;
      case LineState::Skip:
        break;
    }
  }
}

void SettingsFile::startLine(char c) {
  if (c == '[') {
    complete_ = true;
  } else if (c == ';' || c == '=') {
    state_ = LineState::Skip;  // a comment, or an empty key
  } else {
    key_.assign(1, c);
    state_ = LineState::Key;
  }
}

void SettingsFile::takeKey(char c, bool blank) {
  if (c == '=') {
    std::string key = LowerKey(key_);
    state_ = LineState::Skip;
    if (FindSetting(key) && !values_.contains(key)) {
      valueKey_ = std::move(key);
      state_ = LineState::ValueStart;
    }
  } else if (blank) {
    ++blanks_;
  } else {
    key_.append(blanks_, ' ');
    blanks_ = 0;
    key_ += c;
    if (key_.size() > LongestKey()) state_ = LineState::Skip;
  }
}

void SettingsFile::takeValue(char c, bool blank) {
  if (!blank) {
    value_ += pending_;
    pending_.clear();
    value_ += c;
  } else if (pending_.size() < kLongestRunOfBlanks) {
    pending_ += c;
  }
}

void SettingsFile::endLine() {
  if (state_ == LineState::ValueStart || state_ == LineState::Value)
    values_.emplace(valueKey_, std::move(value_));
  state_ = LineState::Start;
  key_.clear();
  value_.clear();
  pending_.clear();
  blanks_ = 0;
}

void SettingsFile::convertValues(const std::function<std::string(std::string_view)>& convert) {
  for (auto& [key, value] : values_) value = convert(value);
}

std::optional<std::int64_t> SettingsFile::number(std::string_view key) const {
  auto found = values_.find(LowerKey(key));
  if (found == values_.end()) return std::nullopt;
  return LeadingInteger(found->second);
}

std::optional<std::string> SettingsFile::text(std::string_view key) const {
  auto found = values_.find(LowerKey(key));
  if (found == values_.end()) return std::nullopt;
  return std::string(TrimEnd(found->second));
}

std::string SettingsFileText(const ControlValues& from) {
  std::string text;
  for (const SettingSpec& setting : SettingsCatalogue()) {
    text += setting.key;
    text += " = ";
    text += StoredValue(from, setting);
    text += "\r\n";
  }
  return text;
}
