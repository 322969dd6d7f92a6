// Handlers of the buttons and file requesters.
#include <string>

#include "app/app.h"
#include "core/path_parts.h"
#include "settings/catalogue.h"
#include "settings/control_rules.h"
#include "settings/preset_names.h"
#include "ui/control_id.h"

namespace {

constexpr std::string_view kInputPattern = "AVS(*.avs)|*.AVS|Other Media|*.*";
constexpr std::string_view kBatchPattern = "AVS(*.AVS)|*.avs|Other Media|*.*";
constexpr std::string_view kOutputPattern = "MP4(*.mp4)|*.MP4|MKV(*.mkv)|*.MKV|RAW(*.264)|*.264";
constexpr std::string_view kStatsPattern = "Statsfile (*.stat)|*.stat";
constexpr std::string_view kLogPattern = "Log file (*.txt)|*.txt";

// A text shown in a message: at most 200 characters, cut at a character.
std::string Shortened(const std::string& text) {
  constexpr size_t kShown = 200;
  if (text.size() <= kShown) return text;
  size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "...";
}

std::string PresetPath(const FileSystem& files, const std::string& name) {
  return files.programFolder() + "configs\\" + name + ".ini";
}

}  // namespace

std::vector<std::string> App::jobListLines() const {
  std::vector<std::string> lines;
  const int count = window_.itemCount(cid::jobList);
  lines.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) lines.push_back(window_.item(cid::jobList, i));
  return lines;
}

void App::appendJob(const JobLines& lines) {
  window_.addItem(cid::jobList, "@echo.");
  for (const std::string& line : lines) window_.addItem(cid::jobList, line);
  window_.addItem(cid::jobList, "@echo+");
}

void App::reportRefusal(const Refusal& refusal) {
  platform_.dialogs.message(kMessageTitle, "Nothing was queued: " + refusalText(refusal));
}

std::string App::refusalText(const Refusal& refusal) const {
  const std::string label = refusal.field == cid::none ? std::string("A line of the job")
                                                       : FieldLabel(window_, refusal.field);
  const std::string& expected = refusal.expected;
  std::string text = "\"" + label + "\" ";
  if (refusal.text.empty()) {
    const bool list = expected.starts_with("one of the entries");
    text += "is empty; " + std::string(list ? "choose " : "fill in ") + expected + ".";
  } else {
    text += "holds \"" + Shortened(refusal.text) + "\"; it must be " + expected + ".";
  }
  // A field the user cannot change now: say what lets them.
  if (refusal.field != cid::none && !window_.enabled(refusal.field)) {
    const ControlId by = EnablingControl(refusal.field);
    if (by == cid::mode)
      text += " The encode mode \"" + window_.text(cid::mode) + "\" disables it.";
    else if (by != cid::none)
      text += " \"" + FieldLabel(window_, by) + "\" enables it.";
  }
  return text;
}

BestFitLookup App::bestFit() const {
  return [&files = platform_.files](std::string_view text) { return files.bestFit(text); };
}

std::optional<std::string> App::wrapperBytes(const JobFileNames& names) const {
  if (!names.wrapper) return std::string();
  // AviSynth reads a script in the system's code page: a name that code
  // page cannot spell would reach it with "?" in its place.
  return platform_.files.encode(*names.wrapper, CodePage::System);
}

constexpr std::string_view kWrapperProblem =
    "AviSynth reads its scripts in the system's code page, which cannot spell this name, so no "
    "script can open it. Rename the file or its folder, or write an .avs script for it yourself.";

void App::writeWrapper(const JobFileNames& names, const std::string& bytes) {
  // A wrapper that cannot be written still becomes the input; the job then
  // names a script that does not exist, and the batch reports it.
  if (names.wrapper) platform_.files.writeFile(names.input, bytes, Durability::Cached);
}

void App::deriveFileNames(std::string_view folder) {
  const std::string input = window_.text(cid::input);
  if (input.empty()) return;
  const JobFileNames names =
      DeriveJobFileNames(input, window_.text(cid::avsinc), platform_.files.programFolder(), folder);
  // Names that no line can hold are said now, before a wrapper is written.
  if (std::optional<Refusal> refusal = CheckJobFileNames(names, bestFit())) {
    platform_.dialogs.message(
        kMessageTitle, "The input stays \"" + input + "\" as it is: " + refusalText(*refusal));
    return;
  }
  window_.setText(cid::statsfile, names.statsfile);
  window_.setText(cid::logfile, names.logfile);
  window_.setText(cid::output, names.output);
  const std::optional<std::string> bytes = wrapperBytes(names);
  if (!bytes) {
    platform_.dialogs.message(kMessageTitle, "The input stays \"" + input + "\" as it is.\n\n" +
                                                 std::string(kWrapperProblem));
    return;
  }
  writeWrapper(names, *bytes);
  window_.setText(cid::input, names.input);
}

void App::clearFileFields() {
  for (ControlId field : {cid::input, cid::output, cid::statsfile, cid::logfile})
    window_.setText(field, "");
}

