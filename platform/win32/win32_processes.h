#pragma once

#include "platform/processes.h"
#include "platform/win32/unique_handle.h"

// Starts batch files through the command interpreter in consoles of their
// own, at the idle priority class, and steers them with every process they
// start.
class Win32Processes final : public Processes {
 public:
  Result<std::unique_ptr<StartedBatch>> startBatch(std::string_view path,
                                                   std::string_view workingFolder,
                                                   const EnvironmentVariables& variables) override;
  std::optional<std::string> findProgram(std::string_view program, std::string_view workingFolder,
                                         Reach reach = Reach::AlongPath) const override;
  std::unique_ptr<StartedBatch> findStarted(std::string_view identity) override;
};
