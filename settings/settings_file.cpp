#include "settings/settings_file.h"

#include <limits>

#include "settings/catalogue.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

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

constexpr std::string_view kDefaults =
    "a1 = 1\r\na2 = 1\r\na3 = 1\r\na4 = 0\r\na5 = 1\r\na6 = 1\r\ncab = 1\r\nmxref = 0\r\n"
    "tre = 0\r\nfil = 1\r\nbref = 0\r\nbme = 0\r\nba = 1\r\n"
    "bwb = 1\r\nmode = 1\r\ndm = 0\r\nm = 4\r\nms = 1\r\naud = 0\r\nae = 1\r\napin = 0\r\n"
    "aub = 64\r\nfa = 0\r\nmb = 2\r\nbias = 0\r\nfb = 0\r\n"
    "value = 26\r\nrange = 16\r\nref = 1\r\narx = 1\r\nary = 1\r\nthr = 1\r\nnr = 0\r\n"
    "kfb = 40\r\nbfr = 30\r\nvbr = 60\r\nminqp = 10\r\nmaxqp = 51\r\nqps = 4\r\nsct = 40\r\n"
    "mingop = 25\r\nmaxgop = 250\r\nmuxer = 0";

}  // namespace

SettingsFile SettingsFile::Parse(std::string_view text) {
  SettingsFile file;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;

    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') break;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view value = line.substr(equals + 1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    file.values_.emplace(LowerKey(TrimEnd(line.substr(0, equals))), std::string(value));
  }
  return file;
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

std::string SettingsFileText(const Window& window) {
  std::string text;
  for (const SettingSpec& setting : SettingsCatalogue()) {
    text += setting.key;
    text += " = ";
    text += StoredValue(window, setting);
    text += "\r\n";
  }
  return text;
}

std::string_view DefaultSettingsText() { return kDefaults; }
