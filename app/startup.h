#pragma once

#include "ui/window.h"

// Fills every fixed list with its entries and selects the start-up entry.
void FillFixedLists(Window& window);

// Check states, disabled controls, track positions and hidden controls as
// the window shows them before any settings are loaded.
void SetInitialStates(Window& window);
