#pragma once

#include <string_view>

// Whether a file name matches a pattern of "*" (any run of characters) and
// "?" (any one character), without regard to ASCII case, as file names do.
bool WildcardMatch(std::string_view name, std::string_view pattern);
