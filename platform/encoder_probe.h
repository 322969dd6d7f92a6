#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

#include "platform/processes.h"

// The x264.exe that the batch lines will call, as a file: when its path,
// size or time changes, it is another encoder.
struct EncoderFile {
  std::string path;
  std::uint64_t size = 0;
  std::int64_t writeTime = 0;

  bool operator==(const EncoderFile&) const = default;
};

// Finds and asks the encoder. Both may be called from another thread than
// the window's.
class EncoderProbe {
 public:
  virtual ~EncoderProbe() = default;

  // The x264.exe the job batch will run: the program folder first (the
  // batch's current directory), then its "tools" folder, then the folders of
  // PATH in order. Nothing when there is none, or none within `reach`.
  virtual std::optional<EncoderFile> find(Reach reach = Reach::AlongPath) = 0;

  // What the encoder prints for --longhelp, run without a window. Nothing
  // when it cannot be started, ends with another code than 0 (a crash
  // included), or has not ended within `timeoutMs` or before `stop` is
  // requested, in which case it is stopped.
  virtual std::optional<std::string> longHelp(const std::string& path, int timeoutMs,
                                              std::stop_token stop = {}) = 0;
};
