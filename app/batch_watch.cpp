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
  for (const JobSpan& job : JobSpans(list_.lines())) {
    std::string note;
    if (auto found = held.find(job.hash); found != held.end()) {
      note = StateText(*found->second.first, found->second.second);
      held.erase(found);
    }
    window_.setItemNote(cid::jobList, static_cast<int>(job.first), note);
  }
}

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
    const bool failed = std::any_of(view.record.jobs.begin(), view.record.jobs.end(),
                                    [](const RecordedJob& job) { return job.failed; });
    window_.setProgress(view.record.paused ? Window::Progress::Paused
                        : failed           ? Window::Progress::Failed
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
  const bool failed = std::any_of(record.jobs.begin(), record.jobs.end(),
                                  [](const RecordedJob& job) { return job.failed; });
  const bool whole = record.ended && !record.stoppedByUser();
  window_.setProgress(failed || !whole ? Window::Progress::Failed : Window::Progress::Done, 1000);
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
  if (!last->view.runs) {
    std::multiset<std::uint64_t> queued;
    for (const JobSpan& job : JobSpans(list_.lines())) queued.insert(job.hash);
    for (const RecordedJob& job : last->view.record.jobs) {
      const JobState state = StateOf(job, false);
      if (state != JobState::Stopped && state != JobState::NotReached) continue;
      if (auto found = queued.find(job.hash); found != queued.end()) {
        queued.erase(found);
        continue;
      }
      if (!job.lines.empty()) unfinished.push_back(job.lines);
    }
  }
  if (unfinished.empty()) return messages_.tell(text);
  const std::string count = unfinished.size() == 1
                                ? "the unfinished job"
                                : "the " + std::to_string(unfinished.size()) + " unfinished jobs";
  if (!messages_.ask(text + "\n\nQueue " + count + " again?")) return;
  std::vector<std::string> lines;
  for (const std::vector<std::string>& job : unfinished)
    lines.insert(lines.end(), job.begin(), job.end());
  list_.appendJobLines(std::move(lines));
}
