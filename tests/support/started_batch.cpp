#include "support/started_batch.h"

#include <string_view>

bool IsStartedBatchsOwn(const std::string& line) {
  const std::string_view text = line;
  // The workers' records, claims, stop request and progress files are named
  // through the batch's variable; their jumps go to labels of their own.
  return text.find("%QUORVEL_BATCH%") != std::string_view::npos ||
         text.find("goto quorvel_") != std::string_view::npos ||
         text.find("goto :eof") != std::string_view::npos || text.starts_with(":quorvel_") ||
         text == "@(call )" || text.starts_with("@lullo.exe 500") ||
         text.starts_with("@lullo.exe --after ");
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
