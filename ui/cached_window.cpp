#include "ui/cached_window.h"

#include "ui/control_table.h"

namespace {

// Controls whose text is nothing but their text: keeping a change to it
// back changes nothing else.
bool KeepsTextBack(ControlId id) {
  const ControlSpec* row = FindControl(id);
  return row && (row->kind == ControlKind::Field || row->kind == ControlKind::Digits ||
                 row->kind == ControlKind::Label);
}

bool KeepsStateBack(ControlId id) {
  const ControlSpec* row = FindControl(id);
  return row && row->kind == ControlKind::Check;
}

}  // namespace

CachedWindow::~CachedWindow() {
  try {
    flush();
  } catch (...) {
    // A control that went away cannot take its text any more.
  }
}

void CachedWindow::flush() {
  for (size_t id = 0; id < entries_.size(); ++id) {
    Entry& e = entries_[id];
    if (e.textChanged) window_.setText(static_cast<ControlId>(id), *e.text);
    if (e.stateChanged) window_.setState(static_cast<ControlId>(id), *e.state);
    e.textChanged = e.stateChanged = false;
  }
}

CachedWindow::Entry& CachedWindow::entry(ControlId id) const {
  if (id >= static_cast<int>(entries_.size())) entries_.resize(static_cast<size_t>(id) + 1);
  return entries_[static_cast<size_t>(id)];
}

void CachedWindow::forget(ControlId id) {
  if (id >= 0 && id < static_cast<int>(entries_.size())) {
    Entry& e = entries_[static_cast<size_t>(id)];
    if (!e.textChanged) e.text.reset();
    if (!e.stateChanged) e.state.reset();
  }
}

std::string CachedWindow::text(ControlId id) const {
  if (id < 0) return window_.text(id);
  Entry& e = entry(id);
  if (!e.text) e.text = window_.text(id);
  return *e.text;
}

void CachedWindow::setText(ControlId id, std::string_view text) {
  if (id > 0 && KeepsTextBack(id)) {
    Entry& e = entry(id);
    e.text = std::string(text);
    e.textChanged = true;
    return;
  }
  window_.setText(id, text);
  forget(id);
}

int CachedWindow::state(ControlId id) const {
  if (id < 0) return window_.state(id);
  Entry& e = entry(id);
  if (!e.state) e.state = window_.state(id);
  return *e.state;
}

void CachedWindow::setState(ControlId id, int value) {
  if (id > 0 && KeepsStateBack(id)) {
    Entry& e = entry(id);
    e.state = value != 0 ? 1 : 0;
    e.stateChanged = true;
    return;
  }
  window_.setState(id, value);
  forget(id);
}

void CachedWindow::addItem(ControlId id, std::string_view text) {
  window_.addItem(id, text);
  forget(id);
}

void CachedWindow::insertItem(ControlId id, int index, std::string_view text) {
  window_.insertItem(id, index, text);
  forget(id);
}

void CachedWindow::removeItem(ControlId id, int index) {
  window_.removeItem(id, index);
  forget(id);
}

void CachedWindow::clearItems(ControlId id) {
  window_.clearItems(id);
  forget(id);
}
