#include "app/app.h"

#include "app/startup.h"
#include "settings/control_rules.h"
#include "ui/control_id.h"

App::App(Window& window, Platform platform, int encoderTimeLimitMs)
    : window_(window),
      platform_(platform),
      messages_{window, platform.dialogs, platform.files},
      settings_(window, platform.files),
      encoders_(
          platform.encoders,
          [&window](std::function<void()> task) { window.post(std::move(task)); },
          encoderTimeLimitMs),
      background_([&window](std::function<void()> task) { window.post(std::move(task)); }),
      room_(platform.files, platform.processes),
      watch_(window, room_, list_, messages_),
      view_(window, list_),
      journal_(platform.files, list_, messages_),
      queue_({window, platform.files, platform.dialogs, platform.media, encoders_, list_, marks_,
              messages_}),
      listCommands_(window, platform.dialogs, list_),
      steer_(platform.files, room_, watch_, messages_),
      scriptCommands_({settings_, platform.files, platform.dialogs, platform.processes, encoders_,
                       room_, watch_, list_, messages_,
                       [&window](std::function<void()> task) { window.post(std::move(task)); },
                       [this] { return steer_.jobsAtOnce(); }}),
      presets_(window, settings_, platform.files, platform.dialogs, messages_),
      routes_(routes()) {
  list_.addObserver(view_);
  list_.addObserver(journal_);
  list_.addObserver(marks_);
  // The states beside the jobs follow the lines the view has shown.
  list_.addObserver(watch_);
}

std::vector<App::Route> App::routes() {
  using namespace cid;
  return {
      {statsfileBrowse, [this] { queue_.chooseStatsfile(); }},
      {batchAdding, [this] { queue_.batchAdding(); }},
      {inputBrowse, [this] { queue_.chooseInput(); }},
      {outputBrowse, [this] { queue_.chooseOutput(); }},
      {loadDefault, [this] { presets_.loadDefault(); }},
      {clear, [this] { listCommands_.clear(); }},
      {disable, [this] { listCommands_.disable(); }},
      {makeBat, [this] { scriptCommands_.makeBat(); }},
      {add, [this] { queue_.add(); }},
      {cid::start, [this] { scriptCommands_.start(); }},
      {up, [this] { listCommands_.up(); }},
      {down, [this] { listCommands_.down(); }},
      {edit, [this] { listCommands_.edit(); }},
      {view, [this] { listCommands_.view(); }},
      {refresh, [this] { presets_.refresh(); }},
      {savePreset, [this] { presets_.save(); }},
      {loadPreset, [this] { presets_.load(); }},
      {shut, [this] { scriptCommands_.shut(); }},
      {cqm, [this] { presets_.quantMatrix(); }},
      {logfileBrowse, [this] { queue_.chooseLogfile(); }},
      {del, [this] { listCommands_.remove(); }},
  };
}

void App::start() {
  FillFixedLists(window_);
  settings_.refreshPresetLists();
  settings_.loadMainSettings();
}

void App::onShown() {
  // What the window does not need to appear is done once it has: asking the
  // encoder (on another thread), taking the job list journal, removing what
  // an ended program's writes left.
  encoders_.start();
  journal_.claim();
  RemoveLeftovers(platform_.files);
  RestoreJobList(journal_, list_, messages_);
  watch_.pickUp();
  presets_.askRequestedMatrix();
}

void App::onEvent(ControlId id, EventKind kind) {
  // The rules that keep dependent controls consistent come first; the
  // commands take the rest.
  if (ApplyControlRule(window_, id, kind)) return;
  for (const Route& route : routes_)
    if (route.id == id) return route.command();
}

void App::onEncoderInfo() {
  // Where the batch finds each program is looked for along PATH, away from
  // the window's thread.
  encoders_.askUnlessKnown();
  encoders_.whenKnown([this](const EncoderInfo& encoder) {
    background_.run<std::string>(
        [encoder, &processes = platform_.processes, folder = platform_.files.programFolder()] {
          return EncoderReport(encoder, processes, folder);
        },
        [this](std::string report) { platform_.dialogs.message("x264 for the jobs", report); });
  });
}

void App::onClose() {
  steer_.closing();
  onEndSession();
  journal_.discard();
}

void App::onEndSession() {
  if (!settings_.saveMainSettings()) messages_.writeFailure(settings_.mainSettingsPath());
}
