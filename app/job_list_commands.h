#pragma once

#include <optional>

#include "app/job_list.h"
#include "platform/dialogs.h"
#include "ui/window.h"

// "view", "edit", "up", "down", "Disable", "del" and "Clear": the commands on
// the lines of the job list. They act on the line the list box has selected
// and change the list; the list box follows the list.
class JobListCommands {
 public:
  JobListCommands(Window& window, Dialogs& dialogs, JobList& list)
      : window_(window), dialogs_(dialogs), list_(list) {}

  void view();
  void edit();
  void up();
  void down();
  void disable();
  void remove();
  void clear();

 private:
  // The selected line, or nothing.
  std::optional<size_t> selected() const;
  void select(int index);

  Window& window_;
  Dialogs& dialogs_;
  JobList& list_;
};
