#include "ui/cached_window.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "ui/control_id.h"
#include "ui/memory_window.h"

namespace {

// Counts the reads that reach the window behind the cache.
class CountingWindow final : public Window {
 public:
  std::string text(ControlId id) const override {
    ++textReads;
    return inner.text(id);
  }
  void setText(ControlId id, std::string_view t) override {
    ++writes;
    inner.setText(id, t);
  }
  int state(ControlId id) const override {
    ++stateReads;
    return inner.state(id);
  }
  void setState(ControlId id, int v) override {
    ++writes;
    inner.setState(id, v);
  }
  bool enabled(ControlId id) const override { return inner.enabled(id); }
  void setEnabled(ControlId id, bool on) override { inner.setEnabled(id, on); }
  bool visible(ControlId id) const override { return inner.visible(id); }
  void setVisible(ControlId id, bool on) override { inner.setVisible(id, on); }
  int itemCount(ControlId id) const override { return inner.itemCount(id); }
  std::string item(ControlId id, int i) const override { return inner.item(id, i); }
  void addItem(ControlId id, std::string_view t) override { inner.addItem(id, t); }
  void insertItem(ControlId id, int i, std::string_view t) override { inner.insertItem(id, i, t); }
  void removeItem(ControlId id, int i) override { inner.removeItem(id, i); }
  void clearItems(ControlId id) override { inner.clearItems(id); }

  MemoryWindow inner;
  mutable int textReads = 0;
  mutable int stateReads = 0;
  int writes = 0;
};

}  // namespace

TEST(CachedWindow, ReadsEachControlFromTheWindowOnce) {
  CountingWindow window;
  CachedWindow cached(window);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(cached.text(cid::value), "26");
    EXPECT_EQ(cached.state(cid::a1), 0);
  }
  EXPECT_EQ(window.textReads, 1);
  EXPECT_EQ(window.stateReads, 1);
}

TEST(CachedWindow, KeepsFieldAndCheckChangesUntilFlushed) {
  CountingWindow window;
  {
    CachedWindow cached(window);
    cached.setText(cid::input, "D:\\a.avs");
    cached.setText(cid::input, "D:\\b.avs");
    cached.setState(cid::aud, 1);
    EXPECT_EQ(cached.text(cid::input), "D:\\b.avs");
    EXPECT_EQ(cached.state(cid::aud), 1);
    EXPECT_EQ(window.inner.text(cid::input), "") << "not yet in the window";
    EXPECT_EQ(window.writes, 0);
    cached.flush();
    EXPECT_EQ(window.inner.text(cid::input), "D:\\b.avs");
    EXPECT_EQ(window.inner.state(cid::aud), 1);
    EXPECT_EQ(window.writes, 2) << "only the last text of a field is written";
    cached.setText(cid::output, "E:\\out.mp4");
  }
  EXPECT_EQ(window.inner.text(cid::output), "E:\\out.mp4") << "the end of the cache flushes it";
}

TEST(CachedWindow, ListChangesReachTheWindowAtOnceAndAreReadAgain) {
  CountingWindow window;
  FillFixedLists(window.inner);
  CachedWindow cached(window);
  EXPECT_EQ(cached.text(cid::mode), "Single Pass - Quantizer");
  cached.setState(cid::mode, 12);
  EXPECT_EQ(window.inner.state(cid::mode), 12);
  EXPECT_EQ(cached.text(cid::mode), "Mutipass - First Pass(CRF with output)");
  cached.addItem(cid::jobList, "@echo.");
  EXPECT_EQ(window.inner.itemCount(cid::jobList), 1);
  cached.setText(cid::cqm, "jvt");
  EXPECT_EQ(window.inner.state(cid::cqm), 1) << "an edit-list selects the entry at once";
}
