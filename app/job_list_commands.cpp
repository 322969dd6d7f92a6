#include "app/job_list_commands.h"

#include <optional>
#include <string>

#include "ui/control_id.h"

std::optional<size_t> JobListCommands::selected() const {
  const int index = window_.state(cid::jobList);
  if (index < 0 || static_cast<size_t>(index) >= list_.size()) return std::nullopt;
  return static_cast<size_t>(index);
}

void JobListCommands::select(int index) { window_.setState(cid::jobList, index); }

void JobListCommands::view() {
  if (std::optional<size_t> line = selected())
    dialogs_.message("The command line parameter is:", list_[*line]);
}

void JobListCommands::edit() {
  const std::optional<size_t> line = selected();
  if (!line) return;
  const std::optional<std::string> edited =
      dialogs_.inputLine("Edit", "For expert only!", list_[*line]);
  // A dismissed box leaves the line as it was.
  if (!edited) return;
  list_.replace(*line, *edited);
  select(static_cast<int>(*line));
}

void JobListCommands::up() {
  const std::optional<size_t> line = selected();
  if (!line || *line == 0) return;
  list_.swap(*line - 1);
  select(static_cast<int>(*line) - 1);
}

void JobListCommands::down() {
  const std::optional<size_t> line = selected();
  if (!line || *line + 1 >= list_.size()) return;
  list_.swap(*line);
  select(static_cast<int>(*line) + 1);
}

void JobListCommands::disable() {
  const std::optional<size_t> line = selected();
  if (!line) return;
  list_.toggleDisabled(*line);
  select(static_cast<int>(*line));
}

void JobListCommands::remove() {
  const std::optional<size_t> line = selected();
  if (!line) return;
  list_.removeJobAround(*line);
  select(-1);
}

void JobListCommands::clear() { list_.clear(); }
