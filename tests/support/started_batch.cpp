#include "support/started_batch.h"

#include <regex>

bool IsStartedBatchsOwn(const std::string& line) {
  static const std::regex own(
      R"(^(@echo .* >>"temp\d*\.record"|@type nul>"temp\d*\.progress"|@if (not )?errorlevel \d goto quorvel_.*|@goto quorvel_.*|:quorvel_.*)$)");
  return std::regex_match(line, own);
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
