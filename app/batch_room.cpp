#include "app/batch_room.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/messages.h"
#include "jobs/job_spans.h"

namespace {

// How much of a record file one look reads; the rest waits for the next.
constexpr size_t kReadAtOnce = 16 * 1024;
// How much of the end of a progress file is read.
constexpr size_t kProgressRead = 4 * 1024;
// How long a Start waits for another window that is starting a batch.
constexpr int kLockTries = 100;
constexpr auto kLockWait = std::chrono::milliseconds(20);

// Whether a batch that no longer runs left jobs it did not finish.
bool Unfinished(const BatchRecord& record) {
  return std::any_of(record.jobs.begin(), record.jobs.end(),
                     [](const RecordedJob& job) { return Unfinished(job); });
}

}  // namespace

BatchRoom::Batch* BatchRoom::find(const std::string& name) {
  for (const std::unique_ptr<Batch>& batch : batches_)
    if (batch->files.name == name) return batch.get();
  return nullptr;
}

const BatchRoom::Batch* BatchRoom::last() const {
  return batches_.empty() ? nullptr : batches_.back().get();
}

std::vector<const BatchRoom::Batch*> BatchRoom::running() const {
  std::vector<const Batch*> found;
  for (const std::unique_ptr<Batch>& batch : batches_)
    if (batch->view.runs) found.push_back(batch.get());
  return found;
}

void BatchRoom::read(Batch& batch, bool whole) {
  const size_t files = 1 + static_cast<size_t>(std::max(1, batch.view.record.workers));
  batch.read.resize(std::max(batch.read.size(), files), 0);
  for (size_t file = 0; file < batch.read.size(); ++file) {
    const std::string name =
        file == 0 ? batch.files.record() : batch.files.workerRecord(std::to_string(file));
    for (;;) {
      const std::optional<std::string> piece =
          files_.readPart(path(name), batch.read[file], kReadAtOnce);
      if (!piece || piece->empty()) break;
      batch.read[file] += piece->size();
      batch.reader.take(*piece, file);
      if (!whole || piece->size() < kReadAtOnce) break;
    }
    // The header tells how many workers append records of their own.
    if (file == 0 && batch.reader.valid())
      batch.read.resize(1 + static_cast<size_t>(std::max(1, batch.reader.record().workers)), 0);
  }
  batch.view.record = batch.reader.record();
}

void BatchRoom::readProgress(Batch& batch) {
  const BatchRecord& record = batch.view.record;
  for (size_t i = 0; i < record.jobs.size(); ++i) {
    const JobState state = StateOf(record.jobs[i], batch.view.runs);
    // A failed job's last error is read once; a running job's progress at
    // every look.
    const bool failed = state == JobState::Failed && batch.errorsRead.insert(i).second;
    if (state != JobState::Running && !failed) continue;
    const std::string file = path(batch.files.progress(i + 1));
    const std::uint64_t size = files_.fileSize(file).value_or(0);
    const std::uint64_t from = size > kProgressRead ? size - kProgressRead : 0;
    const std::optional<std::string> tail = files_.readPart(file, from, kProgressRead);
    batch.view.progress[i] = ReadEncoderProgress(tail.value_or(""));
  }
}

bool BatchRoom::occupied(const Batch& batch) {
  return std::any_of(batch.workers.begin(), batch.workers.end(),
                     [](const std::unique_ptr<StartedBatch>& w) { return w->running(); });
}

void BatchRoom::stopWithout(Batch& batch) {
  const std::vector<std::string>& identities = batch.view.record.processes;
  for (size_t w = 0; w < identities.size(); ++w) {
    const bool runs = std::any_of(batch.workers.begin(), batch.workers.end(),
                                  [&](const std::unique_ptr<StartedBatch>& worker) {
                                    return worker->identity() == identities[w];
                                  });
    // A worker that ran to its end claimed it; one that did not was closed,
    // and the jobs and lines that wait for its job would wait for ever.
    const std::string finished = batch.files.claims() + "\\w" + std::to_string(w + 1);
    if (runs || files_.exists(path(finished))) continue;
    const std::string stop = path(batch.files.stopRequest());
    if (!files_.exists(stop)) files_.writeFile(stop, "");
    return;
  }
}

