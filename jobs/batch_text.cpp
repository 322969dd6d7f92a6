#include "jobs/batch_text.h"

std::string DoublePercent(std::string_view path) {
  std::string out;
  out.reserve(path.size() + 2);
  for (char c : path) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

std::string QuotedPath(std::string_view path) { return '"' + DoublePercent(path) + '"'; }
