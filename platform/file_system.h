#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The 8-bit code pages text is written in.
enum class CodePage {
  System,   // the ANSI code page: settings files, and the scripts AviSynth reads
  Console,  // the OEM code page: what the command interpreter reads batch files in
};

// A character that a conversion to the system's code page with best fit
// turns into another one ("\xEF\xBC\x82", the fullwidth quote, into "\""):
// the character and what it becomes, both in UTF-8.
struct BestFit {
  std::string character;
  std::string seenAs;
};

// How soon a written file must be on the disk: settings and batch files are
// flushed before they take the old file's place; generated scripts may stay
// in the system's cache.
enum class Durability { Flushed, Cached };

// What the program asks of the file system. Paths are Windows paths in
// UTF-8; file contents are raw bytes.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The folder of the program's own executable, ending with a backslash.
  virtual std::string programFolder() const = 0;

  // Creates one folder; false when it exists already or cannot be created.
  virtual bool createFolder(std::string_view path) = 0;

  // The whole content of a file, or nothing when it cannot be read.
  virtual std::optional<std::string> readFile(std::string_view path) const = 0;

  // Hands the content of a file to `sink` piece by piece, in order, until
  // the end or until `sink` returns false; false when the file cannot be
  // read. Memory stays that of one piece, whatever the size of the file.
  virtual bool readPieces(std::string_view path,
                          const std::function<bool(std::string_view)>& sink) const {
    std::optional<std::string> bytes = readFile(path);
    if (!bytes) return false;
    constexpr size_t kPiece = 1 << 16;
    for (size_t at = 0; at < bytes->size(); at += kPiece)
      if (!sink(std::string_view(*bytes).substr(at, kPiece))) break;
    return true;
  }

  // At most `limit` bytes of a file from `offset` on (fewer at its end),
  // or nothing when the file cannot be read. What another program appends
  // to a file is read this way, a piece at a time.
  virtual std::optional<std::string> readPart(std::string_view path, std::uint64_t offset,
                                              size_t limit) const {
    std::optional<std::string> bytes = readFile(path);
    if (!bytes || offset >= bytes->size()) return bytes ? std::optional<std::string>("") : bytes;
    return bytes->substr(static_cast<size_t>(offset), limit);
  }

  // The size of a file in bytes; nothing when there is no such file.
  virtual std::optional<std::uint64_t> fileSize(std::string_view path) const {
    std::optional<std::string> bytes = readFile(path);
    if (!bytes) return std::nullopt;
    return bytes->size();
  }

  // Creates or replaces a file with `bytes` in one step: the content goes to
  // a temporary file in the same folder, which then takes the file's place.
  // On any failure the old file stays as it was; false then.
  virtual bool writeFile(std::string_view path, std::string_view bytes,
                         Durability durability = Durability::Flushed) = 0;

  // Adds `bytes` at the end of a file, creating it when it does not exist,
  // and has them on the disk before it returns. A write cut short by the end
  // of the program leaves a part of them; false when nothing could be
  // written.
  virtual bool appendFile(std::string_view path, std::string_view bytes) = 0;

  // Whether a file or a folder is there.
  virtual bool exists(std::string_view path) const = 0;

  virtual bool deleteFile(std::string_view path) = 0;

  // Removes a folder with everything in it; false when something stays.
  virtual bool removeFolder(std::string_view path) = 0;

  // Names (without folder) of the files in `folder` that match `pattern`
  // ("*.ini"), in the order the system lists them; folders are skipped.
  virtual std::vector<std::string> listFiles(std::string_view folder,
                                             std::string_view pattern) const = 0;

  // Holds the file at `path` for this process alone until the token is
  // dropped or the process ends, in whatever way; nothing when another
  // process holds it.
  virtual std::shared_ptr<void> lock(std::string_view path) = 0;

  // Removes what writes of this program left in `folder` when it was ended
  // in the middle of one (a kill, a power cut); writes still under way in
  // another copy of the program are left alone.
  virtual void removeLeftovers(std::string_view /*folder*/) {}

  // The system's description of why the last write failed.
  virtual std::string lastErrorText() const = 0;

  // UTF-8 text in a code page, every character as it is; nothing when the
  // code page lacks one of them.
  virtual std::optional<std::string> encode(std::string_view utf8, CodePage page) const = 0;

  // The first character of the text that programs reading their command
  // line in the system's code page receive as another character: the C
  // runtime converts it with best fit, and a fullwidth quote or backslash
  // becomes a quote or backslash that splits the arguments anew. Nothing
  // when every character arrives as itself or as the default character.
  virtual std::optional<BestFit> bestFit(std::string_view /*utf8*/) const { return std::nullopt; }

  // UTF-8 text to the system's 8-bit code page and back; characters the
  // code page lacks become its default character.
  virtual std::string toCodePage(std::string_view utf8) const = 0;
  virtual std::string fromCodePage(std::string_view bytes) const = 0;

  // Writes UTF-8 text as a file in the system's code page.
  bool writeTextFile(std::string_view path, std::string_view utf8,
                     Durability durability = Durability::Flushed) {
    return writeFile(path, toCodePage(utf8), durability);
  }

  // Reads a text file as UTF-8. A file that begins with the UTF-8
  // byte-order mark is read as UTF-8 (the mark dropped), brought to what the
  // system's code page can show; any other file is read in the code page.
  std::optional<std::string> readTextFile(std::string_view path) const {
    std::optional<std::string> bytes = readFile(path);
    if (!bytes) return bytes;
    if (bytes->size() >= 3 && bytes->compare(0, 3, "\xEF\xBB\xBF") == 0)
      return fromCodePage(toCodePage(std::string_view(*bytes).substr(3)));
    return fromCodePage(*bytes);
  }
};
