#include "app/job_list_journal.h"

#include <charconv>
#include <span>

#include "core/utf8.h"

namespace {

constexpr std::string_view kName = "joblist.journal";
constexpr std::string_view kHeader = "quorvel job list journal";
// The earlier kind of journal: the list, then "end of N lines".
constexpr std::string_view kWholeListHeader = "quorvel job list";
constexpr std::string_view kLastLineStart = "end of ";
constexpr std::string_view kLastLineEnd = " lines";
// A journal smaller than this is never written anew.
constexpr size_t kSmallestRewrite = 64 * 1024;

// Whether the bytes are UTF-8, as the journal is written.
bool IsUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[at]));
    if (length == 0 || at + length > text.size()) return false;
    for (size_t i = 1; i < length; ++i)
      if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
    at += length;
  }
  return true;
}

// The text's lines, each ended by CR LF; `cut` tells whether the text ends
// in the middle of a line. A lone CR or LF inside a line makes it nothing:
// the line would be two lines of a batch file.
std::optional<std::vector<std::string_view>> Lines(std::string_view text, bool& cut) {
  std::vector<std::string_view> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string_view::npos) {
      cut = true;
      break;
    }
    const std::string_view line = text.substr(at, end - at);
    if (line.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
    lines.push_back(line);
    at = end + 2;
  }
  return lines;
}

bool ReadNumber(std::string_view& text, size_t& number) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end == text.data()) return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return true;
}

// The earlier kind: every line, then "end of N lines".
std::optional<std::vector<std::string>> WholeList(const std::vector<std::string_view>& lines,
                                                  bool cut) {
  if (cut || lines.size() < 2) return std::nullopt;
  std::string_view last = lines.back();
  if (!last.starts_with(kLastLineStart) || !last.ends_with(kLastLineEnd)) return std::nullopt;
  last =
      last.substr(kLastLineStart.size(), last.size() - kLastLineStart.size() - kLastLineEnd.size());
  size_t count = 0;
  if (!ReadNumber(last, count) || !last.empty() || count != lines.size() - 2) return std::nullopt;
  return std::vector<std::string>(lines.begin() + 1, lines.end() - 1);
}

}  // namespace

std::string JournalText(const std::vector<std::string>& lines) {
  std::string text(kHeader);
  text += "\r\n";
  if (!lines.empty()) text += JournalRecord({JobListChange::Kind::Insert, 0, 0, lines});
  return text;
}

std::string JournalRecord(const JobListChange& change) {
  const std::string at = std::to_string(change.at);
  std::string record;
  switch (change.kind) {
    case JobListChange::Kind::Insert: {
      size_t size = 32;
      for (const std::string& line : change.lines) size += line.size() + 2;
      record.reserve(size);
      record += "+ " + at + " " + std::to_string(change.lines.size()) + "\r\n";
      for (const std::string& line : change.lines) {
        record += line;
        record += "\r\n";
      }
      break;
    }
    case JobListChange::Kind::Remove:
      record = "- " + at + " " + std::to_string(change.count) + "\r\n";
      break;
    case JobListChange::Kind::Replace:
      record = "= " + at + "\r\n" + change.lines[0] + "\r\n";
      break;
    case JobListChange::Kind::Swap:
      record = "~ " + at + "\r\n";
      break;
    case JobListChange::Kind::Clear:
      record = "!\r\n";
      break;
  }
  return record;
}

namespace {

// Makes one change of the list that a record stands for, with the lines
// that follow the record; false when the list cannot take it.
bool Replay(std::vector<std::string>& list, char kind, size_t at, size_t count,
            std::span<const std::string_view> following) {
  switch (kind) {
    case '+':
      if (at > list.size()) return false;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), following.begin(),
                  following.begin() + static_cast<std::ptrdiff_t>(count));
      return true;
    case '-':
      if (at + count > list.size()) return false;
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(at),
                 list.begin() + static_cast<std::ptrdiff_t>(at + count));
      return true;
    case '=':
      if (at >= list.size()) return false;
      list[at] = following.front();
      return true;
    case '~':
      if (at + 1 >= list.size()) return false;
      std::swap(list[at], list[at + 1]);
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<std::vector<std::string>> JournalLines(std::string_view text) {
  // What follows the last line end is a line cut short, which may end in
  // the middle of a character.
  const size_t complete = text.rfind("\r\n");
  if (!IsUtf8(text.substr(0, complete == std::string_view::npos ? 0 : complete)))
    return std::nullopt;
  bool cut = false;
  const std::optional<std::vector<std::string_view>> read = Lines(text, cut);
  if (!read || read->empty()) return std::nullopt;
  const std::vector<std::string_view>& lines = *read;
  if (lines.front() == kWholeListHeader) return WholeList(lines, cut);
  if (lines.front() != kHeader) return std::nullopt;
  std::vector<std::string> list;
  for (size_t i = 1; i < lines.size();) {
    std::string_view record = lines[i++];
    if (record.empty()) return std::nullopt;
    const char kind = record.front();
    record.remove_prefix(1);
    if (kind == '!') {
      if (!record.empty()) return std::nullopt;
      list.clear();
      continue;
    }
    size_t at = 0;
    size_t count = 1;
    if (!ReadNumber(record, at)) return std::nullopt;
    if ((kind == '+' || kind == '-') && !ReadNumber(record, count)) return std::nullopt;
    if (!record.empty()) return std::nullopt;
    // A record whose lines the file does not hold was cut short by the end
    // of the program: the list is what the records before it made.
    const size_t following = kind == '+' ? count : kind == '=' ? 1 : 0;
    if (lines.size() - i < following) return list;
    if (!Replay(list, kind, at, count, std::span(lines).subspan(i, following))) return std::nullopt;
    i += following;
  }
  return list;
}

JobListJournal::JobListJournal(FileSystem& files, const JobList& list, const Messages& messages)
    : files_(files), list_(list), messages_(messages) {}

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

bool JobListJournal::rewrite() {
  if (list_.size() == 0) {
    written_ = 0;
    return files_.deleteFile(path()) || !files_.exists(path());
  }
  const std::string text = JournalText(list_.lines());
  if (!files_.writeFile(path(), text)) return false;
  written_ = text.size();
  return true;
}

void JobListJournal::onChange(const JobListChange& change) {
  if (!writable()) return;
  bool done = false;
  // The list's own size, as the whole list's record would hold it.
  const size_t whole = list_.characters() + 2 * list_.size() + kHeader.size();
  if (written_ == 0 || list_.size() == 0 || written_ > 2 * whole + kSmallestRewrite) {
    done = rewrite();
  } else {
    const std::string record = JournalRecord(change);
    done = files_.appendFile(path(), record);
    if (done) written_ += record.size();
  }
  if (done) return;
  files_.deleteFile(path());
  written_ = 0;
  if (failureTold_) return;
  failureTold_ = true;
  messages_.tell("quorvel cannot keep the job list in\n" + path() + "\n\n" +
                 files_.lastErrorText() +
                 "\n\nShould quorvel end without being closed, the queued lines are lost; "
                 "\"Make BAT\" saves them.");
}

void JobListJournal::discard() {
  if (lock_) files_.deleteFile(path());
  written_ = 0;
}

std::string JobListJournal::setAside() {
  const std::string aside = path() + ".damaged";
  const std::optional<std::string> bytes = files_.readFile(path());
  if (bytes && files_.writeFile(aside, *bytes)) files_.deleteFile(path());
  return aside;
}
