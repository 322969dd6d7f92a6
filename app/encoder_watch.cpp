#include "app/encoder_watch.h"

EncoderWatch::~EncoderWatch() {
  if (pending_.valid()) pending_.wait();
}

std::string EncoderInfo::versionLine() const {
  if (!help) return {};
  const size_t end = help->find_first_of("\r\n");
  return help->substr(0, end == std::string::npos ? help->size() : end);
}

EncoderInfo EncoderWatch::ask(std::optional<EncoderFile> file) {
  EncoderInfo info;
  info.file = std::move(file);
  if (info.file) info.help = probe_.longHelp(info.file->path, timeLimitMs_);
  if (info.help) info.dialect = DialectOfHelp(*info.help);
  return info;
}

void EncoderWatch::start() {
  if (asked_) return;
  asked_ = true;
  // Finding the file takes a few looks at the disk; only running the
  // encoder takes long enough for a thread of its own.
  std::optional<EncoderFile> file = probe_.find();
  if (!file) return;
  pending_ = std::async(std::launch::async, [this, file] { return ask(file); });
}

const EncoderInfo& EncoderWatch::current() {
  if (pending_.valid()) {
    known_ = pending_.get();
  } else if (!asked_) {
    asked_ = true;
    known_ = ask(probe_.find());
    return known_;
  }
  std::optional<EncoderFile> found = probe_.find();
  if (found != known_.file) known_ = ask(std::move(found));
  return known_;
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
