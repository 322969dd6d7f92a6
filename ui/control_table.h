#pragma once

#include <span>
#include <string_view>

#include "ui/control_id.h"

enum class ControlKind {
  Button,
  Check,     // check box with its caption
  Label,     // static text
  Field,     // one-line text field
  Digits,    // one-line text field that takes only 0-9 when typed
  List,      // drop-down list, text not editable
  EditList,  // drop-down list with an editable text
  Track,     // horizontal track bar
  Frame,     // titled group box
  ListBox,   // the job list: single selection
  Picture,   // the banner
};

enum class Page { Outside, Bitrate, RateControl, MBsFrames, More, Job };

inline constexpr int kPageCount = 5;

// One row of the window layout. Coordinates of page controls are relative to
// the page's inner area, of the others to the window's client area.
struct ControlSpec {
  ControlId id;  // cid::none for the "Audio" frame, which nothing refers to
  ControlKind kind;
  Page page;
  int x, y, w, h;
  std::string_view caption;  // caption of a button, check box, label or frame
  std::string_view setting;  // INI key or name of a key-less control
  std::string_view toolTip;
  int maxLength = 0;            // typing limit of a field; 0: none
  int trackMax = 0;             // a track bar ranges over 0..trackMax
  bool systemFont = false;      // keeps the system's dialog font, not Tahoma
  bool startsDisabled = false;  // greyed out by the window builder
  bool startsTicked = false;    // a check box that no setting holds, ticked when built
};

// Every control, page by page in creation order: outside the panel first,
// then "Bitrate", "Rate Control", "MBs&&Frames", "More", "Job".
std::span<const ControlSpec> ControlTable();

// The row of a control, or nullptr for an id that no control has.
const ControlSpec* FindControl(ControlId id);

// The captions of the five tab pages, in order.
std::span<const std::string_view> PageCaptions();
