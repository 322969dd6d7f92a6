#pragma once

#include <string>
#include <string_view>

// The text with its ASCII capitals in lower case; every other byte stays.
inline std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}
