// standin.exe: plays the outside programs that the job batches call, for the
// end-to-end test. Copied as x264.exe, bepipe.exe, neroaacenc.exe,
// mp4box.exe and mkvmerge.exe, it does under each name just enough of that
// program's work for the batch lines that follow it, prints what the real
// program prints, and records how it was called.
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
// What x264 and mkvmerge print are their recorded messages (tests/fixtures,
// compiled in), byte for byte, with the file name of the recording replaced
// by the one given where the message names it. Then, by NAME:
//   x264.exe        when its input (the last argument) exists: writes the
//                   file after "-o" unless it is "nul", and the file after
//                   "--stats" when "-p 1" is given; prints the messages of a
//                   finished encode to standard error, its progress updates
//                   spread over STANDIN_X264_SECONDS seconds (0.3 when unset);
//                   while the file that STANDIN_HOLD names exists, it repeats
//                   the last progress update every 250 ms before it ends.
//                   Exit code 0. When its input does not exist: leaves the
//                   "-o" file empty, prints the messages of a missing input
//                   and ends with x264's code for it, 255.
//   bepipe.exe      writes kAudioSamples bytes to standard output.
//   neroaacenc.exe  reads standard input to its end and writes what it read
//                   into the file after "-of". It records only after that, so
//                   that in a pipe its record follows the one of the program
//                   that feeds it.
//   mp4box.exe      does nothing more.
//   mkvmerge.exe    "-o FILE INPUTS...": when every input (every argument but
//                   "-o", its file and those beginning with "-") exists,
//                   writes the inputs one after the other into FILE and ends
//                   with 0; otherwise prints the messages of a missing input,
//                   naming the first missing one, to standard output, writes
//                   nothing and ends with mkvmerge's code for it, 2.
//
// When the environment variable STANDIN_TIMES names a file, every run but
// neroaacenc's appends to it when it began and when it ended:
//
//   begin|end MILLISECONDS NAME LAST-ARGUMENT <CR LF>
//
// The exit code is 1 instead when the environment variable STANDIN_FAIL
// names this program (with or without ".exe", in any case), and 1 when the
// stand-in cannot do its work.
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
#include <vector>

#include "recorded_messages.h"

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

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  bool read = true;
  while ((read = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0)
    bytes.append(buffer, got);
  return CloseHandle(file) && read;
}

// Appends a line with one write to a file that no other stand-in writes
// meanwhile, so lines of programs that run at the same time do not mix.
bool AppendLine(const std::wstring& path, const std::string& line) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      const bool written = WriteAll(file, line + "\r\n");
      return CloseHandle(file) && written;
    }
    if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
    Sleep(5);
  }
  return false;
}

bool Record(const std::wstring& name, const std::wstring& tail) {
  std::wstring log = Environment(L"STANDIN_LOG");
  if (log.empty()) log = L"standin-log.txt";
  return AppendLine(log, Utf8(name) + "\t" + Utf8(tail));
}

