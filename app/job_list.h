#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "jobs/job_spans.h"

// One change of the job list: what the list box and the journal follow.
struct JobListChange {
  enum class Kind {
    Insert,   // `lines` inserted before the line at `at`
    Remove,   // `count` lines removed from `at` on
    Replace,  // the line at `at` becomes `lines[0]`
    Swap,     // the lines at `at` and `at + 1` change places
    Clear,    // every line removed
  };
  Kind kind = Kind::Clear;
  size_t at = 0;
  size_t count = 0;
  std::vector<std::string> lines;
};

// Told of every change, after the list has taken it.
class JobListObserver {
 public:
  virtual ~JobListObserver() = default;
  virtual void onChange(const JobListChange& change) = 0;
};

// The job list: the batch lines the user has queued, in order, with the
// operations of the commands on it. The list box shows it; the journal keeps
// it; nothing reads the list back from either.
class JobList {
 public:
  const std::vector<std::string>& lines() const { return lines_; }
  size_t size() const { return lines_.size(); }
  const std::string& operator[](size_t index) const { return lines_[index]; }
  // The characters of all lines together, line ends not counted.
  size_t characters() const { return characters_; }
  // The jobs of the list by their frames, kept in step with each change.
  const std::vector<JobFrame>& jobs() const { return jobs_; }

  void addObserver(JobListObserver& observer) { observers_.push_back(&observer); }

  // One job, or several, each between its frame lines "@echo." and "@echo+",
  // at the end, but before the shut-down lines that end the list; where
  // the first one now begins.
  size_t appendJob(const std::vector<std::string>& body);
  size_t appendJobs(const std::vector<std::vector<std::string>>& bodies);
  // The lines of whole jobs, as they are, in the same place.
  size_t appendJobLines(std::vector<std::string> lines);
  // One line at the end ("Shut").
  void append(std::string line);
  void insert(size_t at, std::vector<std::string> lines);
  void replace(size_t at, std::string line);
  // The line at `at` and the one after it change places.
  void swap(size_t at);
  void remove(size_t at, size_t count);
  void clear();

  // "Disable": "@rem " before the line, or taken away again.
  void toggleDisabled(size_t at);
  // "del": the job around the line at `at`, from its start line to its end
  // line; a line outside any job alone.
  void removeJobAround(size_t at);

 private:
  void apply(JobListChange change);

  std::vector<std::string> lines_;
  size_t characters_ = 0;
  std::vector<JobFrame> jobs_;
  std::vector<JobListObserver*> observers_;
};
