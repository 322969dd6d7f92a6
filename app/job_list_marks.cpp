#include "app/job_list_marks.h"

#include <iterator>

JobListMarks::Id JobListMarks::mark(size_t at, size_t count) {
  runs_[next_] = {at, count};
  return next_++;
}

std::optional<JobListMarks::Run> JobListMarks::where(Id id) const {
  auto found = runs_.find(id);
  if (found == runs_.end()) return std::nullopt;
  return found->second;
}

void JobListMarks::onChange(const JobListChange& change) {
  // The lines from `first` to `last` (included) changed in place.
  auto touches = [](const Run& run, size_t first, size_t last) {
    return first < run.at + run.count && last >= run.at;
  };
  for (auto it = runs_.begin(); it != runs_.end();) {
    Run& run = it->second;
    bool lost = false;
    switch (change.kind) {
      case JobListChange::Kind::Insert:
        if (change.at <= run.at)
          run.at += change.lines.size();
        else
          lost = change.at < run.at + run.count;
        break;
      case JobListChange::Kind::Remove:
        if (change.at + change.count <= run.at)
          run.at -= change.count;
        else
          lost = touches(run, change.at, change.at + change.count - 1);
        break;
      case JobListChange::Kind::Replace:
        lost = touches(run, change.at, change.at);
        break;
      case JobListChange::Kind::Swap:
        lost = touches(run, change.at, change.at + 1);
        break;
      case JobListChange::Kind::Clear:
        lost = true;
        break;
    }
    it = lost ? runs_.erase(it) : std::next(it);
  }
}
