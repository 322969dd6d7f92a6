#include "app/batch_watch.h"

#include <algorithm>

#include "core/wildcard.h"

namespace {

constexpr std::string_view kTitle = "quorvel";

std::string Titled(const std::string& text) { return text + " - " + std::string(kTitle); }

}  // namespace

std::optional<BatchRecord> BatchWatch::record(const std::string& name) const {
  const std::optional<std::string> text = files_.readFile(path(RecordName(name)));
  if (!text) return std::nullopt;
  return ReadBatchRecord(*text);
}

std::string BatchWatch::progress(const std::string& name) const {
  return files_.readFile(path(ProgressName(name))).value_or("");
}

void BatchWatch::pickUp() {
  const std::string folder = files_.programFolder();
  std::string newest;
  for (const std::string& file : files_.listFiles(folder, "temp*.record")) {
    const std::string name = file.substr(0, file.size() - 7) + ".bat";
    const std::optional<BatchRecord> found = record(name);
    if (!found) continue;
    if (found->started > newest) {
      newest = found->started;
      last_ = name;
    }
    if (found->ended || found->process.empty() || running(name)) continue;
    if (std::unique_ptr<StartedBatch> batch = processes_.findStarted(found->process))
      follow(name, std::move(batch));
  }
  if (followed_.empty() && !last_.empty())
    if (const std::optional<BatchRecord> last = record(last_))
      window_.setTitle(Titled(OutcomeText(*last)));
}

void BatchWatch::follow(const std::string& name, std::unique_ptr<StartedBatch> batch) {
  std::erase_if(followed_, [&name](const Followed& f) { return f.name == name; });
  followed_.push_back({name, std::move(batch)});
  last_ = name;
  window_.startTicking(kBatchTickMs, [this] { tick(); });
  tick();
}

bool BatchWatch::running(const std::string& name) const {
  return std::any_of(followed_.begin(), followed_.end(),
                     [&name](const Followed& f) { return f.name == name && f.batch->running(); });
}

void BatchWatch::tick() {
  // The title follows the first batch that still runs.
  auto shown = std::find_if(followed_.begin(), followed_.end(),
                            [](const Followed& f) { return f.batch->running(); });
  if (shown != followed_.end()) {
    const std::optional<BatchRecord> found = record(shown->name);
    if (!found) return;
    const std::string now = progress(shown->name);
    window_.setTitle(Titled(RunningText(*found, now)));
    window_.setProgress(found->count(BatchRecord::Outcome::Failed) > 0 ? Window::Progress::Failed
                                                                       : Window::Progress::Running,
                        BatchPermille(*found, now));
    return;
  }
  // Every batch has ended: nothing more to look at.
  window_.stopTicking();
  followed_.clear();
  const std::optional<BatchRecord> last = record(last_);
  if (!last) return;
  window_.setTitle(Titled(OutcomeText(*last)));
  window_.setProgress(last->count(BatchRecord::Outcome::Failed) > 0 ? Window::Progress::Failed
                                                                    : Window::Progress::Done,
                      1000);
}

void BatchWatch::report() const {
  const std::optional<BatchRecord> last = last_.empty() ? std::nullopt : record(last_);
  if (!last) {
    messages_.tell("No batch has been started from this folder since its record was last kept.");
    return;
  }
  messages_.tell(BatchReport(*last, running(last_)));
}

std::optional<BatchRecord> BatchWatch::interrupted() const {
  if (last_.empty() || running(last_)) return std::nullopt;
  std::optional<BatchRecord> last = record(last_);
  if (!last || last->ended) return std::nullopt;
  // A batch a window before this one started may still run.
  if (!last->process.empty() && processes_.findStarted(last->process)) return std::nullopt;
  return last;
}

void BatchWatch::forgetEnded() {
  const std::string folder = files_.programFolder();
  for (const std::string& file : files_.listFiles(folder, "temp*.record")) {
    const std::string name = file.substr(0, file.size() - 7) + ".bat";
    if (running(name)) continue;
    const std::optional<BatchRecord> found = record(name);
    if (found && !found->ended && !found->process.empty() && processes_.findStarted(found->process))
      continue;
    files_.deleteFile(folder + file);
    files_.deleteFile(path(ProgressName(name)));
  }
}
