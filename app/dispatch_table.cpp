#include "app/dispatch_table.h"

#include "ui/control_id.h"

std::span<const DispatchRoute> DispatchTable::Routes() {
  using namespace cid;
  static const DispatchRoute routes[] = {
      {{deb_a, deb_b, biasbar}, &App::onTrackBar},
      {{bias}, &App::onBiasField},
      {{value}, &App::onValueField},
      {{mode}, &App::onModeControls},
      {{statsfileBrowse}, &App::onStatsfileBrowse},
      {{kfb, bfr, vbr, minqp, maxqp, qps}, &App::onClampedField},
      {{a1, a2}, &App::onPartitionCheck},
      {{mb}, &App::onMaxBFrames},
      {{ref, thr, range}, &App::onReferenceFields},
      {{cab}, &App::onCabac},
      {{batchAdding}, &App::onBatchAdding},
      {{inputBrowse}, &App::onInputBrowse},
      {{outputBrowse}, &App::onOutputBrowse},
      {{sct}, &App::onClampedField},
      {{loadDefault}, &App::onLoadDefault},
      {{clear}, &App::onClear},
      {{disable}, &App::onDisable},
      {{makeBat}, &App::onMakeBat},
      {{add}, &App::onAdd},
      {{start}, &App::onStart},
      {{up}, &App::onUp},
      {{down}, &App::onDown},
      {{edit}, &App::onEdit},
      {{view}, &App::onView},
      {{refresh}, &App::onRefresh},
      {{savePreset}, &App::onSavePreset},
      {{loadPreset}, &App::onLoadPreset},
      {{aud}, &App::onAudioSwitch},
      {{shut}, &App::onShut},
      {{sizemode}, &App::onModeControls},
      {{cqm}, &App::onQuantMatrix},
      {{logfileBrowse}, &App::onLogfileBrowse},
      {{crelog}, &App::onLogfileSwitch},
      {{vbs, vmb, vib, bv}, &App::onClampedField},
      {{del}, &App::onDelete},
      {{aq}, &App::onAqMode},
      {{aq1}, &App::onClampedField},
      {{ba}, &App::onAdaptiveBFrames},
  };
  return routes;
}

App::Handler DispatchTable::Find(ControlId id) {
  for (const DispatchRoute& route : Routes())
    for (ControlId routed : route.ids)
      if (routed == id) return route.handler;
  return nullptr;
}