bool BatchRoom::stillRuns(Batch& batch) {
  const BatchRecord& record = batch.view.record;
  // Its interpreters count until they are gone, past the record's end too:
  // the last one still clears the batch's files then, and its name is not
  // given again before.
  if (batch.workers.empty() && !batch.view.runs)
    for (const std::string& identity : record.processes)
      if (std::unique_ptr<StartedBatch> worker = processes_.findStarted(identity))
        batch.workers.push_back(std::move(worker));
  std::erase_if(batch.workers,
                [](const std::unique_ptr<StartedBatch>& w) { return !w->running(); });
  batch.view.runs = !batch.workers.empty() && !record.ended && !record.stopped;
  if (batch.view.runs && batch.workers.size() < record.processes.size()) stopWithout(batch);
  batch.stopRequested = batch.view.runs && files_.exists(path(batch.files.stopRequest()));
  // A batch that waits for another shows so until its first job begins.
  batch.view.waitingFor.clear();
  const bool begun = std::any_of(record.jobs.begin(), record.jobs.end(),
                                 [](const RecordedJob& job) { return job.begun; });
  if (batch.view.runs && !begun && !record.after.empty())
    if (const Batch* other = find(record.after); other && other->view.runs)
      batch.view.waitingFor = StartedAt(other->view.record);
  return batch.view.runs;
}

void BatchRoom::look() {
  std::vector<std::string> seen;
  for (const std::string& file : files_.listFiles(files_.programFolder(), "temp*.record")) {
    const std::optional<std::string> name = BatchOfRecord(file);
    if (!name) continue;
    Batch* batch = find(*name);
    // A name taken again by a later batch: its record is another one.
    if (batch && !batch->view.runs) {
      const std::optional<std::string> begin = files_.readPart(path(file), 0, 64);
      if (!begin || (!batch->view.record.started.empty() &&
                     begin->find(batch->view.record.started) == std::string::npos)) {
        std::erase_if(batches_, [&](const std::unique_ptr<Batch>& b) { return b.get() == batch; });
        batch = nullptr;
      }
    }
    if (!batch) {
      auto found = std::make_unique<Batch>();
      found->files.name = *name;
      read(*found, true);
      if (!found->reader.valid()) continue;
      batch = batches_.emplace_back(std::move(found)).get();
    } else {
      read(*batch, false);
    }
    seen.push_back(*name);
  }
  std::erase_if(batches_, [&seen](const std::unique_ptr<Batch>& batch) {
    return std::find(seen.begin(), seen.end(), batch->files.name) == seen.end();
  });
  std::stable_sort(batches_.begin(), batches_.end(),
                   [](const std::unique_ptr<Batch>& a, const std::unique_ptr<Batch>& b) {
                     return a->view.record.started < b->view.record.started;
                   });
  for (const std::unique_ptr<Batch>& batch : batches_) stillRuns(*batch);
  for (const std::unique_ptr<Batch>& batch : batches_) readProgress(*batch);
}

bool BatchRoom::follow() {
  bool any = false;
  for (const std::unique_ptr<Batch>& batch : batches_) {
    if (!batch->view.runs) continue;
    read(*batch, false);
    any = stillRuns(*batch) || any;
    // What the workers wrote before they ended is read too.
    if (!batch->view.runs) read(*batch, false);
    readProgress(*batch);
  }
  return any;
}

std::vector<std::string> BatchRoom::runningWorkers() const {
  std::vector<std::string> identities;
  for (const Batch* batch : running())
    for (const std::unique_ptr<StartedBatch>& worker : batch->workers)
      identities.push_back(worker->identity());
  return identities;
}

bool BatchRoom::removeFiles(const std::string& name) {
  const BatchFiles batch{name};
  const std::string folder = files_.programFolder();
  bool removed = true;
  for (const std::string& file : files_.listFiles(folder, batch.pattern()))
    removed = files_.deleteFile(folder + file) && removed;
  return (files_.removeFolder(folder + batch.claims()) || !files_.exists(path(batch.claims()))) &&
         removed;
}

void BatchRoom::forget(const std::string& name) {
  Batch* batch = find(name);
  if (batch && (batch->view.runs || occupied(*batch))) return;
  removeFiles(name);
  std::erase_if(batches_,
                [&name](const std::unique_ptr<Batch>& b) { return b->files.name == name; });
}

std::shared_ptr<void> BatchRoom::hold() {
  std::shared_ptr<void> held;
  for (int tries = 0; !held && tries < kLockTries; ++tries) {
    if (tries > 0) std::this_thread::sleep_for(kLockWait);
    held = files_.lock(path(std::string(kBatchesLock)));
  }
  return held;
}

