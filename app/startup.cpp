#include "app/startup.h"

#include "core/program_folders.h"
#include "jobs/batch_report.h"
#include "jobs/job_spans.h"
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
  }
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
  const size_t jobs = JobSpans(found.lines).size();
  if (!messages.ask("quorvel did not close normally last time. Restore the " +
                    Counted(jobs, "queued job", "queued jobs") + " (" +
                    Counted(found.lines.size(), "line", "lines") + ")?")) {
    journal.discard();
    return;
  }
  list.insert(list.size(), found.lines);
}
