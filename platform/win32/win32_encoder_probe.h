#pragma once

#include <string>

#include "platform/encoder_probe.h"
#include "platform/processes.h"

// Finds x264.exe where the job batch will look for it and runs it with
// --longhelp: without a console window, its output read through a pipe,
// stopped when it overruns the time limit.
class Win32EncoderProbe final : public EncoderProbe {
 public:
  // `programFolder` ends with a backslash; `processes` finds programs as
  // the batch will.
  Win32EncoderProbe(std::string programFolder, const Processes& processes)
      : programFolder_(std::move(programFolder)), processes_(processes) {}

  std::optional<EncoderFile> find(Reach reach = Reach::AlongPath) override;
  std::optional<std::string> longHelp(const std::string& path, int timeoutMs,
                                      std::stop_token stop = {}) override;

 private:
  std::string programFolder_;
  const Processes& processes_;
};
