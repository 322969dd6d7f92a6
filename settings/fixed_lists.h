#pragma once

#include <span>
#include <string_view>

#include "ui/control_id.h"

// A list whose entries never change: filled once at start-up, its entry
// index being what the settings file stores.
struct FixedList {
  ControlId id;
  std::span<const std::string_view> entries;
  int selected;  // the entry selected at start-up; -1: none
};

// The fixed lists in the order start-up fills them: dm, directpm, mode, m,
// ae, muxer, ms, cqm, tre, aq, level.
std::span<const FixedList> FixedLists();

// The fixed list of a control, or nullptr when the control has none.
const FixedList* FindFixedList(ControlId id);

// The 14 encode modes as the mode list shows them, by index.
std::span<const std::string_view> EncodeModeNames();
