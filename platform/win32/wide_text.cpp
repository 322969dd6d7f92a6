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
