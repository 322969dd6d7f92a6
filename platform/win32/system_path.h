#pragma once

#include <string>
#include <string_view>

// A path as the file functions of Windows take it: UTF-16, and, when it is
// as long as the classic limit of 260 characters allows no more, made
// absolute and written in the "\\?\" form, which has no such limit.
std::wstring SystemPath(std::string_view utf8);
std::wstring SystemPath(std::wstring path);
