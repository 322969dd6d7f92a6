#include "app/job_list_journal.h"

#include <charconv>

namespace {

constexpr std::string_view kName = "joblist.journal";
constexpr std::string_view kFirstLine = "quorvel job list";
constexpr std::string_view kLastLineStart = "end of ";
constexpr std::string_view kLastLineEnd = " lines";

// Whether the bytes are UTF-8, as the journal is written.
bool IsUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = lead < 0x80                    ? 1
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                    : lead >= 0xE0                 ? 3
                    : lead >= 0xC2                 ? 2
                                                   : 0;
    if (length == 0 || at + length > text.size()) return false;
    for (size_t i = 1; i < length; ++i)
      if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
    at += length;
  }
  return true;
}

}  // namespace

std::string JournalText(const std::vector<std::string>& lines) {
  size_t size = kFirstLine.size() + 32;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  text += kFirstLine;
  text += "\r\n";
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  text += kLastLineStart;
  text += std::to_string(lines.size());
  text += kLastLineEnd;
  text += "\r\n";
  return text;
}

std::optional<std::vector<std::string>> JournalLines(std::string_view text) {
  if (!IsUtf8(text)) return std::nullopt;
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string_view::npos) return std::nullopt;  // cut in the middle of a line
    const std::string_view line = text.substr(at, end - at);
    // A lone line break in a line would make two lines of a batch file.
    if (line.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
    lines.emplace_back(line);
    at = end + 2;
  }
  if (lines.size() < 2 || lines.front() != kFirstLine) return std::nullopt;
  const std::string_view last = lines.back();
  if (!last.starts_with(kLastLineStart) || !last.ends_with(kLastLineEnd)) return std::nullopt;
  const std::string_view number =
      last.substr(kLastLineStart.size(), last.size() - kLastLineStart.size() - kLastLineEnd.size());
  size_t count = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), count);
  if (error != std::errc() || end != number.data() + number.size() || count != lines.size() - 2)
    return std::nullopt;
  lines.pop_back();
  lines.erase(lines.begin());
  return lines;
}

JobListJournal::JobListJournal(FileSystem& files) : files_(files) {}

std::string JobListJournal::path() const { return files_.programFolder() + std::string(kName); }

bool JobListJournal::claim() {
  tried_ = true;
  if (!lock_) lock_ = files_.lock(path() + ".lock");
  return lock_ != nullptr;
}

bool JobListJournal::writable() { return lock_ != nullptr || (!tried_ && claim()); }

JobListJournal::Found JobListJournal::read() const {
  Found found;
  if (!lock_ || !files_.exists(path())) return found;
  const std::optional<std::string> text = files_.readFile(path());
  std::optional<std::vector<std::string>> lines = text ? JournalLines(*text) : std::nullopt;
  if (!lines) {
    found.kind = Found::Kind::Damaged;
  } else if (!lines->empty()) {
    found.kind = Found::Kind::Lines;
    found.lines = std::move(*lines);
  }
  return found;
}

bool JobListJournal::record(const std::vector<std::string>& lines) {
  if (!writable()) return true;
  if (lines.empty() || files_.writeFile(path(), JournalText(lines))) {
    if (lines.empty()) files_.deleteFile(path());
    return true;
  }
  files_.deleteFile(path());
  return false;
}

void JobListJournal::discard() {
  if (lock_) files_.deleteFile(path());
}

std::string JobListJournal::setAside() {
  const std::string aside = path() + ".damaged";
  const std::optional<std::string> bytes = files_.readFile(path());
  if (bytes && files_.writeFile(aside, *bytes)) files_.deleteFile(path());
  return aside;
}
