#include "app/batch_watch.h"

#include <algorithm>
#include <map>
#include <set>

#include "jobs/job_spans.h"
#include "ui/control_id.h"

namespace {

constexpr std::string_view kTitle = "quorvel";

std::string Titled(const std::string& text) { return text + " - " + std::string(kTitle); }

}  // namespace

void BatchWatch::pickUp() {
  room_.look();
  show();
}

void BatchWatch::changed() {
  window_.announceBatches();
  show();
}

void BatchWatch::tick() {
  room_.follow();
  show();
}

void BatchWatch::showStates() {
  std::vector<const BatchView*> views;
  for (const BatchRoom::Batch* batch : room_.running()) views.push_back(&batch->view);
  if (const BatchRoom::Batch* last = room_.last(); last && !last->view.runs)
    views.push_back(&last->view);
  if (views.empty() && !noted_) return;
  noted_ = !views.empty();
  // Each job of a batch stands for one job of the list with the same lines.
  std::multimap<std::uint64_t, std::pair<const BatchView*, size_t>> held;
  for (const BatchView* view : views)
    for (size_t k = 0; k < view->record.jobs.size(); ++k)
      held.emplace(view->record.jobs[k].hash, std::make_pair(view, k));
  for (const JobFrame& job : list_.jobs()) {
    std::string note;
    if (auto found = held.find(job.hash); found != held.end()) {
      note = StateText(*found->second.first, found->second.second);
      held.erase(found);
    }
    window_.setItemNote(cid::jobList, static_cast<int>(job.first), note);
  }
}

namespace {

bool AnyFailed(const BatchRecord& record) {
  return std::any_of(record.jobs.begin(), record.jobs.end(),
                     [](const RecordedJob& job) { return job.failed; });
}

}  // namespace

void BatchWatch::show() {
  showStates();
  const std::vector<const BatchRoom::Batch*> running = room_.running();
  if (!running.empty()) {
    if (!ticking_) window_.startTicking(kBatchTickMs, [this] { tick(); });
    ticking_ = true;
    // The title follows the batch this window started, while it runs, and
    // otherwise the one started first among those that run.
    const BatchRoom::Batch* shown = running.front();
    for (const BatchRoom::Batch* batch : running)
      if (batch->files.name == own_) shown = batch;
    const BatchView& view = shown->view;
    window_.setTitle(Titled(RunningText(view)));
    window_.setProgress(view.record.paused       ? Window::Progress::Paused
                        : AnyFailed(view.record) ? Window::Progress::Failed
                                                 : Window::Progress::Running,
                        BatchPermille(view));
    return;
  }
  // Nothing runs: nothing more to look at.
  if (ticking_) window_.stopTicking();
  ticking_ = false;
  const BatchRoom::Batch* last = room_.last();
  if (!last) return;
  const BatchRecord& record = last->view.record;
  window_.setTitle(Titled(OutcomeText(record)));
  const bool whole = record.ended && !record.stoppedByUser();
  window_.setProgress(
      AnyFailed(record) || !whole ? Window::Progress::Failed : Window::Progress::Done, 1000);
}

void BatchWatch::report() {
  room_.look();
  const BatchRoom::Batch* last = room_.last();
  if (!last) {
    messages_.tell("No batch has been started from this folder since its record was last kept.");
    return;
  }
  const std::string text = BatchReport(last->view);
  // The jobs of a batch that stopped short that did not finish, and are
  // not in the list again, can be queued again from their recorded lines.
  std::vector<std::vector<std::string>> unfinished;
  std::vector<std::string> damaged;
  if (!last->view.runs) {
    std::multiset<std::uint64_t> queued;
    for (const JobFrame& job : list_.jobs()) queued.insert(job.hash);
    const std::vector<RecordedJob>& jobs = last->view.record.jobs;
    for (size_t k = 0; k < jobs.size(); ++k) {
      const RecordedJob& job = jobs[k];
      if (!Unfinished(job)) continue;
      if (auto found = queued.find(job.hash); found != queued.end()) {
        queued.erase(found);
        continue;
      }
      // Only the lines the job ran: a record that lost one of them would
      // queue another job.
      if (JobHash(job.lines) == job.hash)
        unfinished.push_back(job.lines);
      else
        damaged.push_back(std::to_string(k + 1));
    }
  }
  std::string lost;
  for (const std::string& k : damaged) lost += (lost.empty() ? "" : ", ") + k;
  if (!damaged.empty())
    lost = "\n\nThe record lacks lines of " +
           (damaged.size() == 1 ? "job " + lost + ": queue it again from its input."
                                : "jobs " + lost + ": queue them again from their inputs.");
  if (unfinished.empty()) return messages_.tell(text + lost);
  const std::string count = unfinished.size() == 1
                                ? "the unfinished job"
                                : "the " + std::to_string(unfinished.size()) + " unfinished jobs";
  if (!messages_.ask(text + lost + "\n\nQueue " + count + " again?")) return;
  std::vector<std::string> lines;
  for (const std::vector<std::string>& job : unfinished)
    lines.insert(lines.end(), job.begin(), job.end());
  list_.appendJobLines(std::move(lines));
}
