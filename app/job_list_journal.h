#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/job_list.h"
#include "app/messages.h"
#include "platform/file_system.h"

// The job list as a file beside the program, kept up to date after every
// change, so that a crash, a kill or a power cut loses no queued line: the
// next start offers the lines back. A clean close removes it.
//
// Each change of the list appends one short record to the file, so that a
// change costs the same whatever the list's length; when the file has grown
// to about twice what the list holds, it is written anew with the list alone.
// The file, in UTF-8 with CR LF line ends, holds a first line that names it,
// then the records:
//
//   + AT N   and N lines: inserted before line AT
//   - AT N   N lines removed from line AT on
//   = AT     and one line: the line AT replaced
//   ~ AT     the lines AT and AT + 1 changed places
//   !        every line removed
//
// A record cut short by a crash is left out; anything else that does not
// read so makes the journal damaged. (A journal of the earlier kind, the
// whole list and a last line with its number, is read too.)
//
// Two copies of the program running from one folder would write over each
// other's list. The first holds a lock file beside the journal as long as it
// runs (the system lets it go when the program ends in any way); a second
// copy finds it held and keeps no journal.
class JobListJournal final : public JobListObserver {
 public:
  JobListJournal(FileSystem& files, const JobList& list, const Messages& messages);

  // Takes the journal for this run of the program; false when another
  // copy of the program running from this folder holds it. The first change
  // takes it too, when nothing has tried before.
  bool claim();
  bool claimed() const { return lock_ != nullptr; }

  // What an earlier run left.
  struct Found {
    enum class Kind { None, Lines, Damaged } kind = Kind::None;
    std::vector<std::string> lines;
  };
  Found read() const;

  // Follows a change of the list. A write that fails removes the file, so
  // that no start offers back lines that are no longer the list, calls
  // tells the user (once: every later change tries again, silently), and
  // has the next change write the whole list again.
  void onChange(const JobListChange& change) override;

  // Removes the journal: the list is not to be kept.
  void discard();

  // Puts a damaged journal aside under another name and gives that name.
  std::string setAside();

  std::string path() const;

 private:
  bool writable();
  // Writes the whole list as the journal's only record, in one step.
  bool rewrite();

  FileSystem& files_;
  const JobList& list_;
  const Messages& messages_;
  bool failureTold_ = false;
  std::shared_ptr<void> lock_;
  bool tried_ = false;
  // The bytes the file holds; 0 while it has not been written in this run
  // (or has been removed), when the next change writes the whole list.
  size_t written_ = 0;
};

// The journal's text that holds `lines` alone, and the record of a change.
std::string JournalText(const std::vector<std::string>& lines);
std::string JournalRecord(const JobListChange& change);

// The lines a journal's text leaves once its records are applied; nothing
// when it is damaged.
std::optional<std::vector<std::string>> JournalLines(std::string_view text);
