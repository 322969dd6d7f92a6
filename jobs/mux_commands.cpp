#include "jobs/mux_commands.h"

#include "core/path_parts.h"
#include "jobs/batch_line.h"

namespace {

bool IsMkv(std::string_view path) {
  std::string_view ext = Extension(path);
  return ext.size() == 3 && (ext[0] | 0x20) == 'm' && (ext[1] | 0x20) == 'k' &&
         (ext[2] | 0x20) == 'v';
}

}  // namespace

void AddMuxCommands(const Settings& s, std::string_view audioFile,
                    std::vector<std::string>& lines) {
  // Every file named here is the output or derived from it.
  const Arg audio = arg::Path(std::string(audioFile), cid::output);
  const Arg video = arg::Path(s.output, cid::output);
  switch (s.muxer) {
    case Muxer::Mp4Box:
      lines.push_back(BatchLine("@mp4box.exe", {arg::Literal("-add"), audio, video}));
      lines.push_back(BatchLine("@if not errorlevel 1 del", {audio}));
      break;
    case Muxer::Mp4Creator: {
      Arg glued = audio;
      glued.before = "";
      lines.push_back(BatchLine("@mp4creator.exe", {arg::Literal("-create="), glued, video}));
      lines.push_back(BatchLine("@if not errorlevel 1 del", {audio}));
      break;
    }
    case Muxer::MkvMerge: {
      // An output that is a Matroska file already cannot be its own target:
      // the joined file gets another name and takes the output's place last.
      const bool sameName = IsMkv(s.output);
      const Arg joined =
          arg::Path(std::string(Stem(s.output)) + (sameName ? ".muxed.mkv" : ".mkv"), cid::output);
      lines.push_back(BatchLine("@mkvmerge", {arg::Literal("-o"), joined, video, audio}));
      lines.push_back(BatchLine("@if exist", {joined, arg::Literal("del"), audio}));
      lines.push_back(BatchLine("@if exist", {joined, arg::Literal("del"), video}));
      if (sameName)
        lines.push_back(
            BatchLine("@if exist", {joined, arg::Literal("ren"), joined,
                                    arg::Path(std::string(FilePart(s.output)), cid::output)}));
      break;
    }
    default:  // No mux, Audio Only
      break;
  }
}
