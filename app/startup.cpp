#include "app/startup.h"

#include "settings/fixed_lists.h"
#include "ui/control_id.h"

void FillFixedLists(Window& window) {
  for (const FixedList& list : FixedLists()) {
    for (std::string_view entry : list.entries) window.addItem(list.id, entry);
    if (list.selected >= 0) window.setState(list.id, list.selected);
  }
}

void SetInitialStates(Window& window) {
  using namespace cid;
  for (ControlId id : {upstat, a1, a2, a3, a5, a6, ba, bwb, chromame, cab, fil})
    window.setState(id, 1);
  for (ControlId id : {upstat, statsfileBrowse, statsfile, mxref, vbr, minqp, maxqp, qps, aub, aq1})
    window.setEnabled(id, false);
  window.setState(biasbar, 100);
  window.setState(deb_a, 6);
  window.setState(deb_b, 6);
  for (ControlId id : {auto1pcrf, auto1pcrfLabel, sizemode}) window.setVisible(id, false);
}