std::multiset<std::uint64_t> BatchRoom::heldJobs() const {
  std::multiset<std::uint64_t> held;
  for (const Batch* batch : running())
    for (const RecordedJob& job : batch->view.record.jobs) held.insert(job.hash);
  return held;
}

std::optional<Problem> BatchRoom::startedMeanwhile(const Launch& launch) const {
  const std::vector<JobSpan> spans = JobSpans(launch.lines);
  std::multiset<std::uint64_t> held = heldJobs();
  // The jobs the Start left out were held when it looked: each stands for
  // one held job still.
  std::vector<bool> planned(spans.size(), false);
  for (const HeaderJob& mine : launch.jobs) planned[mine.span] = true;
  for (size_t j = 0; j < spans.size(); ++j)
    if (auto found = held.find(spans[j].hash); !planned[j] && found != held.end())
      held.erase(found);
  for (const HeaderJob& mine : launch.jobs) {
    if (mine.earlier || !held.contains(spans[mine.span].hash)) continue;
    std::string started;
    for (const Batch* batch : running())
      for (const RecordedJob& job : batch->view.record.jobs)
        if (job.hash == spans[mine.span].hash) started = StartedAt(batch->view.record);
    return Problem{"Another window started some of these jobs just now, in the batch started at " +
                   started + ". Press Start again to run the others."};
  }
  return std::nullopt;
}

std::string BatchRoom::freeName() {
  // The records of batches that ran to their end, or stopped with nothing
  // left to do, are no longer needed: the new batch is the last one now.
  std::vector<std::string> needless;
  for (const std::unique_ptr<Batch>& batch : batches_)
    if (!batch->view.runs && !occupied(*batch) && !Unfinished(batch->view.record))
      needless.push_back(batch->files.name);
  for (const std::string& old : needless) forget(old);
  for (int n = 1;; ++n)
    if (!find(BatchName(n)) && !files_.exists(path(BatchFiles{BatchName(n)}.record())))
      return BatchName(n);
}

Result<std::string> BatchRoom::launch(const Launch& launch) {
  // One window at a time chooses a name and starts its workers.
  const std::shared_ptr<void> held = hold();
  if (!held)
    return Problem{
        "Another quorvel window of this folder is starting a batch. Press Start again "
        "in a moment."};
  look();
  if (std::optional<Problem> problem = startedMeanwhile(launch)) return *problem;
  const std::string name = freeName();
  const BatchFiles files{name};
  // A worker that found claims or a stop request of an earlier batch of
  // that name would run nothing.
  if (!removeFiles(name) || !files_.createFolder(path(files.claims())))
    return WriteFailure(files_, path(files.claims()));
  const std::optional<std::string> bytes = files_.encode(launch.script.script, CodePage::Console);
  if (!bytes || !files_.writeFile(path(files.script()), *bytes))
    return WriteFailure(files_, path(files.script()));
  std::vector<std::unique_ptr<StartedBatch>> workers;
  std::vector<std::string> identities;
  auto abandon = [&](Problem problem) -> Result<std::string> {
    for (const std::unique_ptr<StartedBatch>& worker : workers) worker->end();
    // What cannot go now goes before the name is taken again.
    removeFiles(name);
    return problem;
  };
  for (int w = 1; w <= launch.workers; ++w) {
    EnvironmentVariables variables = launch.script.variables;
    // By its whole path: a job's own "cd" leaves the batch's files where they are.
    variables.emplace_back(kBatchVariable, path(name));
    variables.emplace_back(kWorkerVariable, std::to_string(w));
    Result<std::unique_ptr<StartedBatch>> started =
        processes_.startBatch(path(files.script()), files_.programFolder(), variables);
    if (!started)
      return abandon(Problem{"The batch file cannot be started:\n" + path(files.script()) + "\n\n" +
                             started.problem().text});
    identities.push_back(started.value()->identity());
    workers.push_back(std::move(started.value()));
  }
  // What other batches read of this one before they shut the computer down:
  // its workers, and whether it waits to run after another batch.
  for (const std::string& identity : identities)
    if (const std::string mark = path(files.claims() + "\\" + WorkerMark(identity));
        !files_.writeFile(mark, ""))
      return abandon(WriteFailure(files_, mark));
  if (const std::string waiting = path(files.claims() + "\\" + std::string(batch_claims::kWaiting));
      !launch.after.empty() && !files_.createFolder(waiting))
    return abandon(WriteFailure(files_, waiting));
  // The workers are held until what names them is in the record.
  const std::string header = BatchRecordHeader(launch.lines, launch.jobs, launch.started,
                                               launch.workers, identities, launch.afterName);
  if (!files_.writeFile(path(files.record()), header))
    return abandon(WriteFailure(files_, path(files.record())));
  for (const std::unique_ptr<StartedBatch>& worker : workers)
    if (!worker->resume())
      return abandon(Problem{"The batch file cannot be started:\n" + path(files.script()) +
                             "\n\nIts command interpreter did not begin."});
  auto batch = std::make_unique<Batch>();
  batch->files = files;
  batch->workers = std::move(workers);
  read(*batch, true);
  batch->view.runs = true;
  batches_.push_back(std::move(batch));
  return name;
}

