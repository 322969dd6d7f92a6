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
#include <string_view>

#include "platform/win32/heap_text.h"
#include "size_bounds.h"

namespace {

using size_bounds::CompareWithBound;
using size_bounds::Decimal;
using size_bounds::kBytesPerMegabyte;
using size_bounds::ParseDecimal;
using size_bounds::Wide;

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
  if (!low || !high || size_bounds::Above(*low, *high) || argv[3][0] == L'\0') {
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
