#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/encoder_watch.h"
#include "app/job_list_journal.h"
#include "jobs/compose_job.h"
#include "jobs/job_file_names.h"
#include "platform/dialogs.h"
#include "platform/encoder_probe.h"
#include "platform/file_system.h"
#include "platform/media_probe.h"
#include "platform/processes.h"
#include "settings/settings_store.h"
#include "ui/window.h"

// The main settings file, in the program folder.
inline constexpr std::string_view kMainSettings = "quorvel.ini";

// The title of the program's own messages.
inline constexpr std::string_view kMessageTitle = "quorvel";

// The operating-system services the program uses, handed in at construction
// so that tests can replace them.
struct Platform {
  FileSystem& files;
  Dialogs& dialogs;
  Processes& processes;
  MediaProbe& media;
  EncoderProbe& encoders;
};

// Creates the folders "avs", "stats", "configs", "log" and "avsinc" under the
// program folder, in this order; existing or failing folders are passed over.
void CreateProgramFolders(FileSystem& files);

// The application shell: start-up of the built window, the dispatch of
// control events, and shutdown.
class App {
 public:
  // `encoderTimeLimitMs`: how long the encoder may take to tell its switches.
  App(Window& window, Platform platform, int encoderTimeLimitMs = kEncoderHelpTimeoutMs);

  // Fills the fixed lists, sets the initial states, fills the preset lists
  // and loads the main settings file: what the window shows when it first
  // appears.
  void start();

  // The window has appeared: the rest of the start-up. Starts asking the
  // encoder in the background, takes the job list journal, and asks what
  // start-up left to ask (the job list an earlier run left, a custom
  // matrix file).
  void onShown();

  // One event of one control, as the user raised it.
  void onEvent(ControlId id, EventKind kind);

  // The window is closing: the settings are saved and the job list, which
  // is not kept, is let go.
  void onClose();

  // Windows is ending the session (log-off, an update restart): the
  // settings are saved, and the job list is kept for the next start.
  void onEndSession();

  // Files dropped onto the window: one is taken as the input, several are
  // queued one job each with the output beside its input.
  void onFilesDropped(const std::vector<std::string>& paths);

  // The user asked which x264 the jobs are written for.
  void onEncoderInfo();

  // One row of the dispatch table; the handlers are members of App.
  using Handler = void (App::*)(ControlId, EventKind);

 private:
  friend struct DispatchTable;

  // Control rules.
  void onTrackBar(ControlId, EventKind);
  void onBiasField(ControlId, EventKind);
  void onValueField(ControlId, EventKind);
  void onModeControls(ControlId, EventKind);
  void onClampedField(ControlId, EventKind);
  void onPartitionCheck(ControlId, EventKind);
  void onMaxBFrames(ControlId, EventKind);
  void onReferenceFields(ControlId, EventKind);
  void onCabac(ControlId, EventKind);
  void onAudioSwitch(ControlId, EventKind);
  void onLogfileSwitch(ControlId, EventKind);
  void onAqMode(ControlId, EventKind);
  void onAdaptiveBFrames(ControlId, EventKind);

  // Command handlers.
  void onAdd(ControlId, EventKind);
  void onBatchAdding(ControlId, EventKind);
  void onInputBrowse(ControlId, EventKind);
  void onOutputBrowse(ControlId, EventKind);
  void onStatsfileBrowse(ControlId, EventKind);
  void onLogfileBrowse(ControlId, EventKind);
  void onQuantMatrix(ControlId, EventKind);
  void onLoadDefault(ControlId, EventKind);
  void onRefresh(ControlId, EventKind);
  void onSavePreset(ControlId, EventKind);
  void onLoadPreset(ControlId, EventKind);

  // Job list commands.
  void onView(ControlId, EventKind);
  void onEdit(ControlId, EventKind);
  void onUp(ControlId, EventKind);
  void onDown(ControlId, EventKind);
  void onDisable(ControlId, EventKind);
  void onDelete(ControlId, EventKind);
  void onClear(ControlId, EventKind);

  // Batch files.
  void onMakeBat(ControlId, EventKind);
  void onStart(ControlId, EventKind);
  void onShut(ControlId, EventKind);

  // Queues one job per input with `settings` in the switches of `dialect`,
  // deriving its names with the output in `folder`, or beside each input
  // when `folder` is empty. An input whose names cannot stand in a line is
  // skipped and reported.
  void queueJobs(const Settings& settings, const EncoderDialect& dialect,
                 const std::vector<std::string>& inputs, const std::string& folder);
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
  // Appends one framed job to the job list.
  void appendJob(const JobLines& lines);
  // Tells the user why nothing was queued.
  void reportRefusal(const Refusal& refusal);
  // The refusal in the user's terms: the field by its label, its text and
  // what it must be.
  std::string refusalText(const Refusal& refusal) const;
  // Empties the input, output, stats and log fields.
  void clearFileFields();
  void reportWriteFailure(const std::string& path);
  // Whether every program the lines call is found as the batch will look
  // for it, or the user wants to start without them.
  bool programsFoundOrStartAnyway(const std::vector<std::string>& lines);
  std::string mainSettingsFile() const;
  // Tells the user that a preset name cannot name a file in "configs".
  void reportPresetName(const std::string& name);
  // The lines of the job list, in order.
  std::vector<std::string> jobListLines() const;
  // Writes the job list into the journal, after every change of the list.
  void recordJobList();
  // Offers back the job list an earlier run left in the journal.
  void restoreJobList();

  Window& window_;
  Platform platform_;
  SettingsStore settings_;
  EncoderWatch encoders_;
  JobListJournal journal_;
  bool journalFailureTold_ = false;
  // Batches started by "Start" by file name, while they may still run.
  std::map<std::string, std::uint32_t> startedBatches_;
};
