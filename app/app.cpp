#include "app/app.h"

#include "app/dispatch_table.h"
#include "app/startup.h"
#include "jobs/called_programs.h"
#include "ui/control_id.h"

void CreateProgramFolders(FileSystem& files) {
  const std::string folder = files.programFolder();
  for (const char* name : {"avs", "stats", "configs", "log", "avsinc"})
    files.createFolder(folder + name);
}

App::App(Window& window, Platform platform, int encoderTimeLimitMs)
    : window_(window),
      platform_(platform),
      settings_{window, platform.files, platform.dialogs},
      encoders_(platform.encoders, encoderTimeLimitMs),
      journal_(platform.files) {}

void App::start() {
  FillFixedLists(window_);
  SetInitialStates(window_);
  settings_.RefreshPresetLists();
  // The main settings file lies in the program folder, wherever the program
  // was started from. One that only the current directory holds, where an
  // earlier version kept it, is read instead; the next save goes to the
  // program folder. A custom matrix it asks for is asked once the window is
  // on screen.
  const std::string own = mainSettingsFile();
  const bool elsewhere = !platform_.files.exists(own) && platform_.files.exists(kMainSettings);
  settings_.deferMatrixQuestion = true;
  settings_.LoadSettings(elsewhere ? std::string(kMainSettings) : own);
  settings_.deferMatrixQuestion = false;
}

void App::onShown() {
  // What the window does not need to appear is done once it has: asking the
  // encoder (on another thread), taking the job list journal, removing what
  // an ended program's writes left.
  encoders_.start();
  journal_.claim();
  const std::string folder = platform_.files.programFolder();
  for (const char* own : {"", "configs", "avs"}) platform_.files.removeLeftovers(folder + own);
  restoreJobList();
  if (!settings_.matrixQuestionPending) return;
  settings_.matrixQuestionPending = false;
  if (window_.text(cid::cqm) == "custom...") settings_.ChooseMatrixFile();
}

void App::onEvent(ControlId id, EventKind kind) {
  if (Handler handler = DispatchTable::Find(id)) (this->*handler)(id, kind);
}

void App::onEncoderInfo() {
  std::string text = EncoderInfoText(encoders_.current());
  text += "\n\nThe other programs the jobs call:";
  const std::string folder = platform_.files.programFolder();
  for (std::string_view program : kJobPrograms) {
    const std::optional<std::string> found = platform_.processes.findProgram(program, folder);
    text += '\n';
    text += program;
    text += ": ";
    text += found ? *found : std::string("not found");
  }
  platform_.dialogs.message("x264 for the jobs", text);
}

void App::onClose() {
  onEndSession();
  journal_.discard();
}

std::string App::mainSettingsFile() const {
  return platform_.files.programFolder() + std::string(kMainSettings);
}

void App::onEndSession() {
  const std::string path = mainSettingsFile();
  if (!settings_.SaveSettings(path)) reportWriteFailure(path);
}

void App::recordJobList() {
  if (!journal_.writable() || journal_.record(jobListLines()) || journalFailureTold_) return;
  // Said once: every later change tries again, silently.
  journalFailureTold_ = true;
  platform_.dialogs.message(kMessageTitle,
                            "quorvel cannot keep the job list in\n" + journal_.path() + "\n\n" +
                                platform_.files.lastErrorText() +
                                "\n\nShould quorvel end without being closed, the queued lines "
                                "are lost; \"Make BAT\" saves them.");
}

void App::restoreJobList() {
  const JobListJournal::Found found = journal_.read();
  if (found.kind == JobListJournal::Found::Kind::Damaged) {
    const std::string aside = journal_.setAside();
    platform_.dialogs.message(
        kMessageTitle,
        "The job list that quorvel kept when it last ended cannot be read. The file is kept as\n" +
            aside + "\n\nThe job list starts empty.");
    return;
  }
  if (found.kind != JobListJournal::Found::Kind::Lines) return;
  const std::string question = "quorvel did not close normally last time. Restore the " +
                               std::to_string(found.lines.size()) + " queued lines?";
  if (!platform_.dialogs.ask(kMessageTitle, question)) {
    journal_.discard();
    return;
  }
  window_.setRedraw(cid::jobList, false);
  for (const std::string& line : found.lines) window_.addItem(cid::jobList, line);
  window_.setRedraw(cid::jobList, true);
}
