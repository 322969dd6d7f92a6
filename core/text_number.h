#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads a control's text as a signed 64-bit integer: blanks and tabs are
// skipped, then an optional sign, then decimal digits up to the first other
// character ("$" introduces hexadecimal, "%" base-2 digits). No digits: 0.
// Values beyond 64 bits wrap around; nothing is refused.
std::int64_t TextToInt(std::string_view text);

// Reads a control's text as a 32-bit float from its longest leading decimal
// number (optional sign, digits, point, fraction, exponent) after leading
// white space. No number: 0.
float TextToFloat(std::string_view text);

// A value computed for a command line: fixed point, six digits after the
// point, no exponent (1.4f gives "1.400000").
std::string DecimalText(float value);

// An integer as plain decimal text with a leading "-" when negative.
std::string IntegerText(std::int64_t value);
