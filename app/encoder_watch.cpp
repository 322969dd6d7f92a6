#include "app/encoder_watch.h"

#include <memory>
#include <utility>

#include "jobs/job_programs.h"

EncoderWatch::~EncoderWatch() {
  // An answer posted meanwhile finds the watch gone; the encoder still being
  // asked is stopped, so that this does not wait for it.
  *alive_ = false;
  asking_.request_stop();
}

std::string EncoderInfo::versionLine() const {
  if (!help) return {};
  const size_t end = help->find_first_of("\r\n");
  return help->substr(0, end == std::string::npos ? help->size() : end);
}

void EncoderWatch::ask(std::optional<EncoderFile> file) {
  pending_ = true;
  asking_ = std::jthread([this, file = std::move(file), known = known_.file,
                          alive = alive_](std::stop_token stop) mutable {
    EncoderInfo info;
    for (int look = 0;; ++look) {
      // Found neither in the program folder nor in its tools folder: along
      // PATH, then. The file may have changed while it was asked.
      if (!file || look > 0) file = probe_.find(Reach::AlongPath);
      if (file == known && look == 0 && known) {
        info.file = file;
        break;
      }
      info = EncoderInfo{};
      info.file = file;
      if (info.file) info.help = probe_.longHelp(info.file->path, timeLimitMs_, stop);
      if (info.help) info.dialect = DialectOfHelp(*info.help);
      if (stop.stop_requested()) return;
      if (look >= 2 || probe_.find(Reach::AlongPath) == file) break;
    }
    post_([this, alive, info = std::move(info)]() mutable {
      if (*alive) answered(std::move(info));
    });
  });
}

void EncoderWatch::answered(EncoderInfo info) {
  // An encoder found as it was asked before is known as it was.
  if (!(info.file == known_.file && !info.help && info.file)) known_ = std::move(info);
  pending_ = false;
  std::vector<std::function<void(const EncoderInfo&)>> waiting = std::move(waiting_);
  waiting_.clear();
  for (const auto& then : waiting) then(known_);
}

void EncoderWatch::start() {
  if (asked_) return;
  asked_ = true;
  ask(probe_.find(Reach::ProgramFolder));
}

bool EncoderWatch::askUnlessKnown() {
  if (pending_) return false;
  const bool known = asked_;
  asked_ = true;
  std::optional<EncoderFile> found = probe_.find(Reach::ProgramFolder);
  if (found && known && found == known_.file) return true;
  ask(std::move(found));
  return false;
}

void EncoderWatch::whenKnown(std::function<void(const EncoderInfo&)> then) {
  // Only jobs queued while the encoder is asked wait for its answer.
  if (pending_)
    waiting_.push_back(std::move(then));
  else
    then(known_);
}

std::string EncoderInfoText(const EncoderInfo& info) {
  constexpr const char* kClassic =
      "The jobs are written with the switches of the x264 builds of 2008 (--progress, "
      "--no-psnr, --no-ssim, --b-pyramid without a value).";
  if (!info.file)
    return std::string(
               "No x264.exe was found in the program folder, in its \"tools\" folder or "
               "along PATH.\n\n") +
           kClassic + "\n\nPut x264.exe beside quorvel.exe to have jobs written for it.";
  std::string text = "The jobs are written for:\n\n" + info.file->path + "\n";
  if (!info.help)
    return text + "\nIt did not answer when asked for its switches (x264 --longhelp).\n\n" +
           kClassic;
  text += info.versionLine() + "\n\n";
  if (!info.dialect.current) return text + kClassic;
  text +=
      "It is an x264 of mid-2009 or later: no --progress; --psnr and --ssim when ticked; "
      "--no-mbtree, --slow-firstpass in first passes, and --no-8x8dct, --no-mixed-refs, -t 0";
  text += info.dialect.namedPyramid ? ", --b-pyramid none/normal" : ", --b-pyramid when ticked";
  text += " and --no-weightb where the settings leave them off.";
  return text;
}

std::string EncoderReport(const EncoderInfo& info, const Processes& processes,
                          const std::string& programFolder) {
  std::string text = EncoderInfoText(info);
  text += "\n\nThe other programs the jobs call:";
  for (const JobProgram& row : kJobPrograms) {
    const std::string_view program = row.name;
    const std::optional<std::string> found = processes.findProgram(program, programFolder);
    text += '\n';
    text += program;
    text += ": ";
    text += found ? *found : std::string("not found");
  }
  return text;
}
