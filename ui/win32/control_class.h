#pragma once

#include <windows.h>

#include "ui/control_table.h"

// The window class and styles a row of the control table is created with,
// its height before scaling: the height given to a list is that of its
// opened list.
struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
  int height;
};

ControlClass ClassOfControl(const ControlSpec& row);
