#include "platform/win32/wide_text.h"

#include <windows.h>

#include <climits>

#include "platform/code_page_rules.h"

namespace {

std::wstring Decode(UINT codePage, std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  int n =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return wide;
}

std::string Encode(UINT codePage, std::wstring_view wide) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n,
                      nullptr, nullptr);
  return bytes;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return Decode(CP_UTF8, utf8); }
std::string Narrow(std::wstring_view wide) { return Encode(CP_UTF8, wide); }
std::string ToSystemCodePage(std::string_view utf8) { return Encode(CP_ACP, Widen(utf8)); }
std::string FromSystemCodePage(std::string_view bytes) { return Narrow(Decode(CP_ACP, bytes)); }

namespace {

// The number the code page stands for (CP_ACP and CP_OEMCP are names of
// others).
unsigned ActualCodePage(unsigned codePage) {
  if (codePage == CP_ACP) return GetACP();
  if (codePage == CP_OEMCP) return GetOEMCP();
  return codePage;
}

// `wide` in the code page; nothing when a character is missing or only a
// look-alike stands for it.
std::optional<std::string> EncodeWide(unsigned codePage, std::wstring_view wide) {
  if (wide.empty()) return std::string();
  if (wide.size() > INT_MAX) return std::nullopt;
  const int count = static_cast<int>(wide.size());
  const CodePageRules rules = RulesOfCodePage(ActualCodePage(codePage));
  const DWORD flags = rules.takesFlags       ? WC_NO_BEST_FIT_CHARS
                      : rules.rejectsInvalid ? WC_ERR_INVALID_CHARS
                                             : 0;
  BOOL lacking = FALSE;
  BOOL* lackingOut = rules.takesFlags ? &lacking : nullptr;
  const int n =
      WideCharToMultiByte(codePage, flags, wide.data(), count, nullptr, 0, nullptr, lackingOut);
  if (n <= 0 || lacking) return std::nullopt;
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), count, bytes.data(), n, nullptr, lackingOut);
  if (lacking) return std::nullopt;
  // Without the pointer the code page cannot say what it lacks: what does
  // not come back as it went is missing.
  if (!rules.takesFlags && !rules.spellsEverything && Decode(codePage, bytes) != wide)
    return std::nullopt;
  return bytes;
}

// The length of the UTF-16 character at `at` (a surrogate pair is one).
size_t CharacterLength(std::wstring_view wide, size_t at) {
  return IS_HIGH_SURROGATE(wide[at]) && at + 1 < wide.size() && IS_LOW_SURROGATE(wide[at + 1]) ? 2
                                                                                               : 1;
}

}  // namespace

std::optional<std::string> EncodeExactly(unsigned codePage, std::string_view utf8) {
  return EncodeWide(codePage, Widen(utf8));
}

std::optional<BestFit> FindBestFit(unsigned codePage, std::string_view utf8) {
  if (RulesOfCodePage(ActualCodePage(codePage)).spellsEverything) return std::nullopt;
  const std::wstring wide = Widen(utf8);
  for (size_t at = 0; at < wide.size();) {
    const size_t length = CharacterLength(wide, at);
    const std::wstring_view character(wide.data() + at, length);
    at += length;
    if (character.size() == 1 && character.front() < 0x80) continue;
    if (EncodeWide(codePage, character)) continue;  // it is in the code page
    // What a conversion that allows best fit makes of it, unless that is
    // the code page's default character.
    BOOL defaulted = FALSE;
    const bool reports = RulesOfCodePage(ActualCodePage(codePage)).takesFlags;
    char bytes[16] = {};
    const int n = WideCharToMultiByte(codePage, 0, character.data(), static_cast<int>(length),
                                      bytes, sizeof bytes, nullptr, reports ? &defaulted : nullptr);
    if (n <= 0 || defaulted) continue;
    const std::wstring seen = Decode(codePage, std::string_view(bytes, static_cast<size_t>(n)));
    if (seen.empty() || seen == character) continue;
    return BestFit{Narrow(character), Narrow(seen)};
  }
  return std::nullopt;
}
