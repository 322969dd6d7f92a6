#include "ui/win32/control_class.h"

#include <commctrl.h>

#include <algorithm>

ControlClass ClassOfControl(const ControlSpec& row) {
  ControlClass made{L"STATIC", WS_CHILD | WS_VISIBLE, 0, row.h};
  switch (row.kind) {
    case ControlKind::Button:
      made.name = L"BUTTON";
      made.style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case ControlKind::Check:
      made.name = L"BUTTON";
      made.style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::Label:
      made.style |= SS_LEFT;
      break;
    case ControlKind::Field:
    case ControlKind::Digits:
      made.name = L"EDIT";
      made.exStyle = WS_EX_CLIENTEDGE;
      made.style |= ES_AUTOHSCROLL | WS_TABSTOP | (row.kind == ControlKind::Digits ? ES_NUMBER : 0);
      break;
    case ControlKind::List:
    case ControlKind::EditList:
      made.name = L"COMBOBOX";
      made.style |=
          WS_VSCROLL | WS_TABSTOP |
          (row.kind == ControlKind::List ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL);
      // A list laid out in a one-line slot still opens far enough to show
      // entries.
      made.height = std::max(row.h, 150);
      break;
    case ControlKind::Track:
      made.name = TRACKBAR_CLASSW;
      made.style |= TBS_HORZ | TBS_NOTICKS | WS_TABSTOP;
      break;
    case ControlKind::Frame:
      made.name = L"BUTTON";
      made.style |= BS_GROUPBOX;
      break;
    case ControlKind::ListBox:
      made.name = L"LISTBOX";
      made.exStyle = WS_EX_CLIENTEDGE;
      // Drawn by the program, which paints each job's state beside its
      // first line; it keeps the lines themselves.
      made.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                    WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
      break;
    case ControlKind::Picture:
      made.style |= SS_BITMAP | SS_REALSIZECONTROL;
      break;
  }
  return made;
}
