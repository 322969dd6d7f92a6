#include "support/memory_window.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

MemoryWindow::MemoryWindow() {
  for (const ControlSpec& row : ControlTable()) {
    if (row.id == cid::none) continue;
    if (static_cast<size_t>(row.id) >= controls_.size()) controls_.resize(row.id + 1);
    Control& c = controls_[row.id];
    c.row = &row;
    c.enabled = !row.startsDisabled;
    if (row.startsTicked) c.state = 1;
    switch (row.kind) {
      case ControlKind::List:
      case ControlKind::EditList:
      case ControlKind::ListBox:
        c.state = -1;
        break;
      default:
        c.text = std::string(row.caption);
        break;
    }
  }
}

bool MemoryWindow::has(ControlId id) const {
  return id > 0 && static_cast<size_t>(id) < controls_.size() && controls_[id].row != nullptr;
}

MemoryWindow::Control& MemoryWindow::at(ControlId id) {
  if (!has(id)) throw std::invalid_argument("no control with id " + std::to_string(id));
  return controls_[id];
}

const MemoryWindow::Control& MemoryWindow::at(ControlId id) const {
  if (!has(id)) throw std::invalid_argument("no control with id " + std::to_string(id));
  return controls_[id];
}

bool MemoryWindow::hasItems(const Control& c) {
  return c.row->kind == ControlKind::List || c.row->kind == ControlKind::EditList ||
         c.row->kind == ControlKind::ListBox;
}

std::string MemoryWindow::text(ControlId id) const {
  const Control& c = at(id);
  switch (c.row->kind) {
    case ControlKind::List:
    case ControlKind::ListBox:
      return c.state >= 0 ? c.items[c.state] : std::string();
    case ControlKind::Track:
      return {};
    default:
      return c.text;
  }
}

void MemoryWindow::setText(ControlId id, std::string_view text) {
  Control& c = at(id);
  switch (c.row->kind) {
    case ControlKind::List:
    case ControlKind::ListBox:
    case ControlKind::EditList: {
      auto found = std::find(c.items.begin(), c.items.end(), text);
      c.state = found == c.items.end() ? -1 : static_cast<int>(found - c.items.begin());
      if (c.row->kind == ControlKind::EditList) c.text = std::string(text);
      break;
    }
    case ControlKind::Track:
      break;
    default:
      c.text = std::string(text);
      break;
  }
}

int MemoryWindow::state(ControlId id) const { return at(id).state; }

void MemoryWindow::setState(ControlId id, int value) {
  Control& c = at(id);
  switch (c.row->kind) {
    case ControlKind::Check:
      c.state = value != 0 ? 1 : 0;
      break;
    case ControlKind::Track:
      c.state = std::clamp(value, 0, c.row->trackMax);
      break;
    case ControlKind::List:
    case ControlKind::EditList:
    case ControlKind::ListBox:
      c.state = value >= 0 && value < static_cast<int>(c.items.size()) ? value : -1;
      if (c.row->kind == ControlKind::EditList)
        c.text = c.state >= 0 ? c.items[c.state] : std::string();
      break;
    default:
      break;
  }
}

bool MemoryWindow::enabled(ControlId id) const { return at(id).enabled; }
void MemoryWindow::setEnabled(ControlId id, bool on) { at(id).enabled = on; }
bool MemoryWindow::visible(ControlId id) const { return at(id).visible; }
void MemoryWindow::setVisible(ControlId id, bool on) { at(id).visible = on; }

int MemoryWindow::itemCount(ControlId id) const {
  const Control& c = at(id);
  return hasItems(c) ? static_cast<int>(c.items.size()) : 0;
}

std::string MemoryWindow::item(ControlId id, int index) const {
  const Control& c = at(id);
  if (!hasItems(c) || index < 0 || index >= static_cast<int>(c.items.size())) return {};
  return c.items[index];
}

void MemoryWindow::addItem(ControlId id, std::string_view text) {
  Control& c = at(id);
  if (hasItems(c)) c.items.emplace_back(text);
}

void MemoryWindow::insertItem(ControlId id, int index, std::string_view text) {
  Control& c = at(id);
  if (!hasItems(c)) return;
  if (index < 0 || index > static_cast<int>(c.items.size()))
    index = static_cast<int>(c.items.size());
  c.items.emplace(c.items.begin() + index, text);
  c.notes.resize(c.items.size() - 1);
  c.notes.emplace(c.notes.begin() + index);
  if (c.state >= index) ++c.state;
}

void MemoryWindow::removeItem(ControlId id, int index) {
  Control& c = at(id);
  if (!hasItems(c) || index < 0 || index >= static_cast<int>(c.items.size())) return;
  c.items.erase(c.items.begin() + index);
  c.notes.resize(c.items.size() + 1);
  c.notes.erase(c.notes.begin() + index);
  if (c.state == index)
    c.state = -1;
  else if (c.state > index)
    --c.state;
}

void MemoryWindow::clearItems(ControlId id) {
  Control& c = at(id);
  if (!hasItems(c)) return;
  c.items.clear();
  c.notes.clear();
  c.state = -1;
  if (c.row->kind == ControlKind::EditList) c.text.clear();
}

void MemoryWindow::setItemNote(ControlId id, int index, std::string_view note) {
  Control& c = at(id);
  if (index < 0 || index >= static_cast<int>(c.items.size())) return;
  c.notes.resize(c.items.size());
  c.notes[index] = note;
}

std::string MemoryWindow::itemNote(ControlId id, int index) const {
  const Control& c = at(id);
  if (index < 0 || static_cast<size_t>(index) >= c.notes.size()) return {};
  return c.notes[index];
}

std::string MemoryWindow::type(ControlId id, std::string_view typed) {
  Control& c = at(id);
  std::string result;
  for (char ch : typed) {
    if (c.row->kind == ControlKind::Digits && (ch < '0' || ch > '9')) continue;
    if (c.row->maxLength > 0 && static_cast<int>(result.size()) >= c.row->maxLength) continue;
    result += ch;
  }
  setText(id, result);
  return text(id);
}

void MemoryWindow::post(std::function<void()> task) {
  {
    std::lock_guard lock(posted_->mutex);
    posted_->tasks.push_back(std::move(task));
  }
  posted_->arrived.notify_all();
}

int MemoryWindow::runPosted(int timeoutMs) {
  std::vector<std::function<void()>> tasks;
  {
    std::unique_lock lock(posted_->mutex);
    posted_->arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [this] { return !posted_->tasks.empty(); });
    tasks.swap(posted_->tasks);
  }
  for (const auto& task : tasks) task();
  return static_cast<int>(tasks.size());
}
