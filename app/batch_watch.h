#pragma once

#include <functional>
#include <string>

#include "app/batch_room.h"
#include "app/job_list.h"
#include "app/messages.h"
#include "ui/window.h"

// How often the window looks at the batches that run.
inline constexpr int kBatchTickMs = 500;

// What the window shows of the batches of its folder, through what they
// leave in the batch room, never through their consoles: the title and
// the taskbar button tell which jobs run and how far their encodes are,
// and how the last batch went once it has ended. It looks only while a
// batch runs; a window started while a batch runs takes it up.
class BatchWatch final : public JobListObserver {
 public:
  BatchWatch(Window& window, BatchRoom& room, JobList& list, const Messages& messages)
      : window_(window), room_(room), list_(list), messages_(messages) {}

  // The window has appeared, or another window started a batch: looks at
  // the batches of the folder anew.
  void pickUp();
  // The batches changed from this window (one started, was paused or
  // stopped): shows them, and tells the other windows.
  void changed();
  // This window started the batch `name`: while it runs, the title follows
  // it.
  void started(const std::string& name) {
    own_ = name;
    changed();
  }

  // "Last batch...": every job of the last started batch with its outcome,
  // and the jobs of a batch that stopped short to queue again.
  void report();

  // The title, the taskbar button and the state of each job anew.
  void show();

  // The list changed: the jobs' states are shown beside their lines again.
  void onChange(const JobListChange&) override { showStates(); }

 private:
  void tick();
  // Beside the first line of each job of the list that a batch which runs,
  // or the last batch, holds: its state there.
  void showStates();

  Window& window_;
  BatchRoom& room_;
  JobList& list_;
  const Messages& messages_;
  bool ticking_ = false;
  bool noted_ = false;  // the list shows states
  std::string own_;     // the batch this window started last
};
