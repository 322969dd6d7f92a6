#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "app/background.h"
#include "args/encoder_dialect.h"
#include "platform/dialogs.h"
#include "platform/encoder_probe.h"
#include "platform/processes.h"

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

// Keeps the dialect of the x264 that the batch lines call. The encoder is
// asked on a thread of its own, once when the program starts and again when
// the file found is another one (path, size or time), which is looked at
// at each Add; the answer comes back to the window's thread, which never
// waits for it. The window's thread looks for the file in the program
// folder and its tools folder only; along PATH, the thread looks.
class EncoderWatch {
 public:
  EncoderWatch(EncoderProbe& probe, PostToWindow post, int timeLimitMs = kEncoderHelpTimeoutMs)
      : probe_(probe), post_(std::move(post)), timeLimitMs_(timeLimitMs) {}
  // Stops an encoder still being asked; nothing it says is taken any more.
  ~EncoderWatch();
  EncoderWatch(const EncoderWatch&) = delete;
  EncoderWatch& operator=(const EncoderWatch&) = delete;

  // Looks for the encoder and starts asking it; the caller goes on at once.
  void start();

  // Asks the encoder unless it is known as it is now (no answer awaited,
  // and the file found is the one asked); true when it is known.
  bool askUnlessKnown();

  // Runs `then` with the encoder as it is known: at once unless it is being
  // asked, otherwise on the window's thread once it has answered (or its
  // time limit has passed), after what waited for it before.
  void whenKnown(std::function<void(const EncoderInfo&)> then);

  // The encoder as far as it is known.
  const EncoderInfo& known() const { return known_; }

 private:
  // Asks the encoder `file` on the thread, or, without one, first looks
  // for it along PATH there.
  void ask(std::optional<EncoderFile> file);
  void answered(EncoderInfo info);

  EncoderProbe& probe_;
  PostToWindow post_;
  const int timeLimitMs_;
  EncoderInfo known_;
  bool asked_ = false;
  bool pending_ = false;
  std::vector<std::function<void(const EncoderInfo&)>> waiting_;
  // Cleared when the watch goes: an answer posted meanwhile is dropped.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::jthread asking_;
};

// What the program tells the user about the encoder the jobs are written
// for: its path, its version line and the switches used.
std::string EncoderInfoText(const EncoderInfo& info);

// That, and where the batch finds the other programs the jobs call.
std::string EncoderReport(const EncoderInfo& info, const Processes& processes,
                          const std::string& programFolder);
