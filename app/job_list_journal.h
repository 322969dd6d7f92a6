#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

// The job list as a file beside the program, kept up to date after every
// change, so that a crash, a kill or a power cut loses no queued line: the
// next start offers the lines back. A clean close removes it.
//
// The file holds a first line that names it, every line of the list, and a
// last line with their number, each ended by CR LF, in UTF-8; a file
// without its last line, or whose number does not match, is damaged.
//
// Two copies of the program running from one folder would write over each
// other's list. The first holds a lock file beside the journal as long as it
// runs (the system lets it go when the program ends in any way); a second
// copy finds it held and keeps no journal.
class JobListJournal {
 public:
  explicit JobListJournal(FileSystem& files);

  // Takes the journal for this run of the program; false when another
  // copy of the program running from this folder holds it. Recording takes
  // it too, when nothing has tried before.
  bool claim();
  bool claimed() const { return lock_ != nullptr; }

  // Whether record() writes: the journal is this program's (or can be).
  bool writable();

  // What an earlier run left.
  struct Found {
    enum class Kind { None, Lines, Damaged } kind = Kind::None;
    std::vector<std::string> lines;
  };
  Found read() const;

  // Writes the whole list, replacing the file in one step; an empty list
  // removes it. Nothing when the journal is not claimed. False when the
  // file could not be written: it is then removed, so that no start offers
  // back lines that are no longer the list.
  bool record(const std::vector<std::string>& lines);

  // Removes the journal: the list is not to be kept.
  void discard();

  // Puts a damaged journal aside under another name and gives that name.
  std::string setAside();

  std::string path() const;

 private:
  FileSystem& files_;
  std::shared_ptr<void> lock_;
  bool tried_ = false;
};

// The journal's text for the lines, and the lines of a journal's text
// (nothing when it is damaged).
std::string JournalText(const std::vector<std::string>& lines);
std::optional<std::vector<std::string>> JournalLines(std::string_view text);
