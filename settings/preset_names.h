#pragma once

#include <string_view>

// Whether a preset name makes a file directly inside "configs": no path
// separator, no "..", no colon, none of the characters Windows forbids in a
// file name, not a device name (CON, NUL, COM1, ...), and no blank or dot at
// its end, which Windows would drop.
bool IsPresetName(std::string_view name);

// What the user is told when a name is refused.
inline constexpr std::string_view kPresetNameRule =
    "A preset name is the name of a file in the \"configs\" folder: it may not hold \\ / : * ? "
    "\" < > | or \"..\", end with a dot or a blank, or be a device name such as CON or NUL.";
