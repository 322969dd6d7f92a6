#pragma once

#include <string>

// The system's own text for an error code, without the trailing line end.
std::string SystemMessage(unsigned long errorCode);
