// standin.exe: plays the outside programs that the job batches call, for the
// end-to-end test. Copied as x264.exe, bepipe.exe, neroaacenc.exe and
// mp4box.exe, it does under each name just enough of that program's work for
// the batch lines that follow it, and records how it was called.
//
// Every run appends one record line, in UTF-8, to the file that the
// environment variable STANDIN_LOG names ("standin-log.txt" in the current
// directory when it is unset):
//
//   NAME <tab> TAIL <CR LF>
//
// NAME is the file name of this executable, lower-cased, without its folder;
// TAIL is everything of the command line that follows the program token,
// exactly as the caller passed it (quotes, blanks and all).
//
// Then, by NAME:
//   x264.exe        writes the file after "-o" unless it is "nul", and the
//                   file after "--stats" when "-p 1" is given; prints progress
//                   and the "-o" target to standard output, and a summary to
//                   standard error.
//   bepipe.exe      writes kAudioSamples bytes to standard output.
//   neroaacenc.exe  reads standard input to its end and writes what it read
//                   into the file after "-of". It records only after that, so
//                   that in a pipe its record follows the one of the program
//                   that feeds it.
//   mp4box.exe      does nothing more.
//
// The exit code is 0, or 1 when the environment variable STANDIN_FAIL names
// this program (with or without ".exe", in any case).
//
// x264.exe asked for "--longhelp" records nothing and answers as the
// environment variable STANDIN_HELP says: "current" (or unset) prints the
// help of an x264 of today, "pyramid-bare" one of mid-2009, "legacy" one of
// 2008, "none" prints nothing, "hang" never ends, "crash" ends by an access
// violation. When STANDIN_HELP_DELAY_MS gives a number, it answers only after
// that many milliseconds, as a large x264.exe does at its first start.

#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <string_view>

namespace {

constexpr int kAudioSamples = 1000;

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int count = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), count, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring Environment(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) return {};
  std::wstring value(length, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), length));
  return value;
}

// The file name of this executable, lower-cased.
std::wstring OwnName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return Lower(path.substr(path.find_last_of(L"\\/") + 1));
}

// What follows the program token of the command line, untouched. The token
// ends as the C runtime ends it: at the closing quote when it begins with
// one, otherwise at the first blank or tab.
std::wstring CommandTail() {
  std::wstring_view line = GetCommandLineW();
  size_t end = 0;
  if (!line.empty() && line[0] == L'"') {
    end = line.find(L'"', 1);
    end = end == std::wstring_view::npos ? line.size() : end + 1;
  } else {
    end = line.find_first_of(L" \t");
    if (end == std::wstring_view::npos) end = line.size();
  }
  return std::wstring(line.substr(end));
}

bool WriteAll(HANDLE target, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(target, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, bytes);
  return CloseHandle(file) && written;
}

// Appends the record with one write, so records of programs that run at the
// same time do not mix.
bool Record(const std::wstring& name, const std::wstring& tail) {
  std::wstring log = Environment(L"STANDIN_LOG");
  if (log.empty()) log = L"standin-log.txt";
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      const bool written = WriteAll(file, Utf8(name) + "\t" + Utf8(tail) + "\r\n");
      return CloseHandle(file) && written;
    }
    if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
    Sleep(10);
  }
  return false;
}

// The argument after the first one equal to `option`; empty when none.
std::wstring After(int argc, wchar_t** argv, std::wstring_view option) {
  for (int i = 1; i + 1 < argc; ++i)
    if (option == argv[i]) return argv[i + 1];
  return {};
}

bool Has(int argc, wchar_t** argv, std::wstring_view option, std::wstring_view value) {
  for (int i = 1; i + 1 < argc; ++i)
    if (option == argv[i] && value == argv[i + 1]) return true;
  return false;
}

