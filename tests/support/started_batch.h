#pragma once

#include <string>

// The lines a started batch runs besides the job lines: the records of each
// job in "temp.record" (or "tempN.record") and the jumps past the steps
// after a failed one.
bool IsStartedBatchsOwn(const std::string& line);

// A started batch's text without those lines.
std::string WithoutStartedBatchsOwn(const std::string& script);
