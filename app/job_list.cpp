#include "app/job_list.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "jobs/job_line.h"
#include "jobs/job_spans.h"

size_t JobList::appendJob(const std::vector<std::string>& body) { return appendJobs({body}); }

size_t JobList::appendJobs(const std::vector<std::vector<std::string>>& bodies) {
  std::vector<std::string> framed;
  for (const std::vector<std::string>& body : bodies) {
    const std::vector<std::string> job = FramedJob(body);
    framed.insert(framed.end(), job.begin(), job.end());
  }
  return appendJobLines(std::move(framed));
}

size_t JobList::appendJobLines(std::vector<std::string> lines) {
  // A job after the shut-down line would never run.
  size_t at = lines_.size();
  while (at > 0 && ReadJobLine(lines_[at - 1]).kind == LineKind::Shutdown) --at;
  insert(at, std::move(lines));
  return at;
}

void JobList::append(std::string line) { insert(lines_.size(), {std::move(line)}); }

void JobList::insert(size_t at, std::vector<std::string> lines) {
  if (lines.empty()) return;
  apply({JobListChange::Kind::Insert, std::min(at, lines_.size()), 0, std::move(lines)});
}

void JobList::replace(size_t at, std::string line) {
  if (at >= lines_.size()) return;
  apply({JobListChange::Kind::Replace, at, 0, {std::move(line)}});
}

void JobList::swap(size_t at) {
  if (at + 1 >= lines_.size()) return;
  apply({JobListChange::Kind::Swap, at, 0, {}});
}

void JobList::remove(size_t at, size_t count) {
  if (at >= lines_.size() || count == 0) return;
  apply({JobListChange::Kind::Remove, at, std::min(count, lines_.size() - at), {}});
}

void JobList::clear() { apply({JobListChange::Kind::Clear, 0, 0, {}}); }

void JobList::toggleDisabled(size_t at) {
  if (at >= lines_.size()) return;
  const std::string& line = lines_[at];
  replace(at, line.starts_with(kDisabledPrefix) ? line.substr(kDisabledPrefix.size())
                                                : std::string(kDisabledPrefix) + line);
}

void JobList::removeJobAround(size_t at) {
  if (at >= lines_.size()) return;
  const std::optional<JobFrame> job = JobFrameAt(jobs_, at);
  if (!job) return remove(at, 1);
  remove(job->first, job->count);
}

void JobList::apply(JobListChange change) {
  auto count = [](const std::vector<std::string>& lines, size_t from, size_t to) {
    size_t n = 0;
    for (size_t i = from; i < to; ++i) n += lines[i].size();
    return n;
  };
  switch (change.kind) {
    case JobListChange::Kind::Insert:
      characters_ += count(change.lines, 0, change.lines.size());
      lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(change.at), change.lines.begin(),
                    change.lines.end());
      UpdateJobFrames(jobs_, lines_, change.at, 0, change.lines.size());
      break;
    case JobListChange::Kind::Remove:
      characters_ -= count(lines_, change.at, change.at + change.count);
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(change.at),
                   lines_.begin() + static_cast<std::ptrdiff_t>(change.at + change.count));
      UpdateJobFrames(jobs_, lines_, change.at, change.count, 0);
      break;
    case JobListChange::Kind::Replace:
      characters_ = characters_ - lines_[change.at].size() + change.lines[0].size();
      lines_[change.at] = change.lines[0];
      UpdateJobFrames(jobs_, lines_, change.at, 1, 1);
      break;
    case JobListChange::Kind::Swap:
      std::swap(lines_[change.at], lines_[change.at + 1]);
      UpdateJobFrames(jobs_, lines_, change.at, 2, 2);
      break;
    case JobListChange::Kind::Clear:
      lines_.clear();
      jobs_.clear();
      characters_ = 0;
      break;
  }
  for (JobListObserver* observer : observers_) observer->onChange(change);
}
