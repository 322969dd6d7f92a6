#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/encoder_watch.h"
#include "app/job_list.h"
#include "app/job_list_marks.h"
#include "app/messages.h"
#include "jobs/compose_job.h"
#include "jobs/job_file_names.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/media_probe.h"
#include "ui/window.h"

// What the queue commands need of the program.
struct QueueServices {
  Window& window;
  FileSystem& files;
  Dialogs& dialogs;
  MediaProbe& media;
  EncoderWatch& encoders;
  JobList& list;
  JobListMarks& marks;  // follows the jobs queued before the encoder answered
  const Messages& messages;
};

// "Add", "Batch Adding", files dropped onto the window, and the requesters
// of the input, output, statistics and log files: the settings of the window
// become jobs on the job list.
class QueueCommands {
 public:
  explicit QueueCommands(QueueServices services) : s_(services) {}

  void add();
  void batchAdding();
  void filesDropped(const std::vector<std::string>& paths);
  void chooseInput();
  void chooseOutput();
  void chooseStatsfile();
  void chooseLogfile();

 private:
  // Queues one job per input with `settings`, deriving its names with the
  // output in `folder`, or beside each input when `folder` is empty. An
  // input whose names cannot stand in a line is skipped and reported.
  void queueJobs(const Settings& settings, const std::vector<std::string>& inputs,
                 const std::string& folder);
  // The job of one input: its settings and lines, its wrapper written;
  // why it cannot be made instead.
  std::optional<std::string> composeFor(const Settings& settings, const std::string& input,
                                        const std::string& folder, Settings& job, JobLines& lines);
  // Appends the jobs, composed of `settings` in the switches of the encoder
  // as known. While the encoder is being asked they are part of the list
  // all the same; once it has answered, each job still as it was queued is
  // written anew in its switches.
  void appendJobs(std::vector<Settings> settings, std::vector<JobLines> jobs);
  // The jobs of one press, written anew for the encoder that answered.
  void recompose(const std::vector<Settings>& settings, const std::vector<JobListMarks::Id>& marks,
                 const EncoderDialect& composedFor, const EncoderDialect& answered);
  // Fills the file fields from the input field, writing a wrapper script
  // for an input that is not an AviSynth script.
  void deriveFileNames(std::string_view folder);
  // The bytes of the wrapper script a job's names call for (none: empty),
  // or nothing when AviSynth could not read the name.
  std::optional<std::string> wrapperBytes(const JobFileNames& names) const;
  void writeWrapper(const JobFileNames& names, const std::string& bytes);
  // What programs reading their command line in the system's code page
  // take for another character.
  BestFitLookup bestFit() const;
  void clearFileFields();

  QueueServices s_;
};
