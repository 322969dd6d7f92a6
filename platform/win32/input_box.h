#pragma once

#include <windows.h>

#include <optional>
#include <string>

// A small modal box with a prompt, a one-line text field that starts with
// `initial`, and an OK button. Enter confirms and gives the text; Escape or
// the close box dismisses it and gives nothing.
std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& title,
                                         const std::wstring& prompt, const std::wstring& initial);
