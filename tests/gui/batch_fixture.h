#pragma once

// The real program in this process, with scripted requesters and the
// stand-in x264 (tests/standin) in the "tools" folder beside it, starting
// batches through Wine's command interpreter: what the tests of started
// batches share.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/program.h"
#include "gui/gui_support.h"
#include "support/memory_platform.h"

// Ends a process and every process it started, the way a closed console
// or a power cut ends a batch.
void KillTree(DWORD root);

// Chooses entries of a window's system menu by their access keys, as a user
// does after Alt+Space: each key chooses an entry of the menu open last (the
// key of a submenu opens it). The menu runs on this thread, which returns
// once it has closed; the keys come from another.
void ChooseFromSystemMenu(HWND window, std::wstring_view keys);

// When a run of the stand-in began and ended (STANDIN_TIMES), in
// milliseconds; `end` is 0 for a run that did not end.
struct StandInRun {
  std::string program;
  std::string argument;  // its last
  unsigned long long begin = 0;
  unsigned long long end = 0;
};

class BatchFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND control(ControlId id) { return program->window().control(id); }
  std::string title() const;
  // Waits, handling the window's messages, until `condition` holds.
  bool pumpUntil(const std::function<bool()>& condition, int timeoutMs = 30000);
  // Queues a job of the chosen settings for work\NAME.avs, which exists
  // unless `missing`.
  void queue(const std::string& name, bool missing = false);
  // Waits until no batch this process started runs any more.
  bool waitForTheEnd();
  std::vector<StandInRun> runs() const;
  // The stand-in's times and the batches' records, to tell what went wrong.
  std::string whatRan() const;
  // How many runs of x264 ran at the same time, at most.
  static size_t MostAtOnce(const std::vector<StandInRun>& runs);

  std::wstring bin;
  std::wstring tools;
  std::wstring work;
  FakeDialogs dialogs;
  std::unique_ptr<Program> program;

 private:
  void forgetBatches();
};
