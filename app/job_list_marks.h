#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "app/job_list.h"

// Runs of job list lines followed through the changes after them: a run
// moves with the lines inserted or removed before it, and is let go when a
// change touches one of its lines (the user edited, moved or removed it).
// A job queued before the encoder answered is marked so, to be written anew
// in its switches if it is still as it was queued.
class JobListMarks final : public JobListObserver {
 public:
  using Id = std::uint64_t;

  Id mark(size_t at, size_t count);
  struct Run {
    size_t at;
    size_t count;
  };
  // Where the run stands now; nothing when a change touched it.
  std::optional<Run> where(Id id) const;
  void release(Id id) { runs_.erase(id); }

  void onChange(const JobListChange& change) override;

 private:
  std::map<Id, Run> runs_;
  Id next_ = 1;
};
