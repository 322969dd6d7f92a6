#pragma once

#include <string>
#include <string_view>

// Puts a path into a batch line. The command interpreter reads "%" as the
// start of a variable, so every "%" of the path is doubled; otherwise the
// path is unchanged.
std::string DoublePercent(std::string_view path);

// The path in double quotes, with "%" doubled.
std::string QuotedPath(std::string_view path);
