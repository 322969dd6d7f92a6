#include "app/startup.h"

#include "core/program_folders.h"
#include "settings/fixed_lists.h"
#include "ui/control_id.h"

void CreateProgramFolders(FileSystem& files) {
  const std::string folder = files.programFolder();
  for (std::string_view name : program_folders::kCreated)
    files.createFolder(folder + std::string(name));
}

void FillFixedLists(Window& window) {
  for (const FixedList& list : FixedLists()) {
    for (std::string_view entry : list.entries) window.addItem(list.id, entry);
    if (list.selected >= 0) window.setState(list.id, list.selected);
  }
}

void SetInitialStates(Window& window) {
  using namespace cid;
  for (ControlId id : {upstat, a1, a2, a3, a5, a6, ba, bwb, chromame, cab, fil})
    window.setState(id, 1);
  for (ControlId id : {upstat, statsfileBrowse, statsfile, mxref, vbr, minqp, maxqp, qps, aub, aq1})
    window.setEnabled(id, false);
  window.setState(biasbar, 100);
  window.setState(deb_a, 6);
  window.setState(deb_b, 6);
  for (ControlId id : {auto1pcrf, auto1pcrfLabel, sizemode}) window.setVisible(id, false);
}

void LoadMainSettings(SettingsStore& settings) {
  const std::string own = settings.files.programFolder() + std::string(kMainSettings);
  const bool elsewhere = !settings.files.exists(own) && settings.files.exists(kMainSettings);
  settings.deferMatrixQuestion = true;
  settings.LoadSettings(elsewhere ? std::string(kMainSettings) : own);
  settings.deferMatrixQuestion = false;
}

void RemoveLeftovers(FileSystem& files) {
  const std::string folder = files.programFolder();
  for (std::string_view own :
       {std::string_view(), program_folders::kPresets, program_folders::kWrappers})
    files.removeLeftovers(folder + std::string(own));
}

void RestoreJobList(JobListJournal& journal, JobList& list, const Messages& messages) {
  const JobListJournal::Found found = journal.read();
  if (found.kind == JobListJournal::Found::Kind::Damaged) {
    const std::string aside = journal.setAside();
    messages.tell(
        "The job list that quorvel kept when it last ended cannot be read. The file is kept as\n" +
        aside + "\n\nThe job list starts empty.");
    return;
  }
  if (found.kind != JobListJournal::Found::Kind::Lines) return;
  if (!messages.ask("quorvel did not close normally last time. Restore the " +
                    std::to_string(found.lines.size()) + " queued lines?")) {
    journal.discard();
    return;
  }
  list.insert(list.size(), found.lines);
}
