#include "app/script_commands.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <set>
#include <string>

#include "core/path_parts.h"
#include "jobs/batch_line.h"
#include "jobs/batch_record.h"
#include "jobs/job_line.h"
#include "jobs/job_script.h"

std::string LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  char text[32] = {};
  if (const std::tm* local = std::localtime(&now))
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  return text;
}

namespace {

// Where a batch that runs is: "job 3 of 7", "jobs 3 and 4 of 7", "starting".
std::string WhereItIs(const BatchView& batch) {
  std::string text = RunningText(batch);
  if (text.starts_with("paused: ")) text = text.substr(8);
  if (const size_t cut = text.find_first_of(",:("); cut != std::string::npos)
    text = text.substr(0, cut);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

void ScriptCommands::startDone() {
  starting_ = false;
  if (settingsProblem_) s_.messages.tell(*settingsProblem_);
  settingsProblem_.reset();
}

void ScriptCommands::makeBat() {
  if (writing_) return;
  writing_ = true;
  s_.encoders.whenKnown([this](const EncoderInfo&) {
    writeBat();
    writing_ = false;
  });
}

void ScriptCommands::start() {
  if (starting_) return;
  starting_ = true;
  s_.encoders.whenKnown([this](const EncoderInfo&) { planStart(); });
}

void ScriptCommands::shut() { s_.list.append(std::string(kShutdownLine)); }

void ScriptCommands::writeBat() {
  std::string path = s_.dialogs.saveFile("", "", "Batch File|*.BAT");
  if (path.empty()) return;
  if (Extension(path).empty()) path += ".bat";
  // In the console's code page when it spells every character, otherwise
  // in UTF-8 with the console switched to it for the run.
  const FileSystem& files = s_.files;
  const std::string folder = files.programFolder();
  std::optional<std::string> bytes =
      files.encode(MakeBatScript(s_.list.lines(), folder), CodePage::Console);
  if (!bytes) bytes = MakeBatScript(s_.list.lines(), folder, true);
  if (!s_.files.writeFile(path, *bytes)) s_.messages.writeFailure(path);
}

void ScriptCommands::leaveOutRunning(StartPlan& plan) const {
  // The jobs of a batch that runs are left out, each once.
  std::multiset<std::uint64_t> running = s_.room.heldJobs();
  plan.leftOut.resize(plan.spans.size());
  for (size_t j = 0; j < plan.spans.size(); ++j)
    if (auto found = running.find(plan.spans[j].hash); found != running.end()) {
      plan.leftOut[j] = true;
      running.erase(found);
    }
}

void ScriptCommands::findFinished(StartPlan& plan) const {
  // What batches stopped short finished, matched by the jobs' lines.
  std::multimap<std::uint64_t, StartPlan::Finished> done;
  for (const BatchRoom::Batch* batch : s_.room.interrupted())
    for (const RecordedJob& job : batch->view.record.jobs)
      if (job.done && !job.failed)
        done.emplace(job.hash, StartPlan::Finished{0, job.result, job.size, batch->files.name});
  for (size_t j = 0; j < plan.spans.size(); ++j) {
    if (plan.leftOut[j]) continue;
    if (auto found = done.find(plan.spans[j].hash); found != done.end()) {
      found->second.span = j;
      plan.finished.push_back(found->second);
      done.erase(found);
    }
  }
}

void ScriptCommands::planStart() {
  if (!s_.settings.saveMainSettings())
    settingsProblem_ = WriteFailure(s_.files, s_.settings.mainSettingsPath());
  s_.room.look();
  StartPlan plan;
  plan.lines = s_.list.lines();
  plan.spans = JobSpans(plan.lines);
  if (plan.spans.empty()) {
    s_.messages.tell("The job list holds no job: nothing was started.");
    return startDone();
  }
  leaveOutRunning(plan);
  findFinished(plan);
  // The programs the batch calls that are not in the program folder are
  // looked for along PATH, and the results of the finished jobs where they
  // lie, on another thread.
  const std::string folder = s_.files.programFolder();
  std::vector<std::string> programs = CalledPrograms(plan.lines);
  programs.emplace_back(programs::kEnvprep);
  programs.emplace_back(programs::kLullo);
  // Every pass of a job runs through teelog.exe, a log file or none.
  const bool passes = std::any_of(plan.spans.begin(), plan.spans.end(),
                                  [](const JobSpan& span) { return span.passes > 0; });
  if (passes && std::find(programs.begin(), programs.end(), programs::kTeelog) == programs.end())
    programs.emplace_back(programs::kTeelog);
  for (const std::string& program : programs)
    if (!s_.processes.findProgram(program, folder, Reach::ProgramFolder))
      plan.programs.push_back(program);
  std::vector<std::string> results;
  for (const StartPlan::Finished& finished : plan.finished) results.push_back(finished.result);
  const bool sizes = std::any_of(results.begin(), results.end(),
                                 [](const std::string& result) { return !result.empty(); });
  if (plan.programs.empty() && !sizes) return looked(std::move(plan), Looked{});
  std::vector<std::string> unfound = plan.programs;
  background_.run<Looked>(
      [&processes = s_.processes, &files = s_.files, folder, programs = std::move(unfound),
       results = std::move(results)] {
        Looked found;
        for (const std::string& program : programs)
          if (!processes.findProgram(program, folder, Reach::AlongPath))
            found.missing.push_back(program);
        for (const std::string& result : results)
          found.sizes.push_back(result.empty() ? std::nullopt : files.fileSize(result));
        return found;
      },
      [this, plan = std::move(plan)](Looked found) mutable { looked(std::move(plan), found); });
}

std::vector<size_t> ScriptCommands::finishedToSkip(const StartPlan& plan, const Looked& looked) {
  std::vector<size_t> finished;
  std::set<std::string> offering;
  for (size_t i = 0; i < plan.finished.size(); ++i) {
    const StartPlan::Finished& job = plan.finished[i];
    // A job counts as finished only while what it made is there, of the
    // size it had when the job ended.
    const bool whole =
        job.result.empty() || (job.size && i < looked.sizes.size() && looked.sizes[i] == job.size);
    if (!whole) continue;
    finished.push_back(job.span);
    offering.insert(job.batch);
  }
  // The newest of those batches tells; one another window forgot meanwhile
  // offers nothing.
  const BatchRoom::Batch* newest = nullptr;
  for (const BatchRoom::Batch* batch : s_.room.interrupted())
    if (!newest && offering.contains(batch->files.name)) newest = batch;
  if (finished.empty() || !newest) return {};
  const BatchRecord& record = newest->view.record;
  const size_t done = static_cast<size_t>(std::count_if(
      record.jobs.begin(), record.jobs.end(), [](const RecordedJob& job) { return job.done; }));
  std::string question = "The batch started at " + StartedAt(record) + " stopped before its end. " +
                         std::to_string(done) + " of its " + std::to_string(record.jobs.size()) +
                         " jobs had finished. ";
  if (finished.size() == 1)
    question += done == 1 ? "Skip that job?" : "Skip the one of them still in the list?";
  else if (finished.size() == done)
    question += "Skip those " + std::to_string(done) + "?";
  else
    question += "Skip the " + std::to_string(finished.size()) + " of them still in the list?";
  if (s_.messages.ask(question)) return finished;
  // Declined: what those batches finished is run anew and not offered again.
  for (const std::string& name : offering) s_.room.forget(name);
  return {};
}

void ScriptCommands::looked(StartPlan plan, Looked found) {
  const std::vector<size_t> skipped = finishedToSkip(plan, found);
  const size_t total = plan.spans.size();
  const size_t leftOut =
      static_cast<size_t>(std::count(plan.leftOut.begin(), plan.leftOut.end(), true));
  const std::vector<const BatchRoom::Batch*> running = s_.room.running();
  const std::string runningStarted =
      running.empty() ? std::string() : StartedAt(running.back()->view.record);
  if (leftOut + skipped.size() == total) {
    if (leftOut == total)
      s_.messages.tell(
          std::string(total == 1 ? "The job is" : "All " + Counted(total, "job", "jobs") + " are") +
          " already in the batch started at " + runningStarted +
          ", which is running. Nothing was started.");
    else
      s_.messages.tell(
          "Every job of the list finished earlier or is running now. Nothing was started.");
    return startDone();
  }
  bool after = false;
  if (!running.empty()) {
    std::string question = "A batch is running (" + WhereItIs(running.back()->view) + ").";
    if (leftOut > 0)
      question += " " + std::to_string(leftOut) + " of the " + Counted(total, "job", "jobs") +
                  (leftOut == 1 ? " is" : " are") + " already running in the batch started at " +
                  runningStarted + " and " + (leftOut == 1 ? "is" : "are") + " left out.";
    question += "\n\nRun these jobs after it ends? (No runs them beside it.)";
    const Dialogs::Answer answer = s_.messages.choose(question);
    if (answer == Dialogs::Answer::Cancel) return startDone();
    after = answer == Dialogs::Answer::Yes;
  }
  // What the batch would miss is said now, not hours later at its line.
  if (!found.missing.empty()) {
    std::string missing;
    for (const std::string& program : found.missing)
      missing += (missing.empty() ? "" : ", ") + program;
    if (!s_.messages.ask("These programs that the jobs call were not found: " + missing +
                         "\n\nThe batch looks for them in the program folder, its \"tools\" "
                         "folder and along PATH.\n\nStart anyway?"))
      return startDone();
  }
  launch(plan, skipped, after);
  startDone();
}

void ScriptCommands::launch(const StartPlan& plan, const std::vector<size_t>& skipped, bool after) {
  const FileSystem& files = s_.files;
  const std::string folder = files.programFolder();
  WorkerPlan workers{FilesInTheBatch(), {}, 1, {}};
  BatchRoom::Launch launch;
  size_t toRun = 0;
  for (size_t j = 0; j < plan.spans.size(); ++j) {
    if (plan.leftOut[j]) continue;
    const bool earlier = std::find(skipped.begin(), skipped.end(), j) != skipped.end();
    workers.jobs.push_back({j, earlier});
    HeaderJob header{j, std::nullopt, earlier};
    for (const StartPlan::Finished& finished : plan.finished)
      if (earlier && finished.span == j) header.size = finished.size;
    launch.jobs.push_back(header);
    toRun += earlier ? 0 : 1;
  }
  workers.workers = std::clamp(s_.jobsAtOnce(), 1, static_cast<int>(std::max<size_t>(1, toRun)));
  // A batch that ended while the user was asked is not waited for.
  if (const std::vector<const BatchRoom::Batch*> running = s_.room.running();
      after && !running.empty()) {
    workers.after = s_.room.runningWorkers();
    launch.after = workers.after;
    launch.afterName = running.back()->files.name;
  }
  // What the console's code page cannot spell reaches the batch through its
  // environment.
  launch.script = StartScript(plan.lines, folder, workers, [&files](std::string_view character) {
    return files.encode(character, CodePage::Console).has_value();
  });
  if (launch.script.refusal) {
    s_.messages.tell("Nothing was started: " + s_.messages.refusalText(*launch.script.refusal) +
                     "\n\nShorten the paths of that job, or remove it.");
    return;
  }
  launch.lines = plan.lines;
  launch.workers = workers.workers;
  launch.started = s_.now();
  const Result<std::string> started = s_.room.launch(launch);
  if (!started) {
    std::string text = started.problem().text;
    if (settingsProblem_) text += "\n\nThe settings could not be saved either.";
    settingsProblem_.reset();
    return s_.messages.tell(text);
  }
  forgetCovered(plan, started.value());
  s_.watch.started(started.value());
}

void ScriptCommands::forgetCovered(const StartPlan& plan, const std::string& started) {
  std::multiset<std::uint64_t> running;
  for (size_t j = 0; j < plan.spans.size(); ++j)
    if (!plan.leftOut[j]) running.insert(plan.spans[j].hash);
  std::vector<std::string> needless;
  for (const std::unique_ptr<BatchRoom::Batch>& batch : s_.room.batches()) {
    if (batch->view.runs || batch->files.name == started) continue;
    // A batch that stopped short is kept while jobs it did not finish run
    // nowhere else, so that the next Start can still skip what it finished.
    bool covered = true;
    for (const RecordedJob& job : batch->view.record.jobs)
      if (Unfinished(job)) covered = covered && running.contains(job.hash);
    if (covered) needless.push_back(batch->files.name);
  }
  for (const std::string& name : needless) s_.room.forget(name);
}
