#pragma once

#include <future>
#include <optional>
#include <string>

#include "args/encoder_dialect.h"
#include "platform/encoder_probe.h"

// What the program knows of the x264 that the jobs will call.
struct EncoderInfo {
  std::optional<EncoderFile> file;  // nothing: no x264.exe was found
  std::optional<std::string> help;  // its --longhelp; nothing: it did not answer
  EncoderDialect dialect;           // the switches the jobs are written in

  // The first line of the help ("x264 core:164 r3095 baee400"), or "".
  std::string versionLine() const;
};

// How long the encoder may take to print its help.
inline constexpr int kEncoderHelpTimeoutMs = 5000;

// Keeps the dialect of the x264 that the batch lines call. It asks the
// encoder once in the background when the program starts, and again when
// the file found is another one (path, size or time), which is checked each
// time the dialect is wanted: once per "Add" or "Batch Adding".
class EncoderWatch {
 public:
  explicit EncoderWatch(EncoderProbe& probe, int timeLimitMs = kEncoderHelpTimeoutMs)
      : probe_(probe), timeLimitMs_(timeLimitMs) {}
  ~EncoderWatch();
  EncoderWatch(const EncoderWatch&) = delete;
  EncoderWatch& operator=(const EncoderWatch&) = delete;

  // Looks for the encoder and starts asking it on another thread; the
  // caller goes on at once.
  void start();

  // The encoder as it is now. Waits for an answer under way (at most the
  // time limit of the help) and asks again when the file has changed.
  const EncoderInfo& current();

 private:
  EncoderInfo ask(std::optional<EncoderFile> file);

  EncoderProbe& probe_;
  std::future<EncoderInfo> pending_;
  const int timeLimitMs_;
  EncoderInfo known_;
  bool asked_ = false;
};

// What the program tells the user about the encoder the jobs are written
// for: its path, its version line and the switches used.
std::string EncoderInfoText(const EncoderInfo& info);