// "begin" or "end" of this run, when STANDIN_TIMES names a file: the word,
// the milliseconds since the system started, the program and its last
// argument.
void RecordTime(std::string_view word, const std::wstring& name, int argc, wchar_t** argv) {
  const std::wstring times = Environment(L"STANDIN_TIMES");
  if (times.empty()) return;
  AppendLine(times, std::string(word) + " " + std::to_string(GetTickCount64()) + " " + Utf8(name) +
                        " " + (argc > 1 ? Utf8(argv[argc - 1]) : std::string()));
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

// The recorded messages with the name of the recording's file replaced.
std::string Messages(std::string_view recording, std::string_view recordedName,
                     const std::wstring& name) {
  std::string text(Recorded(recording));
  const size_t at = text.find(recordedName);
  if (at != std::string::npos) text.replace(at, recordedName.size(), Utf8(name));
  return text;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The messages of a finished encode in pieces that each end with a carriage
// return: the first progress update with the lines before it, each further
// update, the blanking of the progress line, and the statistics with the
// summary.
std::vector<std::string_view> FinishedEncodePieces() {
  std::vector<std::string_view> pieces;
  std::string_view text = Recorded("x264/finished.txt");
  for (size_t end = text.find('\r'); end != std::string_view::npos; end = text.find('\r')) {
    pieces.push_back(text.substr(0, end + 1));
    text.remove_prefix(end + 1);
  }
  pieces.push_back(text);
  return pieces;
}

double EncodeSeconds() {
  const std::wstring text = Environment(L"STANDIN_X264_SECONDS");
  wchar_t* end = nullptr;
  const double seconds = std::wcstod(text.c_str(), &end);
  return !text.empty() && *end == L'\0' && seconds >= 0 && seconds < 3600 ? seconds : 0.3;
}

void PrintFinishedEncode() {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  const std::vector<std::string_view> pieces = FinishedEncodePieces();
  const DWORD pauseMs =
      static_cast<DWORD>(EncodeSeconds() * 1000 / static_cast<double>(pieces.size() - 1));
  const std::wstring hold = Environment(L"STANDIN_HOLD");
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) Sleep(pauseMs);
    // The blanking of the progress line follows the last update.
    if (i > 0 && pieces[i].starts_with(' ')) {
      while (!hold.empty() && Exists(hold)) {
        WriteAll(error, pieces[i - 1]);
        Sleep(250);
      }
    }
    WriteAll(error, pieces[i]);
  }
}

// x264's exit code, or 1 when a file cannot be written.
int X264(int argc, wchar_t** argv) {
  const std::wstring output = After(argc, argv, L"-o");
  const bool writesOutput = !output.empty() && Lower(output) != L"nul";
  const std::wstring input = argc > 1 ? argv[argc - 1] : L"";
  if (!Exists(input)) {
    if (writesOutput) WriteWholeFile(output, "");
    WriteAll(GetStdHandle(STD_ERROR_HANDLE),
             Messages("x264/missing-input.txt", "missing.y4m", input));
    return 255;
  }
  bool ok = true;
  if (writesOutput) ok = WriteWholeFile(output, "x264 stand-in video\r\n") && ok;
  if (Has(argc, argv, L"-p", L"1")) {
    const std::wstring stats = After(argc, argv, L"--stats");
    ok = !stats.empty() && WriteWholeFile(stats, "x264 stand-in stats\r\n") && ok;
  }
  PrintFinishedEncode();
  return ok ? 0 : 1;
}

// mkvmerge's exit code, or 1 when the output cannot be written.
int MkvMerge(int argc, wchar_t** argv) {
  const std::wstring output = After(argc, argv, L"-o");
  std::string joined;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view argument = argv[i];
    if (argument == L"-o") ++i;
    if (argument == L"-o" || argument.starts_with(L'-')) continue;
    std::string bytes;
    if (!ReadWholeFile(argv[i], bytes)) {
      WriteAll(GetStdHandle(STD_OUTPUT_HANDLE),
               Messages("mkvmerge/missing-input.txt", "missing.audio.mp4", argv[i]));
      return 2;
    }
    joined += bytes;
  }
  return !output.empty() && WriteWholeFile(output, joined) ? 0 : 1;
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

  int code = 0;
  if (name == L"neroaacenc.exe") {
    std::string input;
    bool ok = NeroAacEnc(argc, argv, input);
    ok = Record(name, tail) && ok;
    if (ok) ok = WriteWholeFile(After(argc, argv, L"-of"), input);
    code = ok ? 0 : 1;
  } else {
    const bool recorded = Record(name, tail);
    RecordTime("begin", name, argc, argv);
    if (name == L"x264.exe")
      code = X264(argc, argv);
    else if (name == L"mkvmerge.exe")
      code = MkvMerge(argc, argv);
    else if (name == L"bepipe.exe" && !Bepipe())
      code = 1;
    if (!recorded && code == 0) code = 1;
    RecordTime("end", name, argc, argv);
  }
  return failing ? 1 : code;
}
