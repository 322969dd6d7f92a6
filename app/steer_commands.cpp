#include "app/steer_commands.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view kJobsAtOnceKey = "jobs at once = ";

}  // namespace

std::string SteerCommands::choiceFile() const {
  return files_.programFolder() + std::string(kJobsAtOnceFile);
}

int SteerCommands::jobsAtOnce() const {
  const std::optional<std::string> text = files_.readPart(choiceFile(), 0, 256);
  if (!text || !text->starts_with(kJobsAtOnceKey)) return 1;
  int jobs = 1;
  const char* digits = text->data() + kJobsAtOnceKey.size();
  std::from_chars(digits, text->data() + text->size(), jobs);
  return std::clamp(jobs, 1, kMostJobsAtOnce);
}

void SteerCommands::chooseJobsAtOnce(int jobs) {
  jobs = std::clamp(jobs, 1, kMostJobsAtOnce);
  const std::string text = std::string(kJobsAtOnceKey) + std::to_string(jobs) + "\r\n";
  if (!files_.writeFile(choiceFile(), text)) messages_.writeFailure(choiceFile());
}

BatchMenu SteerCommands::menu() {
  room_.look();
  watch_.show();
  return {!room_.running().empty(), room_.paused(), room_.stopPending(), jobsAtOnce()};
}

void SteerCommands::pause() {
  room_.look();
  if (room_.running().empty()) return;
  if (const Result<Done> done = room_.pause(!room_.paused()); !done) messages_.tell(done.problem());
  watch_.changed();
}

void SteerCommands::stopAfterJob() {
  room_.look();
  if (room_.running().empty()) return;
  if (const Result<Done> done = room_.stopAfterRunningJobs(!room_.stopPending()); !done)
    messages_.tell(done.problem());
  watch_.changed();
}

void SteerCommands::stopNow() {
  room_.look();
  const std::vector<const BatchRoom::Batch*> running = room_.running();
  if (running.empty()) return;
  std::string jobs;
  for (const BatchRoom::Batch* batch : running) {
    const std::string text = RunningJobsText(batch->view);
    if (!text.empty()) jobs += (jobs.empty() ? "" : "; ") + text;
  }
  const std::string question =
      jobs.empty() ? "Stop the batch now? No job of it has begun yet."
                   : "Stop the batch now? The running " +
                         std::string(jobs.find(';') == std::string::npos ? "job (" : "jobs (") +
                         jobs + ") will be left unfinished.";
  if (!messages_.ask(question)) return;
  if (const Result<Done> done = room_.stopNow(); !done) messages_.tell(done.problem());
  watch_.changed();
}

void SteerCommands::closing() {
  room_.look();
  if (!room_.paused()) return;
  if (messages_.ask("The batch is paused. Let it go on before quorvel closes?")) {
    if (const Result<Done> done = room_.pause(false); !done) messages_.tell(done.problem());
  }
}
