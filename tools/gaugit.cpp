// gaugit.exe MIN MAX FILE
//
// Checks whether the size of FILE lies between MIN and MAX megabytes
// (1 MB = 1,048,576 bytes), both bounds included. The bounds are decimal
// numbers written with a dot ("90", "89.5"); the comparison is exact.
//
// Exit codes: 0 within the bounds; 1 outside them, or FILE missing; 2 on a
// wrong command line (wrong number of arguments, a bound that is not a number,
// MIN above MAX). The job lines run the second pass on any code of 1 or more.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "tool_text.h"

namespace {

using Wide = unsigned __int128;

constexpr std::uint64_t kBytesPerMegabyte = 1048576;

// A bound as the exact fraction digits / 10^scale.
struct Decimal {
  std::uint64_t digits = 0;
  unsigned scale = 0;
};

Wide PowerOfTen(unsigned exponent) {
  Wide result = 1;
  while (exponent-- > 0) result *= 10;
  return result;
}

// Digits with at most one dot and at least one digit: "90", "89.5", ".5",
// "5.". Up to 19 significant digits and 18 decimals are kept exactly; longer
// numbers are refused rather than rounded.
std::optional<Decimal> ParseDecimal(std::wstring_view text) {
  // (Views made by hand: substr() would bring the library's exceptions in.)
  std::wstring_view whole = text;
  std::wstring_view fraction;
  if (const size_t dot = text.find(L'.'); dot != std::wstring_view::npos) {
    whole = std::wstring_view(text.data(), dot);
    fraction = std::wstring_view(text.data() + dot + 1, text.size() - dot - 1);
  }
  if (whole.empty() && fraction.empty()) return std::nullopt;
  auto allDigits = [](std::wstring_view part) {
    for (wchar_t c : part)
      if (c < L'0' || c > L'9') return false;
    return true;
  };
  if (!allDigits(whole) || !allDigits(fraction)) return std::nullopt;
  while (!whole.empty() && whole.front() == L'0') whole.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == L'0') fraction.remove_suffix(1);
  if (fraction.size() > 18 || whole.size() + fraction.size() > 19) return std::nullopt;
  Decimal value;
  for (wchar_t c : whole) value.digits = value.digits * 10 + static_cast<unsigned>(c - L'0');
  for (wchar_t c : fraction) value.digits = value.digits * 10 + static_cast<unsigned>(c - L'0');
  value.scale = static_cast<unsigned>(fraction.size());
  return value;
}

// -1, 0 or 1 as bytes is below, equal to or above the bound in megabytes.
int CompareWithBound(std::uint64_t bytes, const Decimal& bound) {
  Wide left = Wide{bytes} * PowerOfTen(bound.scale);
  Wide right = Wide{bound.digits} * kBytesPerMegabyte;
  return left < right ? -1 : left > right ? 1 : 0;
}

bool Above(const Decimal& a, const Decimal& b) {
  return Wide{a.digits} * PowerOfTen(b.scale) > Wide{b.digits} * PowerOfTen(a.scale);
}

// Writes text to a console as it is, or in the console's code page when the
// stream goes to a file or a pipe.
void WriteText(DWORD stream, const WideText& text) {
  HANDLE handle = GetStdHandle(stream);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  UINT codePage = GetConsoleOutputCP();
  if (codePage == 0) codePage = CP_ACP;
  const int count = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(codePage, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
  ByteText bytes;
  if (length <= 0 || !bytes.reserve(static_cast<std::size_t>(length))) return;
  WideCharToMultiByte(codePage, 0, text.data(), count, bytes.buffer(), length, nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(length));
  WriteAll(handle, bytes.data(), bytes.size());
}

void WriteText(DWORD stream, const wchar_t* text) {
  WideText wide;
  wide.append(text);
  WriteText(stream, wide);
}

// "1.43": megabytes rounded to two decimals, without floating point.
void AppendMegabytes(WideText& text, std::uint64_t bytes) {
  const Wide hundredths = (Wide{bytes} * 100 + kBytesPerMegabyte / 2) / kBytesPerMegabyte;
  text.appendNumber(static_cast<std::uint64_t>(hundredths / 100));
  const auto rest = static_cast<unsigned>(hundredths % 100);
  text.append(rest < 10 ? L".0" : L".");
  text.appendNumber(rest);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::optional<Decimal> low = argc == 4 ? ParseDecimal(argv[1]) : std::nullopt;
  std::optional<Decimal> high = argc == 4 ? ParseDecimal(argv[2]) : std::nullopt;
  if (!low || !high || Above(*low, *high) || argv[3][0] == L'\0') {
    WriteText(STD_ERROR_HANDLE,
              L"usage: gaugit.exe MIN MAX FILE\r\n"
              L"  exit code 0 when the size of FILE lies between MIN and MAX megabytes\r\n"
              L"  (1 MB = 1048576 bytes, bounds included, MIN not above MAX), 1 when not\r\n");
    return 2;
  }
  const wchar_t* file = argv[3];
  WideText text;
  text.append(L"gaugit: \"");
  text.append(file);
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!GetFileAttributesExW(file, GetFileExInfoStandard, &attributes) ||
      (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    text.append(L"\" not found: outside the bounds\r\n");
    WriteText(STD_OUTPUT_HANDLE, text);
    return 1;
  }
  const std::uint64_t bytes =
      (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
  const bool within = CompareWithBound(bytes, *low) >= 0 && CompareWithBound(bytes, *high) <= 0;
  text.append(L"\" has ");
  text.appendNumber(bytes);
  text.append(L" bytes (");
  AppendMegabytes(text, bytes);
  text.append(L" MB): ");
  text.append(within ? L"within " : L"outside ");
  text.append(argv[1]);
  text.append(L" to ");
  text.append(argv[2]);
  text.append(L" MB\r\n");
  WriteText(STD_OUTPUT_HANDLE, text);
  return within ? 0 : 1;
}
