#include "app/app.h"

#include "app/startup.h"
#include "settings/control_rules.h"
#include "ui/control_id.h"

App::App(Window& window, Platform platform, int encoderTimeLimitMs)
    : window_(window),
      platform_(platform),
      messages_{window, platform.dialogs, platform.files},
      settings_(window, platform.files, platform.dialogs),
      encoders_(
          platform.encoders,
          [&window](std::function<void()> task) { window.post(std::move(task)); },
          encoderTimeLimitMs),
      watch_(window, platform.files, platform.processes, messages_),
      view_(window, list_),
      journal_(platform.files, list_, messages_),
      queue_({window, platform.files, platform.dialogs, platform.media, encoders_, list_, marks_,
              messages_}),
      listCommands_(window, platform.dialogs, list_),
      scriptCommands_(settings_, platform.files, platform.dialogs, platform.processes, encoders_,
                      watch_, list_, messages_),
      presets_(window, settings_, platform.files, platform.dialogs, messages_),
      routes_(routes()) {
  list_.addObserver(view_);
  list_.addObserver(journal_);
  list_.addObserver(marks_);
}

std::vector<App::Route> App::routes() {
  using namespace cid;
  auto clicked = [](auto command) { return [command](ControlId, EventKind) { command(); }; };
  return {
      {{statsfileBrowse}, clicked([this] { queue_.chooseStatsfile(); })},
      {{batchAdding}, clicked([this] { queue_.batchAdding(); })},
      {{inputBrowse}, clicked([this] { queue_.chooseInput(); })},
      {{outputBrowse}, clicked([this] { queue_.chooseOutput(); })},
      {{loadDefault}, clicked([this] { presets_.loadDefault(); })},
      {{clear}, clicked([this] { listCommands_.clear(); })},
      {{disable}, clicked([this] { listCommands_.disable(); })},
      {{makeBat}, clicked([this] { scriptCommands_.makeBat(); })},
      {{add}, clicked([this] { queue_.add(); })},
      {{cid::start}, clicked([this] { scriptCommands_.start(); })},
      {{up}, clicked([this] { listCommands_.up(); })},
      {{down}, clicked([this] { listCommands_.down(); })},
      {{edit}, clicked([this] { listCommands_.edit(); })},
      {{view}, clicked([this] { listCommands_.view(); })},
      {{refresh}, clicked([this] { presets_.refresh(); })},
      {{savePreset}, clicked([this] { presets_.save(); })},
      {{loadPreset}, clicked([this] { presets_.load(); })},
      {{shut}, clicked([this] { scriptCommands_.shut(); })},
      {{cqm}, clicked([this] { presets_.quantMatrix(); })},
      {{logfileBrowse}, clicked([this] { queue_.chooseLogfile(); })},
      {{del}, clicked([this] { listCommands_.remove(); })},
  };
}

void App::start() {
  FillFixedLists(window_);
  settings_.RefreshPresetLists();
  settings_.LoadMainSettings();
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
  settings_.AskDeferredMatrix();
}

void App::onEvent(ControlId id, EventKind kind) {
  // The rules that keep dependent controls consistent come first; the
  // commands take the rest.
  if (ApplyControlRule(window_, id, kind)) return;
  for (const Route& route : routes_)
    for (ControlId routed : route.ids)
      if (routed == id) return route.handler(id, kind);
}

void App::onEncoderInfo() {
  encoders_.tell(platform_.dialogs, platform_.processes, platform_.files.programFolder());
}

void App::onClose() {
  onEndSession();
  journal_.discard();
}

void App::onEndSession() {
  if (!settings_.SaveMainSettings()) messages_.writeFailure(settings_.MainSettingsPath());
}
