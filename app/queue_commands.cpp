#include "app/queue_commands.h"

#include "core/path_parts.h"
#include "jobs/job_spans.h"
#include "settings/catalogue.h"
#include "settings/fixed_lists.h"
#include "ui/control_id.h"

namespace {

constexpr std::string_view kInputPattern = "AVS(*.avs)|*.AVS|Other Media|*.*";
constexpr std::string_view kBatchPattern = "AVS(*.AVS)|*.avs|Other Media|*.*";
constexpr std::string_view kOutputPattern = "MP4(*.mp4)|*.MP4|MKV(*.mkv)|*.MKV|RAW(*.264)|*.264";
constexpr std::string_view kStatsPattern = "Statsfile (*.stat)|*.stat";
constexpr std::string_view kLogPattern = "Log file (*.txt)|*.txt";

constexpr std::string_view kWrapperProblem =
    "AviSynth reads its scripts in the system's code page, which cannot spell this name, so no "
    "script can open it. Rename the file or its folder, or write an .avs script for it yourself.";

}  // namespace

BestFitLookup QueueCommands::bestFit() const {
  return [&files = s_.files](std::string_view text) { return files.bestFit(text); };
}

std::optional<std::string> QueueCommands::wrapperBytes(const JobFileNames& names) const {
  if (!names.wrapper) return std::string();
  // AviSynth reads a script in the system's code page: a name that code
  // page cannot spell would reach it with "?" in its place.
  return s_.files.encode(*names.wrapper, CodePage::System);
}

void QueueCommands::writeWrapper(const JobFileNames& names, const std::string& bytes) {
  // A wrapper that cannot be written still becomes the input; the job then
  // names a script that does not exist, and the batch reports it.
  if (names.wrapper) s_.files.writeFile(names.input, bytes, Durability::Cached);
}

void QueueCommands::deriveFileNames(std::string_view folder) {
  Window& window = s_.window;
  const std::string input = window.text(cid::input);
  if (input.empty()) return;
  const JobFileNames names =
      DeriveJobFileNames(input, window.text(cid::avsinc), s_.files.programFolder(), folder);
  // Names that no line can hold are said now, before a wrapper is written.
  if (std::optional<Refusal> refusal = CheckJobFileNames(names, bestFit())) {
    s_.messages.tell("The input stays \"" + input +
                     "\" as it is: " + s_.messages.refusalText(*refusal));
    return;
  }
  window.setText(cid::statsfile, names.statsfile);
  window.setText(cid::logfile, names.logfile);
  window.setText(cid::output, names.output);
  const std::optional<std::string> bytes = wrapperBytes(names);
  if (!bytes) {
    s_.messages.tell("The input stays \"" + input + "\" as it is.\n\n" +
                     std::string(kWrapperProblem));
    return;
  }
  writeWrapper(names, *bytes);
  window.setText(cid::input, names.input);
}

void QueueCommands::clearFileFields() {
  for (ControlId field : {cid::input, cid::output, cid::statsfile, cid::logfile})
    s_.window.setText(field, "");
}

void QueueCommands::appendJobs(std::vector<Settings> settings, std::vector<JobLines> jobs) {
  if (jobs.empty()) return;
  const bool ready = s_.encoders.askUnlessKnown();
  const EncoderDialect composedFor = s_.encoders.known().dialect;
  size_t at = s_.list.appendJobs(jobs);
  if (ready) return;
  std::vector<JobListMarks::Id> marks;
  for (const JobLines& job : jobs) {
    const size_t framed = FramedJob(job).size();
    marks.push_back(s_.marks.mark(at, framed));
    at += framed;
  }
  s_.encoders.whenKnown([this, settings = std::move(settings), marks = std::move(marks),
                         composedFor](const EncoderInfo& encoder) {
    recompose(settings, marks, composedFor, encoder.dialect);
  });
}

void QueueCommands::recompose(const std::vector<Settings>& settings,
                              const std::vector<JobListMarks::Id>& marks,
                              const EncoderDialect& composedFor, const EncoderDialect& answered) {
  for (size_t i = 0; i < marks.size(); ++i) {
    const std::optional<JobListMarks::Run> run = s_.marks.where(marks[i]);
    s_.marks.release(marks[i]);
    // A job the user has touched meanwhile stays as the user left it.
    if (!run || answered == composedFor) continue;
    const ComposedJob job = ComposeJob(settings[i], s_.media, answered, bestFit());
    s_.list.remove(run->at, run->count);
    if (job.refusal) {
      // The encoder's switches make a line the batch cannot hold.
      s_.messages.refusal(*job.refusal);
      continue;
    }
    s_.list.insert(run->at, FramedJob(job.lines));
  }
}

namespace {

// The files that were not queued, at most ten of them named, and why the
// first was not.
std::string NotQueuedText(const std::vector<std::string>& skipped, const std::string& reason) {
  std::string text = "These files were not queued:\n";
  constexpr size_t kListed = 10;
  for (size_t i = 0; i < skipped.size() && i < kListed; ++i) {
    text += skipped[i];
    text += '\n';
  }
  if (skipped.size() > kListed)
    text += "and " + std::to_string(skipped.size() - kListed) + " more\n";
  return text + '\n' + reason;
}

}  // namespace