Result<Done> BatchRoom::pause(bool paused) {
  for (const std::unique_ptr<Batch>& batch : batches_) {
    if (!batch->view.runs || batch->view.record.paused == paused) continue;
    // The record says it while no worker can write.
    if (!paused &&
        !files_.appendFile(path(batch->files.record()), RecordLine(Verb::Resumed) + "\r\n"))
      return WriteFailure(files_, path(batch->files.record()));
    bool all = true;
    for (const std::unique_ptr<StartedBatch>& worker : batch->workers)
      all = (paused ? worker->pause() : worker->resume()) && all;
    if (!all) {
      // Half paused is not paused: what was held runs on.
      if (paused)
        for (const std::unique_ptr<StartedBatch>& worker : batch->workers) worker->resume();
      return Problem{"The batch started at " + StartedAt(batch->view.record) + " could not be " +
                     (paused ? "paused" : "resumed") + ": the system refused it."};
    }
    if (paused &&
        !files_.appendFile(path(batch->files.record()), RecordLine(Verb::Paused) + "\r\n"))
      return WriteFailure(files_, path(batch->files.record()));
    read(*batch, false);
  }
  return Done{};
}

bool BatchRoom::paused() const {
  const std::vector<const Batch*> batches = running();
  return !batches.empty() && std::all_of(batches.begin(), batches.end(), [](const Batch* batch) {
    return batch->view.record.paused;
  });
}

Result<Done> BatchRoom::stopAfterRunningJobs(bool stop) {
  for (const std::unique_ptr<Batch>& batch : batches_) {
    if (!batch->view.runs) continue;
    const std::string file = path(batch->files.stopRequest());
    if (stop && !files_.writeFile(file, "")) return WriteFailure(files_, file);
    if (!stop && !files_.deleteFile(file) && files_.exists(file)) return WriteFailure(files_, file);
    batch->stopRequested = stop;
  }
  return Done{};
}

bool BatchRoom::stopPending() const {
  const std::vector<const Batch*> batches = running();
  return !batches.empty() && std::all_of(batches.begin(), batches.end(),
                                         [](const Batch* batch) { return batch->stopRequested; });
}

Result<Done> BatchRoom::stopNow() {
  for (const std::unique_ptr<Batch>& batch : batches_) {
    if (!batch->view.runs) continue;
    for (const std::unique_ptr<StartedBatch>& worker : batch->workers) worker->end();
    std::erase_if(batch->workers,
                  [](const std::unique_ptr<StartedBatch>& w) { return !w->running(); });
    // A batch whose interpreter outlived the stop runs on, and says so.
    if (!batch->workers.empty())
      return Problem{"The batch started at " + StartedAt(batch->view.record) +
                     " could not be stopped: its command interpreter still runs."};
    batch->view.runs = false;
    if (!files_.appendFile(path(batch->files.record()), RecordLine(Verb::Stopped) + "\r\n"))
      return WriteFailure(files_, path(batch->files.record()));
    read(*batch, false);
  }
  return Done{};
}

std::vector<const BatchRoom::Batch*> BatchRoom::interrupted() const {
  std::vector<const Batch*> found;
  for (auto it = batches_.rbegin(); it != batches_.rend(); ++it) {
    const Batch& batch = **it;
    if (!batch.view.runs && Unfinished(batch.view.record)) found.push_back(&batch);
  }
  return found;
}
