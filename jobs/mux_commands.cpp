#include "jobs/mux_commands.h"

#include "core/path_parts.h"

namespace {

bool IsMkv(std::string_view path) {
  std::string_view ext = Extension(path);
  return ext.size() == 3 && (ext[0] | 0x20) == 'm' && (ext[1] | 0x20) == 'k' &&
         (ext[2] | 0x20) == 'v';
}

// "@if exist "{file}" {program} ...": the program runs when the file exists.
BatchCommand IfExists(const Arg& file, std::string_view program, ArgList args) {
  BatchCommand command{"@if exist", {file, arg::Program(program)}};
  Append(command.args, args);
  return command;
}

}  // namespace

void AddMuxCommands(const Settings& s, std::string_view audioFile, BatchCommands& commands) {
  // Every file named here is the output or derived from it.
  const Arg audio = arg::Path(std::string(audioFile), cid::output);
  const Arg video = arg::Path(s.output, cid::output);
  const BatchCommand removeAudio{"@if not errorlevel 1", {arg::Program("del"), audio}};
  switch (s.muxer) {
    case Muxer::Mp4Box:
      commands.push_back(
          {"@", {arg::Program("mp4box.exe", ""), arg::Literal("-add"), audio, video}});
      commands.push_back(removeAudio);
      break;
    case Muxer::Mp4Creator: {
      Arg glued = audio;
      glued.before = "";
      commands.push_back(
          {"@", {arg::Program("mp4creator.exe", ""), arg::Literal("-create="), glued, video}});
      commands.push_back(removeAudio);
      break;
    }
    case Muxer::MkvMerge: {
      // An output that is a Matroska file already cannot be its own target:
      // the joined file gets another name and takes the output's place last.
      const bool sameName = IsMkv(s.output);
      const Arg joined =
          arg::Path(std::string(Stem(s.output)) + (sameName ? ".muxed.mkv" : ".mkv"), cid::output);
      commands.push_back(
          {"@", {arg::Program("mkvmerge", ""), arg::Literal("-o"), joined, video, audio}});
      commands.push_back(IfExists(joined, "del", {audio}));
      commands.push_back(IfExists(joined, "del", {video}));
      if (sameName)
        commands.push_back(IfExists(
            joined, "ren", {joined, arg::Path(std::string(FilePart(s.output)), cid::output)}));
      break;
    }
    default:  // No mux, Audio Only
      break;
  }
}
