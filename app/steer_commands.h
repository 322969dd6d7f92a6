#pragma once

#include "app/batch_room.h"
#include "app/batch_watch.h"
#include "app/messages.h"
#include "platform/file_system.h"
#include "ui/window.h"

// "Pause batch", "Stop after this job", "Stop now" and "Jobs at once": the
// batches of the folder steered from the window's system menu.
class SteerCommands {
 public:
  SteerCommands(FileSystem& files, BatchRoom& room, BatchWatch& watch, const Messages& messages)
      : files_(files), room_(room), watch_(watch), messages_(messages) {}

  BatchMenu menu();
  void pause();
  void stopAfterJob();
  void stopNow();
  void chooseJobsAtOnce(int jobs);
  // How many jobs a Start runs at once: the choice kept beside the program.
  int jobsAtOnce() const;
  // The window is closing: a paused batch may be resumed first.
  void closing();

 private:
  std::string choiceFile() const;

  FileSystem& files_;
  BatchRoom& room_;
  BatchWatch& watch_;
  const Messages& messages_;
};

// The file beside the program that keeps the choice of "Jobs at once".
inline constexpr std::string_view kJobsAtOnceFile = "queue.ini";
