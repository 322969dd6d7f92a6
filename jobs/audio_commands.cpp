#include "jobs/audio_commands.h"

#include <cstdint>

#include "core/path_parts.h"
#include "core/text_number.h"
#include "jobs/batch_text.h"
#include "jobs/mux_commands.h"
#include "ui/control_id.h"

std::string AudioFile(const Window& window, int encoder) {
  return std::string(Stem(window.text(cid::output))) + (encoder == 0 ? ".audio.aac" : ".audio.mp4");
}

void AddAudioCommands(Window& window, int encoder) {
  if (encoder < 0 || encoder > 4) return;
  const std::string aub = window.text(cid::aub);
  // Wraps around like the reading itself for absurd texts, without overflow.
  const std::string bps =
      IntegerText(static_cast<std::int64_t>(static_cast<std::uint64_t>(TextToInt(aub)) * 1000u));
  const std::string audio = QuotedPath(AudioFile(window, encoder));
  const std::string decoder =
      "@bepipe.exe --script \"import(^" + DoublePercent(window.text(cid::input)) + "^)\" | ";
  std::string line;
  switch (encoder) {
    case 0:
      line = decoder + "enc_aacplus.exe - " + audio + " --cbr " + bps;
      break;
    case 1:
      line = decoder + "neroaacenc.exe -if - -of " + audio + " -ignorelength -cbr " + bps;
      break;
    case 2:
      line = decoder + "neroaacenc.exe -if - -of " + audio + " -ignorelength -br " + bps;
      break;
    case 3:
      line = decoder + "neroaacenc.exe -if - -of " + audio + " -ignorelength -q " + aub;
      break;
    case 4:
      line = decoder + "faac.exe -b " + aub + " - -o " + audio;
      break;
  }
  window.addItem(cid::jobList, line);
  AddMuxCommands(window, audio);
}