std::optional<std::string> QueueCommands::composeFor(const Settings& settings,
                                                     const std::string& input,
                                                     const std::string& folder, Settings& job,
                                                     JobLines& lines) {
  const JobFileNames names =
      DeriveJobFileNames(input, settings.avsinc, s_.files.programFolder(),
                         folder.empty() ? FolderPart(input) : std::string_view(folder));
  // Everything is checked before the wrapper is written: a file that is
  // not queued leaves nothing behind.
  const std::optional<std::string> bytes = wrapperBytes(names);
  if (!bytes) return std::string(kWrapperProblem);
  job = settings;
  job.input = names.input;
  job.output = names.output;
  job.statsfile = names.statsfile;
  job.logfile = names.logfile;
  ComposedJob composed = ComposeJob(job, s_.media, s_.encoders.known().dialect, bestFit());
  if (composed.refusal) return s_.messages.refusalText(*composed.refusal);
  writeWrapper(names, *bytes);
  lines = std::move(composed.lines);
  return std::nullopt;
}

void QueueCommands::queueJobs(const Settings& settings, const std::vector<std::string>& inputs,
                              const std::string& folder) {
  std::vector<std::string> skipped;
  std::string reason;  // why the first of them was not queued
  std::vector<Settings> queued;
  std::vector<JobLines> jobs;
  for (const std::string& input : inputs) {
    if (input.empty()) continue;
    Settings job;
    JobLines lines;
    if (std::optional<std::string> why = composeFor(settings, input, folder, job, lines)) {
      skipped.push_back(input);
      if (reason.empty()) reason = std::move(*why);
      continue;
    }
    queued.push_back(std::move(job));
    jobs.push_back(std::move(lines));
  }
  // All of them in one change of the list; as after "Add", the next job
  // needs a new input.
  if (!jobs.empty()) {
    appendJobs(std::move(queued), std::move(jobs));
    clearFileFields();
  }
  if (!skipped.empty()) s_.messages.tell(NotQueuedText(skipped, reason));
}

void QueueCommands::add() {
  Settings settings = ReadSettings(s_.window);
  // Whether the settings can make a job does not depend on the switches of
  // the encoder: a refusal is said at once.
  ComposedJob job = ComposeJob(settings, s_.media, s_.encoders.known().dialect, bestFit());
  if (job.refusal) {
    s_.messages.refusal(*job.refusal);
    return;
  }
  // An empty input or output queues the frame alone and leaves the fields.
  if (!job.lines.empty()) clearFileFields();
  appendJobs({std::move(settings)}, {std::move(job.lines)});
}

void QueueCommands::batchAdding() {
  // The settings are checked before anything is asked.
  const Settings settings = ReadSettings(s_.window);
  if (std::optional<Refusal> refusal = CheckSettings(settings, bestFit())) {
    s_.messages.refusal(*refusal);
    return;
  }
  const std::string folder =
      s_.dialogs.chooseFolder("Select a folder for output", s_.files.programFolder());
  if (folder.empty()) return;
  const std::vector<std::string> inputs =
      s_.dialogs.openFiles("Select some files", "", kBatchPattern);
  // No file chosen: nothing is queued.
  if (inputs.empty()) return;
  queueJobs(settings, inputs, folder);
}

void QueueCommands::filesDropped(const std::vector<std::string>& paths) {
  if (paths.size() == 1) {
    s_.window.setText(cid::input, paths.front());
    deriveFileNames(FolderPart(paths.front()));
  } else if (paths.size() > 1) {
    const Settings settings = ReadSettings(s_.window);
    if (std::optional<Refusal> refusal = CheckSettings(settings, bestFit())) {
      s_.messages.refusal(*refusal);
      return;
    }
    queueJobs(settings, paths, "");
  }
}

void QueueCommands::chooseInput() {
  const std::string input = s_.dialogs.openFile("", "", kInputPattern);
  s_.window.setText(cid::input, input);
  deriveFileNames(FolderPart(input));
}

void QueueCommands::chooseOutput() {
  std::string output = s_.dialogs.saveFile("", "", kOutputPattern);
  if (!output.empty() && Extension(output).empty()) output += ".mp4";
  s_.window.setText(cid::output, output);
}

void QueueCommands::chooseStatsfile() {
  const std::string current = s_.window.text(cid::statsfile);
  // The fast first pass reads the statistics an earlier pass wrote.
  const bool reads = s_.window.state(cid::mode) == static_cast<int>(EncodeMode::FirstPassFast);
  s_.window.setText(cid::statsfile, reads ? s_.dialogs.openFile("", current, kStatsPattern)
                                          : s_.dialogs.saveFile("", current, kStatsPattern));
}

void QueueCommands::chooseLogfile() {
  s_.window.setText(cid::logfile,
                    s_.dialogs.saveFile("", s_.window.text(cid::logfile), kLogPattern));
}
