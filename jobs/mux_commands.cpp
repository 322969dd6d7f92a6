#include "jobs/mux_commands.h"

#include "core/path_parts.h"
#include "jobs/job_line.h"

namespace {

bool IsMkv(std::string_view path) {
  std::string_view ext = Extension(path);
  return ext.size() == 3 && (ext[0] | 0x20) == 'm' && (ext[1] | 0x20) == 'k' &&
         (ext[2] | 0x20) == 'v';
}

}  // namespace

void AddMuxCommands(const Settings& s, std::string_view audioFile, BatchCommands& commands) {
  // Every file named here is the output or derived from it.
  const Arg audio = arg::Path(std::string(audioFile), cid::output);
  const Arg video = arg::Path(s.output, cid::output);
  // The audio goes only after the muxer's 0 of this run: a crash (a
  // negative code) is no success either.
  const BatchCommand removeAudio{std::string(kAfterSuccess), {arg::Program("del"), audio}};
  switch (s.muxer) {
    case Muxer::Mp4Box:
      commands.push_back(
          {"@", {arg::Program(programs::kMp4Box, ""), arg::Literal("-add"), audio, video}});
      commands.push_back(removeAudio);
      break;
    case Muxer::Mp4Creator: {
      Arg glued = audio;
      glued.before = "";
      commands.push_back(
          {"@", {arg::Program(programs::kMp4Creator, ""), arg::Literal("-create="), glued, video}});
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
          {"@", {arg::Program(programs::kMkvMerge, ""), arg::Literal("-o"), joined, video, audio}});
      // mkvmerge ends with 0 when it joined the files, 1 when it joined them
      // with warnings the user should look at, 2 when it wrote nothing. Only
      // its 0 in this run lets the sources go: a joined file that an earlier
      // run left proves nothing.
      commands.push_back({std::string(kAfterSuccess), {arg::Program("del"), audio, video}});
      // The rename needs that 0 too, and the output gone. After a failed
      // join the code is still mkvmerge's (a false "if" leaves it as it was);
      // after the deletion it is 0 (Wine's interpreter sets 0, Windows' keeps
      // it), and were it not, the joined file would only keep its own name.
      if (sameName)
        commands.push_back({std::string(kAfterSuccess) + " if not exist",
                            {video, arg::Program("ren"), joined,
                             arg::Path(std::string(FilePart(s.output)), cid::output)}});
      break;
    }
    default:  // No mux, Audio Only
      break;
  }
}
