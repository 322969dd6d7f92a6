// Commands on the lines of the job list.
#include <optional>
#include <string>

#include "app/app.h"
#include "ui/control_id.h"

namespace {

constexpr std::string_view kDisabledPrefix = "@rem ";

bool StartsWith(const std::string& line, std::string_view prefix) {
  return line.compare(0, prefix.size(), prefix) == 0;
}

bool IsJobStart(const std::string& line) { return StartsWith(line, "@echo."); }
bool IsJobEnd(const std::string& line) { return StartsWith(line, "@echo+"); }

// Puts `text` in place of the line at `index`.
void ReplaceLine(Window& window, int index, const std::string& text) {
  window.insertItem(cid::jobList, index, text);
  window.removeItem(cid::jobList, index + 1);
}

}  // namespace

void App::onView(ControlId, EventKind) {
  const int selected = window_.state(cid::jobList);
  if (selected < 0) return;
  platform_.dialogs.message("The command line parameter is:", window_.item(cid::jobList, selected));
}

void App::onEdit(ControlId, EventKind) {
  const int selected = window_.state(cid::jobList);
  if (selected < 0) return;
  std::optional<std::string> edited =
      platform_.dialogs.inputLine("Edit", "For expert only!", window_.item(cid::jobList, selected));
  // A dismissed box leaves the line as it was.
  if (!edited) return;
  ReplaceLine(window_, selected, *edited);
  window_.setState(cid::jobList, selected);
  recordJobList();
}

void App::onUp(ControlId, EventKind) {
  const int selected = window_.state(cid::jobList);
  if (selected <= 0) return;
  const std::string line = window_.item(cid::jobList, selected);
  window_.insertItem(cid::jobList, selected - 1, line);
  window_.removeItem(cid::jobList, selected + 1);
  window_.setState(cid::jobList, selected - 1);
  recordJobList();
}

void App::onDown(ControlId, EventKind) {
  const int selected = window_.state(cid::jobList);
  if (selected < 0 || selected >= window_.itemCount(cid::jobList) - 1) return;
  const std::string line = window_.item(cid::jobList, selected);
  window_.insertItem(cid::jobList, selected + 2, line);
  window_.removeItem(cid::jobList, selected);
  window_.setState(cid::jobList, selected + 1);
  recordJobList();
}

void App::onDisable(ControlId, EventKind) {
  const int selected = window_.state(cid::jobList);
  if (selected < 0) return;
  const std::string line = window_.item(cid::jobList, selected);
  ReplaceLine(window_, selected,
              StartsWith(line, kDisabledPrefix) ? line.substr(kDisabledPrefix.size())
                                                : std::string(kDisabledPrefix) + line);
  window_.setState(cid::jobList, selected);
  recordJobList();
}

void App::onDelete(ControlId, EventKind) {
  int i = window_.state(cid::jobList);
  if (i < 0) return;
  while (i > 0 && !IsJobStart(window_.item(cid::jobList, i))) --i;
  window_.removeItem(cid::jobList, i);
  while (i < window_.itemCount(cid::jobList) && !IsJobEnd(window_.item(cid::jobList, i)))
    window_.removeItem(cid::jobList, i);
  if (i < window_.itemCount(cid::jobList)) window_.removeItem(cid::jobList, i);
  window_.setState(cid::jobList, -1);
  recordJobList();
}

void App::onClear(ControlId, EventKind) {
  window_.clearItems(cid::jobList);
  recordJobList();
}
