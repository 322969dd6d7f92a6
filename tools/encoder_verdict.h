#pragma once

// teelog's verdict on an encode, from x264's messages as they pass through:
// the bytes arrive in pieces as they are read, a line may be split across
// pieces, and a line ends at a carriage return (x264 rewrites its progress
// line in place) or a line feed.
//
// The encode succeeded only when x264 printed its closing summary (a line
// beginning "encoded N frames") and printed no line containing "aborted at"
// (Ctrl+C, or an output that could not be written) and, once the encode had
// begun (its first "x264 [info]:" or progress line), none containing
// "x264 [error]:" (x264 goes on after some errors and still ends with its
// summary and exit code 0). The errors of its input readers before that
// ("ffms [error]:", "lavf [error]:", "avs [error]:" while it tries them in
// turn) fail nothing: it may fall back to another reader and encode. A
// killed encoder prints no summary.
//
// It keeps the last error line, the encoder's own when it printed one, to
// tell the user why an encode failed.
//
// Along the way it keeps the latest progress line, in any of the shapes x264
// prints it:
//   [12.3%] 34/276 frames, 45.67 fps, 123.45 kb/s, eta 0:00:05
//   34 frames: 45.67 fps, 123.45 kb/s                  (frame count unknown)
//   encoded frames: 34/276 (12.3%), 45.67 fps, eta 0:00:05   (builds of 2007)
//   encoded frames: 34, 45.67 fps                      (the same, count unknown)
//
// It keeps a few hundred bytes whatever the length of the output. No
// exceptions and no library beyond views, so that teelog stays small; the
// native tests read it too.

#include <cstddef>
#include <string_view>

namespace encoder_verdict {

// Finds a word in a stream of characters one at a time, keeping only how
// much of the word the latest characters spell.
class WordFinder {
 public:
  explicit constexpr WordFinder(std::string_view word) : word_(word) {}

  // True once the characters given since the last reset() held the word.
  constexpr bool found() const { return matched_ == word_.size(); }
  constexpr void reset() { matched_ = 0; }

  constexpr void take(char c) {
    if (found()) return;
    // Falls back to the longest start of the word that ends here. The words
    // are short, so trying each length is cheap, and a mismatch on the
    // first letter, the common case, costs one comparison.
    for (std::size_t length = matched_ + 1; length > 0; --length) {
      if (word_[length - 1] != c) continue;
      // (Views made by hand: substr() would bring the library's exceptions in.)
      const std::size_t shift = matched_ + 1 - length;
      if (std::string_view(word_.data(), length - 1) ==
          std::string_view(word_.data() + shift, length - 1)) {
        matched_ = length;
        return;
      }
    }
    matched_ = 0;
  }

 private:
  std::string_view word_;
  std::size_t matched_ = 0;
};

// Reads numbers and words off the front of a line.
class LineReader {
 public:
  explicit constexpr LineReader(std::string_view line) : rest_(line) {}

  constexpr bool word(std::string_view text) {
    if (!rest_.starts_with(text)) return false;
    rest_.remove_prefix(text.size());
    return true;
  }
  constexpr bool digits() {
    std::size_t count = 0;
    while (count < rest_.size() && rest_[count] >= '0' && rest_[count] <= '9') ++count;
    rest_.remove_prefix(count);
    return count > 0;
  }
  // Digits with an optional fraction: "12" or "12.3".
  constexpr bool decimal() { return digits() && (!word(".") || digits()); }

 private:
  std::string_view rest_;
};

// x264's closing summary: "encoded 276 frames, 45.67 fps, 123.45 kb/s".
constexpr bool IsSummary(std::string_view line) {
  LineReader reader(line);
  return reader.word("encoded ") && reader.digits() && reader.word(" frames");
}

constexpr bool IsProgress(std::string_view line) {
  LineReader known(line);
  if (known.word("[") && known.decimal() && known.word("%] ") && known.digits() &&
      known.word("/") && known.digits() && known.word(" frames, "))
    return true;
  LineReader unknown(line);
  if (unknown.digits() && unknown.word(" frames: ")) return true;
  LineReader old(line);
  return old.word("encoded frames: ") && old.digits() && (old.word("/") || old.word(", "));
}

class EncoderVerdict {
 public:
  // Longer lines are no progress lines and no summary; the words looked
  // for anywhere in a line are found however long it is.
  static constexpr std::size_t kLineKept = 160;
  // Of an error line, this much is kept.
  static constexpr std::size_t kErrorKept = 320;

  void take(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      const char c = data[i];
      if (c == '\r' || c == '\n') {
        endLine();
        continue;
      }
      if (length_ < kErrorKept) line_[length_] = c;
      ++length_;
      aborted_.take(c);
      error_.take(c);
      ownError_.take(c);
      abortSeen_ = abortSeen_ || aborted_.found();
    }
  }

  // The output has ended; its last line may lack its line end.
  void end() {
    if (length_ > 0) endLine();
  }

  bool succeeded() const { return summarySeen_ && !abortSeen_ && !errorSeen_; }

  // The last line that told of an error, the encoder's own when there is
  // one; empty when there was none.
  std::string_view lastError() const {
    return ownErrorLength_ ? std::string_view(ownErrorText_, ownErrorLength_)
                           : std::string_view(errorText_, errorLength_);
  }

  // The latest progress line without its trailing blanks; empty before the
  // first one.
  std::string_view status() const { return std::string_view(status_, statusLength_); }
  // Counts the progress lines read, so that a caller sees a new one even
  // when it reads as the one before.
  unsigned long statusCount() const { return statusCount_; }

 private:
  void endLine() {
    std::string_view kept(line_, length_ < kErrorKept ? length_ : kErrorKept);
    while (!kept.empty() && kept.back() == ' ') kept.remove_suffix(1);
    if (length_ <= kLineKept) {
      if (IsSummary(kept)) summarySeen_ = true;
      if (IsProgress(kept)) {
        for (std::size_t i = 0; i < kept.size(); ++i) status_[i] = kept[i];
        statusLength_ = kept.size();
        ++statusCount_;
        began_ = true;
      }
    }
    if (ownError_.found()) {
      errorSeen_ = errorSeen_ || began_;
      Keep(kept, ownErrorText_, ownErrorLength_);
    } else if (error_.found()) {
      Keep(kept, errorText_, errorLength_);
    }
    began_ = began_ || kept.starts_with("x264 [info]:");
    length_ = 0;
    aborted_.reset();
    error_.reset();
    ownError_.reset();
  }

  static void Keep(std::string_view line, char* to, std::size_t& length) {
    for (std::size_t i = 0; i < line.size(); ++i) to[i] = line[i];
    length = line.size();
  }

  char line_[kErrorKept] = {};
  std::size_t length_ = 0;  // of the whole line, of which kErrorKept are kept
  char status_[kLineKept] = {};
  std::size_t statusLength_ = 0;
  unsigned long statusCount_ = 0;
  WordFinder aborted_{"aborted at"};
  WordFinder error_{"[error]:"};
  WordFinder ownError_{"x264 [error]:"};
  char errorText_[kErrorKept] = {};
  std::size_t errorLength_ = 0;
  char ownErrorText_[kErrorKept] = {};
  std::size_t ownErrorLength_ = 0;
  bool began_ = false;
  bool summarySeen_ = false;
  bool abortSeen_ = false;
  bool errorSeen_ = false;
};

}  // namespace encoder_verdict
