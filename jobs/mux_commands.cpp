#include "jobs/mux_commands.h"

#include <string>

#include "core/path_parts.h"
#include "jobs/batch_text.h"
#include "ui/control_id.h"

namespace {

bool IsMkv(std::string_view path) {
  std::string_view ext = Extension(path);
  return ext.size() == 3 && (ext[0] | 0x20) == 'm' && (ext[1] | 0x20) == 'k' &&
         (ext[2] | 0x20) == 'v';
}

}  // namespace

void AddMuxCommands(Window& window, std::string_view quotedAudio) {
  const std::string output = window.text(cid::output);
  const std::string audio(quotedAudio);
  const std::string video = QuotedPath(output);
  auto append = [&](const std::string& line) { window.addItem(cid::jobList, line); };
  switch (window.state(cid::muxer)) {
    case 0:  // MP4Box
      append("@mp4box.exe -add " + audio + " " + video);
      append("@if not errorlevel 1 del " + audio);
      break;
    case 1:  // MP4Creator
      append("@mp4creator.exe -create=" + audio + " " + video);
      append("@if not errorlevel 1 del " + audio);
      break;
    case 2: {  // MKVMerge
      // An output that is a Matroska file already cannot be its own target:
      // the joined file gets another name and takes the output's place last.
      const bool sameName = IsMkv(output);
      const std::string joined =
          QuotedPath(std::string(Stem(output)) + (sameName ? ".muxed.mkv" : ".mkv"));
      append("@mkvmerge -o " + joined + " " + video + " " + audio);
      append("@if exist " + joined + " del " + audio);
      append("@if exist " + joined + " del " + video);
      if (sameName)
        append("@if exist " + joined + " ren " + joined + " " + QuotedPath(FilePart(output)));
      break;
    }
    default:  // No mux, Audio Only
      break;
  }
}
