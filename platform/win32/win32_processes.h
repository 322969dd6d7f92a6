#pragma once

#include <map>

#include "platform/processes.h"
#include "platform/win32/unique_handle.h"

// Starts batch files through the command interpreter in consoles of their
// own, and keeps their process handles to tell whether they still run.
class Win32Processes final : public Processes {
 public:
  std::optional<std::uint32_t> startBatch(std::string_view path, std::string_view workingFolder,
                                          const EnvironmentVariables& variables,
                                          StartFailure* failure) override;
  bool isRunning(std::uint32_t processId) const override;
  std::optional<std::string> findProgram(std::string_view program,
                                         std::string_view workingFolder) const override;
  void setIdlePriority(std::uint32_t processId) override;
  void wait(int milliseconds) override;

 private:
  std::map<std::uint32_t, KernelHandle> started_;
};
