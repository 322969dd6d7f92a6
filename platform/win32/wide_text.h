#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

// The one place where UTF-8 text of the program meets the UTF-16 of the
// Win32 API, and the system's 8-bit code page of the files it writes.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// UTF-8 to and from the system's ANSI code page; characters the code page
// lacks become its default character.
std::string ToSystemCodePage(std::string_view utf8);

// UTF-8 in an 8-bit code page, character for character; nothing when the
// code page lacks one (no "best fit" look-alikes either).
std::optional<std::string> EncodeExactly(unsigned codePage, std::string_view utf8);
std::string FromSystemCodePage(std::string_view bytes);

// The first character of the text that the code page turns into another
// character by best fit (not into its default character), and what it
// becomes; nothing when there is none.
std::optional<BestFit> FindBestFit(unsigned codePage, std::string_view utf8);