bool X264(int argc, wchar_t** argv) {
  bool ok = true;
  const std::wstring output = After(argc, argv, L"-o");
  if (!output.empty() && Lower(output) != L"nul")
    ok = WriteWholeFile(output, "x264 stand-in video\r\n") && ok;
  if (Has(argc, argv, L"-p", L"1")) {
    const std::wstring stats = After(argc, argv, L"--stats");
    ok = !stats.empty() && WriteWholeFile(stats, "x264 stand-in stats\r\n") && ok;
  }
  WriteAll(GetStdHandle(STD_OUTPUT_HANDLE),
           "[50.0%] 1/2 frames\r\n[100.0%] 2/2 frames\r\nwritten to " + Utf8(output) + "\r\n");
  WriteAll(GetStdHandle(STD_ERROR_HANDLE), "encoded 2 frames\r\n");
  return ok;
}

// Lines as the helps of x264 of each time list their switches.
constexpr std::string_view kCurrentHelp =
    "x264 core:164 r3095 baee400\n"
    "Syntax: x264 [options] -o outfile infile\n"
    "      --b-pyramid <string>    Keep some B-frames as references [normal]\n"
    "      --no-progress           Don't show the progress indicator while encoding\n"
    "      --psnr                  Enable PSNR computation\n";
constexpr std::string_view kPyramidBareHelp =
    "x264 core:67 r1200 a1b2c3d\n"
    "  -b, --bframes <integer>     Number of B-frames between I and P [3]\n"
    "      --b-pyramid             Keep some B-frames as references\n"
    "      --no-progress           Don't show the progress indicator while encoding\n";
constexpr std::string_view kLegacyHelp =
    "x264 core:59 r808 4d83b4b\n"
    "      --b-pyramid             Keep some B-frames as references\n"
    "      --no-psnr               Disable PSNR computation\n"
    "      --progress              Show a progress indicator while encoding\n";

int LongHelp() {
  const std::wstring kind = Lower(Environment(L"STANDIN_HELP"));
  const std::wstring delay = Environment(L"STANDIN_HELP_DELAY_MS");
  if (!delay.empty()) Sleep(static_cast<DWORD>(std::wcstoul(delay.c_str(), nullptr, 10)));
  if (kind == L"hang") Sleep(INFINITE);
  if (kind == L"crash") *static_cast<volatile int*>(nullptr) = 1;
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (kind == L"legacy")
    WriteAll(out, kLegacyHelp);
  else if (kind == L"pyramid-bare")
    WriteAll(out, kPyramidBareHelp);
  else if (kind != L"none")
    WriteAll(out, kCurrentHelp);
  return 0;
}

bool Bepipe() {
  std::string samples(kAudioSamples, '\0');
  for (int i = 0; i < kAudioSamples; ++i) samples[i] = static_cast<char>(i * 7 & 0xFF);
  return WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), samples);
}

bool NeroAacEnc(int argc, wchar_t** argv, std::string& input) {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(in, buffer, sizeof buffer, &got, nullptr) && got > 0) input.append(buffer, got);
  const std::wstring output = After(argc, argv, L"-of");
  return !output.empty();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring name = OwnName();
  if (name == L"x264.exe" && argc == 2 && std::wstring_view(argv[1]) == L"--longhelp")
    return LongHelp();
  const std::wstring tail = CommandTail();
  const std::wstring fail = Lower(Environment(L"STANDIN_FAIL"));
  const bool failing = !fail.empty() && (fail == name || fail + L".exe" == name);

  bool ok = true;
  if (name == L"neroaacenc.exe") {
    std::string input;
    ok = NeroAacEnc(argc, argv, input);
    ok = Record(name, tail) && ok;
    if (ok) ok = WriteWholeFile(After(argc, argv, L"-of"), input);
  } else {
    ok = Record(name, tail);
    if (name == L"x264.exe")
      ok = X264(argc, argv) && ok;
    else if (name == L"bepipe.exe")
      ok = Bepipe() && ok;
  }
  return failing || !ok ? 1 : 0;
}
