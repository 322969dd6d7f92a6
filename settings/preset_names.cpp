#include "settings/preset_names.h"

#include <algorithm>
#include <string>

namespace {

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

// CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9 and COM or LPT with a
// superscript 1, 2 or 3, with or without an extension.
bool IsDeviceName(std::string_view name) {
  const std::string stem = UpperAscii(name.substr(0, name.find('.')));
  for (const char* device : {"CON", "PRN", "AUX", "NUL"})
    if (stem == device) return true;
  if (!stem.starts_with("COM") && !stem.starts_with("LPT")) return false;
  const std::string_view number = std::string_view(stem).substr(3);
  if (number.size() == 1) return number[0] >= '1' && number[0] <= '9';
  return number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

}  // namespace

bool IsPresetName(std::string_view name) {
  if (name.empty() || name.find("..") != std::string_view::npos) return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  const bool forbidden = std::any_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
  });
  return !forbidden && !IsDeviceName(name);
}
