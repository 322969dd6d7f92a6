#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/result.h"

// How far a search for a program looks: the program folder and its
// "tools" folder, which the window's thread may look in, or then along
// PATH too, which may reach any disk and is for another thread.
enum class Reach { ProgramFolder, AlongPath };

// Variables added to the environment of a started batch: name, value.
using EnvironmentVariables = std::vector<std::pair<std::string, std::string>>;

// The interpreter of a batch this program started, with every process it
// started and theirs (the encoders, the audio pipe, the muxer), as long as
// the program holds it.
class StartedBatch {
 public:
  virtual ~StartedBatch() = default;
  // Whether its interpreter still runs.
  virtual bool running() const = 0;
  // What names its interpreter for another run of this program (an id alone
  // may be given to a later process): no blanks in it.
  virtual std::string identity() const = 0;
  // Every process of the batch stops using the processor, until resume().
  virtual bool pause() = 0;
  // Every process of the batch runs again; a batch held at its start begins.
  virtual bool resume() = 0;
  // Ends every process of the batch at once.
  virtual bool end() = 0;
};

// Starting the batch files the program runs.
class Processes {
 public:
  virtual ~Processes() = default;

  // Starts a batch file as a new process in a console of its own, at the
  // idle priority class (which the programs it starts take from it), with
  // `workingFolder` as current directory and `variables` added to its
  // environment, without waiting. No line of it runs before resume().
  virtual Result<std::unique_ptr<StartedBatch>> startBatch(
      std::string_view path, std::string_view workingFolder,
      const EnvironmentVariables& variables) = 0;
  // The file a batch running in `workingFolder` starts for the command
  // `program`, found as the batch finds it: in that folder, in its "tools"
  // folder (which the batch puts in front of PATH), then along the PATH this
  // program hands on, with the extensions of PATHEXT for a name without
  // one. Nothing when there is none, or none within `reach`.
  virtual std::optional<std::string> findProgram(std::string_view program,
                                                 std::string_view workingFolder,
                                                 Reach reach = Reach::AlongPath) const = 0;
  // A batch started earlier, by its identity, while it still runs;
  // nothing once it has ended.
  virtual std::unique_ptr<StartedBatch> findStarted(std::string_view identity) = 0;
};
