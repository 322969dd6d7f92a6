#include "app/job_list_view.h"

#include "ui/control_id.h"

namespace {

// More lines than this in one change are shown with the list box's drawing
// paused: it draws once at the end.
constexpr size_t kLinesDrawnOneByOne = 8;

}  // namespace

void JobListView::onChange(const JobListChange& change) {
  const ControlId box = cid::jobList;
  const bool many = change.lines.size() > kLinesDrawnOneByOne || change.count > kLinesDrawnOneByOne;
  if (many) window_.setRedraw(box, false);
  switch (change.kind) {
    case JobListChange::Kind::Insert: {
      const bool atEnd = change.at + change.lines.size() == list_.size();
      for (size_t i = 0; i < change.lines.size(); ++i) {
        if (atEnd)
          window_.addItem(box, change.lines[i]);
        else
          window_.insertItem(box, static_cast<int>(change.at + i), change.lines[i]);
      }
      break;
    }
    case JobListChange::Kind::Remove:
      for (size_t i = 0; i < change.count; ++i)
        window_.removeItem(box, static_cast<int>(change.at));
      break;
    case JobListChange::Kind::Replace:
    case JobListChange::Kind::Swap: {
      const size_t last = change.kind == JobListChange::Kind::Swap ? change.at + 1 : change.at;
      for (size_t at = change.at; at <= last; ++at) {
        window_.insertItem(box, static_cast<int>(at), list_[at]);
        window_.removeItem(box, static_cast<int>(at) + 1);
      }
      break;
    }
    case JobListChange::Kind::Clear:
      window_.clearItems(box);
      break;
  }
  if (many) window_.setRedraw(box, true);
}
