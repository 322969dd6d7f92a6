#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/batch_claims.h"

// The files of one started batch, in the program folder, all named after
// the batch ("temp", "temp2", ...) and written by nobody else:
//
//   temp.bat            the batch the workers run
//   temp.record         what the program wrote when it started the batch,
//                       and the pauses and a stop it made
//   temp.w1.record      what worker 1 appended as it ran the jobs
//   temp.j3.progress    the encoder's progress in job 3, and its last error
//   temp.w1.env.bat     worker 1's search path, while it starts
//   temp.stop           asks the workers to start no further job
//   temp.claims\        the jobs and lines the workers have taken, and ended,
//                       and the marks other batches read (core/batch_claims.h)
struct BatchFiles {
  std::string name;  // "temp2"

  std::string script() const { return name + ".bat"; }
  std::string record() const { return name + ".record"; }
  std::string workerRecord(std::string_view worker) const {
    return name + ".w" + std::string(worker) + ".record";
  }
  std::string progress(size_t job) const { return name + ".j" + std::to_string(job) + ".progress"; }
  std::string environment(std::string_view worker) const {
    return name + ".w" + std::string(worker) + ".env.bat";
  }
  std::string stopRequest() const { return name + ".stop"; }
  std::string claims() const { return name + ".claims"; }
  // Every file of the batch but its folder of claims: "temp.*".
  std::string pattern() const { return name + ".*"; }
};

// The mark of the worker whose interpreter is `identity` ("PROCESS:CREATED")
// among the batch's claims: "pid.PROCESS.CREATED".
inline std::string WorkerMark(std::string identity) {
  for (char& c : identity)
    if (c == ':') c = '.';
  return std::string(batch_claims::kWorkerPrefix) + identity;
}

// The name of the n-th batch that may run at once: "temp", "temp2", ...
inline std::string BatchName(int n) { return n <= 1 ? "temp" : "temp" + std::to_string(n); }

// The batch whose record file is `file` ("temp2.record"); nothing for
// another file.
inline std::optional<std::string> BatchOfRecord(std::string_view file) {
  constexpr std::string_view kStem = "temp";
  constexpr std::string_view kEnding = ".record";
  if (file.size() < kStem.size() + kEnding.size() || !file.ends_with(kEnding)) return std::nullopt;
  std::string name(file.substr(0, file.size() - kEnding.size()));
  if (name.size() < kStem.size() || std::string_view(name).substr(0, 4) != kStem) return {};
  for (size_t i = kStem.size(); i < name.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
  if (name.size() > kStem.size() && (name[kStem.size()] == '0' || name == "temp1"))
    return std::nullopt;
  return name;
}

// What the workers of a batch find in their environment: the batch's name
// and their number. The batch file names its files through them.
inline constexpr std::string_view kBatchVariable = "QUORVEL_BATCH";
inline constexpr std::string_view kWorkerVariable = "QUORVEL_WORKER";
// "%NAME%": what the interpreter puts the variable's value in for.
inline std::string Reference(std::string_view variable) {
  std::string text(1, '%');
  text += variable;
  text += '%';
  return text;
}
inline BatchFiles FilesInTheBatch() { return {Reference(kBatchVariable)}; }