void App::queueJobs(const Settings& settings, const EncoderDialect& dialect,
                    const std::vector<std::string>& inputs, const std::string& folder) {
  struct RedrawPaused {
    Window& window;
    ~RedrawPaused() { window.setRedraw(cid::jobList, true); }
  } paused{window_};
  window_.setRedraw(cid::jobList, false);
  const std::string program = platform_.files.programFolder();
  std::vector<std::string> skipped;
  std::string reason;  // why the first of them was not queued
  bool queued = false;
  for (const std::string& input : inputs) {
    if (input.empty()) continue;
    const JobFileNames names =
        DeriveJobFileNames(input, settings.avsinc, program,
                           folder.empty() ? FolderPart(input) : std::string_view(folder));
    // Everything is checked before the wrapper is written: a file that is
    // not queued leaves nothing behind.
    const std::optional<std::string> bytes = wrapperBytes(names);
    if (!bytes) {
      skipped.push_back(input);
      if (reason.empty()) reason = kWrapperProblem;
      continue;
    }
    Settings job = settings;
    job.input = names.input;
    job.output = names.output;
    job.statsfile = names.statsfile;
    job.logfile = names.logfile;
    const ComposedJob composed = ComposeJob(job, platform_.media, dialect, bestFit());
    if (composed.refusal) {
      skipped.push_back(input);
      if (reason.empty()) reason = refusalText(*composed.refusal);
      continue;
    }
    writeWrapper(names, *bytes);
    appendJob(composed.lines);
    queued = true;
  }
  // As after "Add", the next job needs a new input.
  if (queued) {
    clearFileFields();
    recordJobList();
  }
  if (!skipped.empty()) {
    std::string text = "These files were not queued:\n";
    constexpr size_t kListed = 10;
    for (size_t i = 0; i < skipped.size() && i < kListed; ++i) {
      text += skipped[i];
      text += '\n';
    }
    if (skipped.size() > kListed)
      text += "and " + std::to_string(skipped.size() - kListed) + " more\n";
    text += '\n';
    text += reason;
    platform_.dialogs.message(kMessageTitle, text);
  }
}

void App::onAdd(ControlId, EventKind) {
  const Settings settings = ReadSettings(window_);
  const ComposedJob job =
      ComposeJob(settings, platform_.media, encoders_.current().dialect, bestFit());
  if (job.refusal) {
    reportRefusal(*job.refusal);
    return;
  }
  appendJob(job.lines);
  recordJobList();
  // An empty input or output queues the frame alone and leaves the fields.
  if (!job.lines.empty()) clearFileFields();
}

void App::onBatchAdding(ControlId, EventKind) {
  // The settings are checked before anything is asked.
  const Settings settings = ReadSettings(window_);
  if (std::optional<Refusal> refusal = CheckSettings(settings, bestFit())) {
    reportRefusal(*refusal);
    return;
  }
  const std::string folder =
      platform_.dialogs.chooseFolder("Select a folder for output", platform_.files.programFolder());
  if (folder.empty()) return;
  const std::vector<std::string> inputs =
      platform_.dialogs.openFiles("Select some files", "", kBatchPattern);
  // No file chosen: nothing is queued.
  queueJobs(settings, encoders_.current().dialect, inputs, folder);
}

void App::onFilesDropped(const std::vector<std::string>& paths) {
  if (paths.size() == 1) {
    window_.setText(cid::input, paths.front());
    deriveFileNames(FolderPart(paths.front()));
  } else if (paths.size() > 1) {
    const Settings settings = ReadSettings(window_);
    if (std::optional<Refusal> refusal = CheckSettings(settings, bestFit())) {
      reportRefusal(*refusal);
      return;
    }
    queueJobs(settings, encoders_.current().dialect, paths, "");
  }
}

void App::onInputBrowse(ControlId, EventKind) {
  const std::string input = platform_.dialogs.openFile("", "", kInputPattern);
  window_.setText(cid::input, input);
  deriveFileNames(FolderPart(input));
}

void App::onOutputBrowse(ControlId, EventKind) {
  std::string output = platform_.dialogs.saveFile("", "", kOutputPattern);
  if (!output.empty() && Extension(output).empty()) output += ".mp4";
  window_.setText(cid::output, output);
}

void App::onStatsfileBrowse(ControlId, EventKind) {
  const std::string current = window_.text(cid::statsfile);
  const bool reads = window_.state(cid::mode) == 4;  // the fast first pass
  window_.setText(cid::statsfile, reads ? platform_.dialogs.openFile("", current, kStatsPattern)
                                        : platform_.dialogs.saveFile("", current, kStatsPattern));
}

void App::onLogfileBrowse(ControlId, EventKind) {
  window_.setText(cid::logfile,
                  platform_.dialogs.saveFile("", window_.text(cid::logfile), kLogPattern));
}

void App::onQuantMatrix(ControlId, EventKind) {
  if (window_.text(cid::cqm) == "custom...") settings_.ChooseMatrixFile();
}

void App::onLoadDefault(ControlId, EventKind) { settings_.LoadDefaults(); }

void App::onRefresh(ControlId, EventKind) { settings_.RefreshPresetLists(); }

void App::onSavePreset(ControlId, EventKind) {
  if (platform_.dialogs.ask("Save", "Are you sure?")) {
    const std::string name = window_.text(cid::presetname);
    if (!name.empty() && !IsPresetName(name)) {
      reportPresetName(name);
    } else if (!name.empty()) {
      const std::string path = PresetPath(platform_.files, name);
      if (!settings_.SaveSettings(path)) reportWriteFailure(path);
    }
  }
  settings_.RefreshPresetNames();
}

void App::reportPresetName(const std::string& name) {
  std::string text = "\"";
  text += Shortened(name);
  text += "\" cannot be a preset name.\n\n";
  text += kPresetNameRule;
  platform_.dialogs.message(kMessageTitle, text);
}

void App::onLoadPreset(ControlId, EventKind) {
  const std::string name = window_.text(cid::presetname);
  if (!name.empty() && !IsPresetName(name)) {
    reportPresetName(name);
    return;
  }
  const std::string path = PresetPath(platform_.files, name);
  // A preset that does not exist yet is created empty, so that loading it
  // gives every setting its value for a missing key.
  if (!platform_.files.exists(path) && !platform_.files.writeFile(path, "")) return;
  settings_.LoadSettings(path);
}
