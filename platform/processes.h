#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Variables added to the environment of a started batch: name, value.
using EnvironmentVariables = std::vector<std::pair<std::string, std::string>>;

// A batch this program started, as long as the program holds it.
class StartedBatch {
 public:
  virtual ~StartedBatch() = default;
  // Whether it still runs.
  virtual bool running() const = 0;
  // What names its process for another run of this program (an id alone
  // may be given to a later process).
  virtual std::string identity() const = 0;
};

// A batch that started, or why it did not.
struct BatchStart {
  std::unique_ptr<StartedBatch> batch;  // nothing when it did not start
  std::string failure;                  // then the system's message
};

// Starting the batch files the program runs.
class Processes {
 public:
  virtual ~Processes() = default;

  // Starts a batch file as a new process in a console of its own, at the
  // idle priority class (which the programs it starts take from it), with
  // `workingFolder` as current directory and `variables` added to its
  // environment, without waiting. Gives the started batch, or why it
  // cannot start.
  virtual BatchStart startBatch(std::string_view path, std::string_view workingFolder,
                                const EnvironmentVariables& variables) = 0;
  // The file a batch running in `workingFolder` starts for the command
  // `program`, found as the batch finds it: in that folder, in its "tools"
  // folder (which the batch puts in front of PATH), then along the PATH this
  // program hands on, with the extensions of PATHEXT for a name without
  // one. Nothing when there is none.
  virtual std::optional<std::string> findProgram(std::string_view program,
                                                 std::string_view workingFolder) const = 0;
  // A batch started earlier, by its identity, while it still runs;
  // nothing once it has ended.
  virtual std::unique_ptr<StartedBatch> findStarted(std::string_view identity) = 0;
};
