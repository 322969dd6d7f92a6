#pragma once

#include "ui/window.h"

// Checks that a window shows what a first start gives it, the built-in
// settings: list entries and selections, checks, disabled and hidden
// controls, track positions. Works on the in-memory and the real window.
void ExpectStartupState(const Window& window);
