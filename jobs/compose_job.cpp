#include "jobs/compose_job.h"

#include <string>

#include "core/encode_mode.h"
#include "jobs/audio_commands.h"
#include "jobs/batch_text.h"
#include "jobs/pass_command.h"
#include "ui/control_id.h"

namespace {

using namespace encode_mode;

// Selects the mode of a stage and builds its pass.
void AddStage(Window& window, MediaProbe& media, int stage) {
  window.setState(cid::mode, stage);
  AddPassToJobList(window, media);
}

// A first pass at the rate factor of `auto1pcrf`, then the Nth pass at the
// user's `value`.
void AddCrfFirstPassThenNth(Window& window, MediaProbe& media, int firstStage) {
  const std::string value = window.text(cid::value);
  window.setText(cid::value, window.text(cid::auto1pcrf));
  AddStage(window, media, firstStage);
  window.setState(cid::mode, kNthPass);
  window.setText(cid::value, value);
  AddPassToJobList(window, media);
}

void AddConditionalDoublePasses(Window& window, MediaProbe& media) {
  const std::string value = window.text(cid::value);
  window.setText(cid::value, window.text(cid::auto1pcrf));
  window.setState(cid::mode, kFirstPassCrfWithOutput);
  const int audio = window.state(cid::aud);
  window.setState(cid::aud, 0);
  AddPassToJobList(window, media);
  window.setState(cid::aud, audio);
  window.setText(cid::value, value);
  window.addItem(cid::jobList, "@gaugit.exe " + window.text(cid::minsize) + " " +
                                   window.text(cid::maxsize) + " " +
                                   QuotedPath(window.text(cid::output)));
  AddStage(window, media, kConditionalDouble);
}

}  // namespace

void ComposeJob(Window& window, MediaProbe& media) {
  const std::string input = window.text(cid::input);
  const std::string output = window.text(cid::output);
  if (input.empty() || output.empty()) return;

  window.addItem(cid::jobList, "@echo Input:" + QuotedPath(input));
  window.addItem(cid::jobList, "@echo Output:" + QuotedPath(output));
  window.addItem(cid::jobList, "@echo Encode Mode:" + window.text(cid::mode));

  const int mode = window.state(cid::mode);
  if (window.state(cid::muxer) == 4) {  // Audio Only
    AddAudioCommands(window, window.state(cid::ae));
  } else {
    switch (mode) {
      case kAutomatedDouble:
        AddStage(window, media, kFirstPass);
        AddStage(window, media, kNthPass);
        window.setState(cid::mode, mode);
        break;
      case kAutomatedDoubleFast:
        AddStage(window, media, kFirstPassFast);
        AddStage(window, media, kNthPass);
        window.setState(cid::mode, mode);
        break;
      case kAutomatedDoubleCrf:
        AddCrfFirstPassThenNth(window, media, kFirstPassCrf);
        window.setState(cid::mode, mode);
        break;
      case kAutomatedDoubleCrfFast:
        AddCrfFirstPassThenNth(window, media, kFirstPassCrfFast);
        window.setState(cid::mode, mode);
        break;
      case kConditionalDouble:
        AddConditionalDoublePasses(window, media);
        break;
      default:
        AddPassToJobList(window, media);
        break;
    }
  }

  for (ControlId field : {cid::input, cid::output, cid::statsfile, cid::logfile})
    window.setText(field, "");
}
