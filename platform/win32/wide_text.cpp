#include "platform/win32/wide_text.h"

#include <windows.h>

#include <climits>

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

std::optional<std::string> EncodeExactly(unsigned codePage, std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return std::string();
  if (wide.size() > INT_MAX) return std::nullopt;
  const int count = static_cast<int>(wide.size());
  BOOL lacking = FALSE;
  const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), count, nullptr, 0,
                                    nullptr, &lacking);
  if (n <= 0 || lacking) return std::nullopt;
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), count, bytes.data(), n, nullptr,
                      &lacking);
  if (lacking) return std::nullopt;
  return bytes;
}
