#pragma once

#include <cstddef>

// The length of the UTF-8 sequence that starts with `lead`: 1 to 4, or 0 for
// a byte that starts none (a continuation byte, C0, C1, F5 to FF).
constexpr size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC2) return 0;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return lead <= 0xF4 ? 4 : 0;
}
