#pragma once

#include "app/job_list.h"
#include "ui/window.h"

// Shows the job list in the window's list box: every change of the list is
// made there too, and nothing else changes the list box's lines.
class JobListView final : public JobListObserver {
 public:
  JobListView(Window& window, const JobList& list) : window_(window), list_(list) {}
  void onChange(const JobListChange& change) override;

 private:
  Window& window_;
  const JobList& list_;
};
