#include "support/started_batch.h"

#include <string_view>

bool IsStartedBatchsOwn(const std::string& line) {
  const std::string_view text = line;
  const bool record = text.starts_with("@echo ") && text.find(" >>\"temp") != std::string::npos &&
                      text.ends_with(".record\"");
  const bool progress = text.starts_with("@type nul>\"temp") && text.ends_with(".progress\"");
  const bool jump =
      (text.starts_with("@if ") && text.find(" goto quorvel_") != std::string::npos) ||
      text.starts_with("@goto quorvel_");
  return record || progress || jump || text.starts_with(":quorvel_");
}

std::string WithoutStartedBatchsOwn(const std::string& script) {
  std::string kept;
  for (size_t at = 0; at < script.size();) {
    size_t end = script.find("\r\n", at);
    end = end == std::string::npos ? script.size() : end + 2;
    const std::string line = script.substr(at, end - at);
    const std::string text = line.ends_with("\r\n") ? line.substr(0, line.size() - 2) : line;
    if (!IsStartedBatchsOwn(text)) kept += line;
    at = end;
  }
  return kept;
}
