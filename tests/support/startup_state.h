#pragma once

#include "ui/window.h"

// Checks that a window shows the state start-up gives it before any settings
// file is loaded: list entries and selections, checks, disabled and hidden
// controls, track positions. Works on the in-memory and the real window.
void ExpectStartupState(const Window& window);
